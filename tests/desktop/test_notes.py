"""Making, editing, moving, sizing and deleting notes with mouse and keys."""
from quillet_desktop import SCREEN_H, SCREEN_W, DesktopTest, make_record, wait_until


class Notes(DesktopTest):
    def test_new_note_from_the_tray_menu_is_written_and_shown(self):
        self.d.start()
        self.d.tray_menu()
        self.d.key("n")
        editor = self.d.editor()
        self.d.key("ctrl+a")
        self.d.type("buy milk")
        self.d.key("ctrl+Return")
        notes = self.d.wait_notes(lambda n: len(n) == 1, "one note on disk")
        self.assertEqual(notes[0].text, "buy milk")
        w = self.d.note_window("buy milk")
        x, y, width, height = self.d.geometry(w)
        self.assertEqual((x, y), tuple(notes[0].rect[:2]))

    def test_a_double_click_on_the_tray_icon_makes_a_new_note(self):
        self.d.start()
        x, y = self.d.tray_point()
        self.d.double_click(x, y)
        editor = self.d.editor()
        self.d.key("ctrl+a")
        self.d.type("from the tray")
        self.d.key("ctrl+Return")
        self.d.wait_notes(lambda n: [x.text for x in n] == ["from the tray"], "the note on disk")

    def test_editing_in_place_keeps_the_note_where_it_was(self):
        self.d.write_notes([make_record("first draft", (300, 250, 200, 80))])
        self.d.start()
        editor = self.d.open_editor("first draft")
        self.d.key("ctrl+a")
        self.d.type("second draft")
        self.d.key("ctrl+Return")
        notes = self.d.wait_notes(lambda n: n[0].text == "second draft", "the edited text on disk")
        self.assertEqual(notes[0].rect[:2], (300, 250))
        self.d.no_window("^Quillet Editor$")
        self.assertEqual(self.d.geometry(self.d.note_window("second draft"))[:2], (300, 250))

    def replace_text_of_a_note_at(self, place, text, first_word):
        """A note at place whose text is replaced by pasting; returns the notes on disk."""
        self.d.write_notes([make_record("short", place + (200, 80))])
        self.d.start()
        self.d.open_editor("short")
        self.d.set_clipboard(text)
        self.d.key("ctrl+a")
        self.d.key("ctrl+v")
        self.d.key("ctrl+Return")
        return self.d.wait_notes(lambda n: n[0].text.startswith(first_word), "the new text on disk")

    def test_a_long_line_wraps_within_the_screen_and_the_note_stays_put(self):
        notes = self.replace_text_of_a_note_at((200, 200), " ".join("word%03d" % i for i in range(120)), "word000")
        x, y, w, h = notes[0].rect
        self.assertEqual((x, y), (200, 200))
        self.assertLessEqual(x + w, SCREEN_W)
        self.d.no_window("^Quillet Editor$")
        self.assertEqual(self.d.geometry(self.d.note_window("word000"))[:2], (200, 200))

    def test_a_tall_text_scrolls_and_the_note_stays_put(self):
        notes = self.replace_text_of_a_note_at((200, 300), "\n".join("line %d" % i for i in range(80)), "line 0")
        x, y, w, h = notes[0].rect
        self.assertEqual((x, y), (200, 300))
        self.assertLessEqual(y + h, SCREEN_H)
        self.assertEqual(notes[0].text.count("\r\n"), 79)

    def test_escape_cancels_an_edit_and_a_click_elsewhere_keeps_one(self):
        self.d.write_notes([make_record("keep me", (300, 250, 200, 80))])
        self.d.start()
        editor = self.d.open_editor("keep me")
        self.d.key("ctrl+a")
        self.d.type("thrown away")
        self.d.key("Escape")
        self.d.no_window("^Quillet Editor$")
        self.assertEqual([n.text for n in self.d.notes()], ["keep me"])
        # Starting to edit fitted the note to its text: it is smaller now.
        editor = self.d.open_editor("keep me")
        self.d.key("End")
        self.d.type(" and this")
        self.d.click(900, 150)  # the bare desktop
        self.d.wait_notes(lambda n: n[0].text == "keep me and this", "the edit kept on disk")

    def test_dragging_a_note_moves_it_on_screen_and_on_disk(self):
        self.d.write_notes([make_record("move me", (200, 200, 160, 60))])
        self.d.start()
        w = self.d.note_window("move me")
        self.d.drag(260, 240, 560, 390)
        notes = self.d.wait_notes(lambda n: n[0].rect[:2] != (200, 200), "the new position on disk")
        self.assertEqual(notes[0].rect, (500, 350, 160, 60))
        wait_until(lambda: self.d.geometry(w) == (500, 350, 160, 60), "the window at its new place")

    def test_dragging_the_corner_sizes_a_note(self):
        self.d.write_notes([make_record("size me", (200, 200, 160, 60))])
        self.d.start()
        w = self.d.note_window("size me")
        self.d.drag(358, 258, 458, 318)
        notes = self.d.wait_notes(lambda n: n[0].rect[2:] != (160, 60), "the new size on disk")
        self.assertEqual(notes[0].rect, (200, 200, 260, 120))
        wait_until(lambda: self.d.geometry(w) == (200, 200, 260, 120), "the window at its new size")

    def test_the_menu_key_and_shift_f10_open_the_menu_of_the_note_with_the_keyboard(self):
        self.d.write_notes([make_record("keyboard user", (200, 200, 160, 60))])
        self.d.start()
        self.d.note_window("keyboard user")
        self.d.click(260, 230)
        for keys in ("Menu", "shift+F10"):
            self.d.key(keys)
            menu = self.d.menu()
            x, y, w, h = self.d.geometry(menu)
            self.assertTrue(200 <= x <= 360 and 200 <= y <= 260, "the menu at the note, not at %r" % ((x, y),))
            self.d.key("Escape")
            wait_until(lambda: self.d._popup() is None, "the menu closed")

    def test_delete_sends_the_note_to_the_bin_and_undo_brings_it_back(self):
        self.d.write_settings({"Settings/DeleteRecBin": 1})
        self.d.write_notes([make_record("old news", (200, 200, 160, 60)), make_record("stays", (500, 200, 160, 60))])
        self.d.start()
        self.d.note_window("old news")
        self.d.click(260, 230)
        self.d.key("Delete")
        self.d.wait_notes(lambda n: [x.text for x in n] == ["stays"], "the note gone from the data file")
        self.d.no_window(r"^Quillet[0-9]{4} - old news")
        bin_path = self.d.data_path[:-4] + ".rbi"
        wait_until(lambda: b"old news" in open(bin_path, "rb").read(), "the text in the recycle bin")
        self.d.tray_menu()
        self.d.key("u")
        notes = self.d.wait_notes(lambda n: len(n) == 2, "the note back in the data file")
        self.assertEqual(sorted(x.text for x in notes), ["old news", "stays"])
        self.d.note_window("old news")

    def test_a_note_is_painted_in_its_own_colours(self):
        self.d.write_notes([make_record("colours", (200, 200, 160, 60), back=0x00336699, border=0x000000FF)])
        self.d.start()
        self.d.note_window("colours")
        wait_until(lambda: self.d.pixel(300, 250) == (0x99, 0x66, 0x33), "the background colour")
        self.assertEqual(self.d.pixel(200, 230), (0xFF, 0, 0))  # the border

    def test_show_notes_hides_and_shows_every_note(self):
        self.d.write_notes([make_record("one", (200, 200, 160, 60)), make_record("two", (500, 200, 160, 60))])
        self.d.start()
        self.d.note_window("one")
        self.d.note_window("two")
        self.d.tray_menu()
        self.d.key("o")
        self.d.no_window(r"^Quillet[0-9]{4} - ", "every note hidden")
        self.d.tray_menu()
        self.d.key("o")
        self.d.note_window("one")
        self.d.note_window("two")

    def test_note_text_is_sharp_on_a_high_density_screen(self):
        self.d.write_notes([make_record("Sharp text WWW", (100, 100, 200, 80))])
        self.d.start(extra_env={"QT_SCALE_FACTOR": "2"})
        x, y, w, h = self.d.geometry(self.d.note_window("Sharp"))
        x += x % 2
        y += y % 2

        def mixed_blocks():
            rows = self.d.region(x, y, w - 4, h // 2)
            return sum(1 for r in range(0, len(rows) - 1, 2) for c in range(0, len(rows[0]) - 1, 2)
                       if len({rows[r][c], rows[r][c + 1], rows[r + 1][c], rows[r + 1][c + 1]}) > 1)

        # A picture blown up from half the size is made of 2 x 2 blocks of one
        # colour; text drawn at the screen's density is not.
        wait_until(lambda: mixed_blocks() > 20, "text drawn at the screen's density")


class Workspaces(DesktopTest):
    """Notes on every workspace: openbox says so by the desktop number alone,
    fluxbox by the sticky state too."""

    def on_every_workspace(self, w):
        desktop = self.d.x(["xprop", "-id", str(w), "_NET_WM_DESKTOP"], check=False)
        state = self.d.x(["xprop", "-id", str(w), "_NET_WM_STATE"], check=False)
        return "4294967295" in desktop or "_NET_WM_STATE_STICKY" in state

    def on_one_workspace(self, w):
        desktop = self.d.x(["xprop", "-id", str(w), "_NET_WM_DESKTOP"], check=False)
        return "_NET_WM_DESKTOP(CARDINAL) = " in desktop and not self.on_every_workspace(w)

    def test_notes_show_on_every_workspace_unless_the_user_says_otherwise(self):
        self.d.write_notes([make_record("everywhere", (100, 100, 200, 80))])
        self.d.start()
        w = self.d.note_window("everywhere")
        wait_until(lambda: self.on_every_workspace(w), "the note on every workspace")
        self.assertEqual(self.d.terminate(), 0)
        self.d.write_settings({"Settings/AllWorkspaces": 0})  # off on the Various page
        self.d.start()
        w = self.d.note_window("everywhere")
        wait_until(lambda: self.on_one_workspace(w), "the note on one workspace")


class WorkspacesUnderFluxbox(Workspaces):
    wm = "fluxbox"

