"""Notes that come from outside: shared files and the clipboard."""
import os

from quillet_desktop import SCREEN_W, DesktopTest, make_record, ole_now, wait_until, write_data_file


class Foreign(DesktopTest):
    def import_typing(self, name):
        """Note List, File, Import, the name typed into the Open dialog; returns the list."""
        lst = self.d.from_tray("l", "^Quillet Note List$")
        self.d.key("alt+f")
        self.d.menu()
        self.d.key("i")
        picker = wait_until(lambda: [w for w in self.d.quillet_windows() if w != lst and self.d.title(w) != "Quillet"
                                     and not self.d.title(w).startswith("Quillet0")], "the file dialog")[0]
        wait_until(lambda: self.d.focus_is_in(picker), "the file dialog to take the keyboard")
        self.d.type(name)
        self.d.key("Return")
        return lst

    def test_importing_a_shared_note_asks_before_it_may_run_a_program(self):
        marker = os.path.join(self.d.home, "ran")
        shared = os.path.join(self.d.home, "shared.qln")
        write_data_file(shared, [make_record("from a stranger", (400, 300, 200, 80), alarm=ole_now(-60),
                                             alarm_action=2, alarm_exec="/usr/bin/touch " + marker)])
        self.d.write_notes([make_record("mine", (100, 100, 200, 80))])
        self.d.start()
        lst = self.import_typing(shared)
        box = self.d.message_box("The notes from %s would start these programs" % shared)
        self.assertIn("/usr/bin/touch " + marker, self.d.messages()[-1])
        self.d.press_in(box, "Return")  # No is the default
        notes = self.d.wait_notes(lambda n: len(n) == 2, "the imported note on disk")
        self.assertEqual(notes[1].alarm_action, 0)
        self.d.press_in(lst, "Escape")
        self.d.no_window("^Quillet Note List$")
        # The alarm still rings, as a message; nothing was started.
        self.d.window("^Quillet Alarm$", "the imported note's alarm")
        self.assertFalse(os.path.exists(marker))

    def test_a_corrupt_import_is_told_on_top_of_the_note_list(self):
        broken = os.path.join(self.d.home, "broken.qln")
        with open(broken, "wb") as f:
            f.write(b"Quillet\0" + bytes([10, 0, 3, 0]) + b"cut off")
        self.d.start()
        lst = self.import_typing(broken)
        box = self.d.message_box("")
        stacking = self.d.x(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"]).split("#", 1)[1]
        order = [int(w, 16) for w in stacking.replace(",", " ").split()]
        self.assertIn(box, order)
        self.assertGreater(order.index(box), order.index(lst), "the box is above the list")
        self.d.press_in(box, "Return")
        self.d.press_in(lst, "Escape")
        self.d.no_window("^Quillet Note List$")

    def test_a_pasted_linux_text_gets_note_lines_and_copy_gives_linux_lines_back(self):
        self.d.start()
        self.d.set_clipboard("one\ntwo")
        self.d.tray_menu()
        self.d.key("p")  # Paste Note
        notes = self.d.wait_notes(lambda n: len(n) == 1, "the pasted note on disk")
        self.assertEqual(notes[0].raw[:9], b"one\r\ntwo\0")
        w = self.d.note_window("one")
        self.assertEqual(self.d.title(w), "Quillet0000 - one")
        # Keypad minus shrinks the note to its first line.
        height = self.d.geometry(w)[3]
        self.d.click(*self.d.center(w))
        self.d.key("KP_Subtract")
        wait_until(lambda: self.d.geometry(w)[3] < height, "the note minimised to its first line")
        # Copy from the note's menu: other programs get LF lines.
        self.d.click(*self.d.center(w), button=3)
        self.d.menu()
        self.d.key("c")
        wait_until(lambda: self.d.clipboard() == "one\ntwo", "the note's text on the clipboard with LF lines")

    def test_a_pasted_long_line_wraps_within_the_screen(self):
        self.d.start()
        text = " ".join("word%03d" % i for i in range(250))  # about 2,000 bytes on one line
        self.d.set_clipboard(text)
        self.d.tray_menu()
        self.d.key("p")  # Paste Note
        notes = self.d.wait_notes(lambda n: len(n) == 1, "the pasted note on disk")
        # Pasting may break lines by the format rule; every word is kept.
        self.assertEqual(notes[0].text.replace("\r\n", " "), text)
        x, y, w, h = notes[0].rect
        self.assertGreaterEqual(x, 0)
        self.assertLessEqual(x + w, SCREEN_W)
        wx, wy, ww, wh = self.d.geometry(self.d.note_window("word000"))
        self.assertGreaterEqual(wx, 0)
        self.assertLessEqual(wx + ww, SCREEN_W)
        self.assertEqual((wx, wy), (x, y))

    def test_the_first_import_starts_in_the_home_folder(self):
        # A bare file name typed into the first Open dialog is looked for at home.
        write_data_file(os.path.join(self.d.home, "shared.qln"), [make_record("from home", (400, 300, 200, 80))])
        self.d.start()
        self.import_typing("shared.qln")
        self.d.wait_notes(lambda n: [x.text for x in n] == ["from home"], "the imported note on disk")
