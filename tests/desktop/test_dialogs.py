"""The note list, search, settings, calendar and hotkeys, from the tray."""
import os
import subprocess
import sys

from quillet_desktop import DesktopTest, _die_with_the_test, make_record, ole_now, wait_until


class Dialogs(DesktopTest):
    def test_the_note_list_opens_from_the_tray_and_closes_with_escape(self):
        self.d.write_notes([make_record("listed", (100, 100, 200, 80))])
        self.d.start()
        lst = self.d.from_tray("l", "^Quillet Note List$")
        self.d.close_note_list()
        self.assertTrue(self.d.running())

    def test_a_search_opens_the_list_and_is_kept_in_the_history(self):
        self.d.write_notes([make_record("buy milk", (100, 100, 200, 80)), make_record("call Bob", (400, 100, 200, 80))])
        self.d.start()
        dialog = self.d.from_tray("c", "^Quillet Search$")
        self.d.type("milk")
        self.d.key("Return")
        self.d.no_window("^Quillet Search$")
        lst = self.d.focused("^Quillet Note List$", "the note list with the results")
        self.d.close_note_list()
        self.assertEqual(self.d.terminate(), 0)
        self.assertEqual(self.d.setting("Search/1"), "milk")

    def test_the_settings_dialog_saves_a_changed_option_and_leaves_hand_edited_ones(self):
        # Values the dialog's controls cannot show, put there by hand.
        self.d.write_settings({"Settings/IconAction": 9, "Settings/FormatWidth": 15})
        self.d.start()
        dialog = self.d.from_tray("s", "^Quillet Settings$")
        x, y, w, h = self.d.geometry(dialog)
        self.d.click(x + 28, y + 287)  # Use random colors
        self.d.key("Return")
        self.d.no_window("^Quillet Settings$")
        wait_until(lambda: self.d.setting("Settings/RandomColor") == "1", "the option in the settings file")
        self.assertEqual(self.d.setting("Settings/IconAction"), "9")
        self.assertEqual(self.d.setting("Settings/FormatWidth"), "15")

    def test_cancel_in_the_settings_dialog_changes_nothing(self):
        self.d.write_settings({"Settings/RandomColor": 0})
        self.d.start()
        dialog = self.d.from_tray("s", "^Quillet Settings$")
        before = open(self.d.config_path).read()
        x, y, w, h = self.d.geometry(dialog)
        self.d.click(x + 28, y + 287)
        self.d.key("Escape")
        self.d.no_window("^Quillet Settings$")
        self.assertEqual(open(self.d.config_path).read(), before)

    def test_the_calendar_is_shown_from_the_tray_and_remembered_at_exit(self):
        self.d.start()
        self.d.tray_menu()
        self.d.key("r")
        wait_until(lambda: len(self.d.quillet_windows()) >= 2 and self._calendar(), "the calendar on screen")
        self.assertEqual(self.d.terminate(), 0)
        self.assertEqual(self.d.setting("Settings/CalShow"), "1")

    def _calendar(self):
        for wid in self.d.quillet_windows():
            g = self.d.geometry(wid)
            if g and g[2] > 100 and g[3] > 100:
                return wid
        return None

    def test_always_on_top_from_the_tray_is_remembered_at_exit(self):
        self.d.write_notes([make_record("on top", (100, 100, 200, 80))])
        self.d.start()
        self.d.note_window("on top")
        self.d.tray_menu()
        self.d.key("w")
        wait_until(lambda: "_NET_WM_STATE_ABOVE" in self.d.x(["xprop", "-id", str(self.d.note_window("on top")), "_NET_WM_STATE"]),
                   "the note kept above other windows")
        self.assertEqual(self.d.terminate(), 0)
        self.assertEqual(self.d.setting("Settings/AlwaysOnTop"), "1")

    def test_the_new_note_hotkey_opens_the_editor(self):
        self.d.write_settings({"Settings/NewHotkey": 1614})  # Ctrl+Alt+N
        self.d.start()
        self.d.key("ctrl+alt+n")
        editor = self.d.editor()
        self.d.key("ctrl+a")
        self.d.type("by hotkey")
        self.d.key("ctrl+Return")
        self.d.wait_notes(lambda n: [x.text for x in n] == ["by hotkey"], "the note on disk")

    def test_backspace_in_a_hotkey_field_clears_it_and_grabs_nothing(self):
        self.d.write_settings({"Settings/PasteHotkey": 0x650})  # Ctrl+Alt+P
        self.d.start()
        dialog = self.d.from_tray("s", "^Quillet Settings$")
        x, y, w, h = self.d.geometry(dialog)
        self.d.click(x + 199, y + 24)  # the Keyboard page
        self.d.click(x + 245, y + 84)  # the Paste Note field
        self.d.key("BackSpace")
        self.d.key("Return")  # goes on to OK
        self.d.no_window("^Quillet Settings$")
        wait_until(lambda: self.d.setting("Settings/PasteHotkey") == "0", "the hotkey cleared in the settings file")

    def test_a_hotkey_another_program_holds_is_reported(self):
        holder = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(__file__), "hold_key.py"), "p"],
                                  env=self.d.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  preexec_fn=_die_with_the_test)
        self.d.procs.append(holder)
        self.assertEqual(holder.stdout.readline().strip(), b"held")
        self.d.write_settings({"Settings/PasteHotkey": 0x650})  # Ctrl+Alt+P
        self.d.start(wait_tray=False)
        self.d.message_box("Another program already uses Ctrl+Alt+P")
        self.assertIn('the hotkey for "Paste Note" does not work', self.d.messages()[0])

    def test_the_note_list_opens_where_it_was_closed(self):
        self.d.start()
        places = []
        for _ in range(3):
            lst = self.d.from_tray("l", "^Quillet Note List$")
            # Read once the window manager has framed it: before, the window stands where it asked to be.
            wait_until(lambda: "=" in self.d.x(["xprop", "-id", str(lst), "_NET_FRAME_EXTENTS"], check=False),
                       "the note list framed by the window manager")
            places.append(self.d.geometry(lst))
            self.d.close_note_list()
        self.assertEqual(places[1], places[0])
        self.assertEqual(places[2], places[0])

    def test_a_second_click_on_a_column_header_reverses_the_order(self):
        self.d.write_notes([make_record("one", (100, 100, 200, 80)), make_record("two", (400, 100, 200, 80))])
        self.d.start()
        # One click each time the list is open, so no two clicks make a double click.
        for round, ascending in enumerate(("0", "1", "0")):
            lst = self.d.from_tray("l", "^Quillet Note List$")
            x, y, w, h = self.d.geometry(lst)
            self.d.click(x + 435, y + 116)  # the "Last Modified" header
            self.d.close_note_list()
            self.assertEqual(self.d.setting("Settings/ListSortCol"), "1")
            self.assertEqual(self.d.setting("Settings/ListSortAsc"), ascending, "after click %d" % (round + 1))

    def test_a_note_edited_from_the_list_takes_the_keys_typed(self):
        self.d.write_notes([make_record("alpha", (100, 100, 200, 80)), make_record("beta", (400, 100, 200, 80))])
        self.d.start()
        lst = self.d.from_tray("l", "^Quillet Note List$")
        x, y, w, h = self.d.geometry(lst)
        self.d.double_click(x + 435, y + 165)  # the first row
        editor = self.d.editor()
        self.d.type("gamma ")  # a space would open the alarm dialog in the list
        self.d.key("ctrl+Return")
        self.d.no_window("^Quillet Editor$")
        notes = self.d.wait_notes(lambda n: any(x.text == "gamma " for x in n), "the edited text on disk")
        self.d.focused("^Quillet Note List$", "the list with the keyboard again")
        self.d.close_note_list()
        self.assertEqual(sorted(n.text for n in self.d.notes()), ["beta", "gamma "])
        self.assertEqual(self.d.messages(), [])

    def test_the_note_menu_bar_files_a_note_in_a_folder(self):
        self.d.write_notes([make_record("alpha", (100, 100, 200, 80)),
                            make_record("beta", (400, 100, 200, 80), folder="Work")])
        self.d.start()
        lst = self.d.from_tray("l", "^Quillet Note List$")
        x, y, w, h = self.d.geometry(lst)
        self.d.click(x + 435, y + 165)  # the first row: alpha
        self.d.key("alt+n")  # the Note menu
        self.d.menu()
        self.d.click(x + 168, y + 209)  # Folder
        self.d.click(x + 300, y + 231)  # Work
        notes = self.d.wait_notes(lambda n: n[0].folder == "Work", "alpha filed in Work")
        self.assertEqual(notes[0].text, "alpha")

    def test_the_selection_follows_its_note_through_a_sort(self):
        self.d.write_settings({"Settings/ListSortCol": 1, "Settings/ListSortAsc": 1})  # oldest first
        self.d.write_notes([make_record("alpha", (100, 100, 200, 80), modified=ole_now(-86400)),
                            make_record("beta", (400, 100, 200, 80))])
        self.d.start()
        lst = self.d.from_tray("l", "^Quillet Note List$")
        x, y, w, h = self.d.geometry(lst)
        self.d.click(x + 435, y + 165)  # the first row: alpha
        self.d.click(x + 435, y + 116)  # the "Last Modified" header: newest first now
        self.d.key("Delete")
        notes = self.d.wait_notes(lambda n: len(n) == 1, "one note left")
        self.assertEqual(notes[0].text, "beta")

    def test_a_case_sensitive_search_runs_and_keeps_the_text_as_typed(self):
        self.d.write_settings({"Search/1": "anna"})
        self.d.write_notes([make_record("Anna's birthday", (100, 100, 200, 80))])
        self.d.start()
        dialog = self.d.from_tray("c", "^Quillet Search$")
        self.d.key("ctrl+a")
        self.d.type("Anna")
        self.d.key("Tab", "space")  # Case sensitive
        self.d.key("Return")
        lst = self.d.focused("^Quillet Note List$", "the note list with the results")
        self.d.close_note_list()
        self.assertEqual(self.d.terminate(), 0)
        self.assertEqual(self.d.setting("Search/1"), "Anna")
        self.assertEqual(self.d.setting("Settings/SearchCase"), "1")

    def test_alt_and_a_marked_letter_works_in_the_settings_dialog(self):
        self.d.write_settings({"Settings/Align": 0})
        self.d.start()
        self.d.from_tray("s", "^Quillet Settings$")
        self.d.key("alt+l", "Down")  # A&lignment: Centered
        self.d.key("Return")
        self.d.no_window("^Quillet Settings$")
        wait_until(lambda: self.d.setting("Settings/Align") == "1", "the alignment in the settings file")

    def test_the_calendar_page_writes_the_calendars_own_layout(self):
        self.d.start()
        self.d.from_tray("s", "^Quillet Settings$")
        self.d.key("ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "ctrl+Tab")  # to the Calendar page
        self.d.key("alt+c")  # Completely transparent &color
        self.d.key("Down")  # the calendar's background
        self.d.key("Return")
        self.d.no_window("^Quillet Settings$")
        wait_until(lambda: self.d.setting("Layout-1/Transparency") == "1255", "the calendar's transparency written")
        self.assertIsNotNone(self.d.setting("Layout-1/ColorBack"))
        self.assertIsNotNone(self.d.setting("Layout-1/FontNote"))

    def _show_calendar(self):
        self.d.tray_menu()
        self.d.key("r")
        wait_until(self._calendar, "the calendar on screen")
        wid = self._calendar()
        wait_until(lambda: self.d.geometry(wid)[2] > 100, "the calendar at its size")
        return wid

    def test_the_calendar_is_moved_by_its_week_number_column(self):
        self.d.write_settings({"Settings/CalLeft": 300, "Settings/CalTop": 200})
        self.d.start()
        cal = self._show_calendar()
        x, y, w, h = self.d.geometry(cal)
        self.d.drag(x + 16, y + h * 2 // 3, x + 116, y + h * 2 // 3 + 50)
        wait_until(lambda: self.d.setting("Settings/CalLeft") == str(x + 100), "the calendar's new place saved")
        self.assertEqual(self.d.setting("Settings/CalTop"), str(y + 50))
        self.assertEqual(self.d.geometry(cal)[:2], (x + 100, y + 50))

    def test_the_calendar_first_opens_where_no_note_is(self):
        self.d.write_notes([make_record("under", (150, 150, 400, 300))])
        self.d.start()
        self.d.note_window("under")
        cal = self._show_calendar()
        x, y, w, h = self.d.geometry(cal)
        overlaps = x < 550 and x + w > 150 and y < 450 and y + h > 150
        self.assertFalse(overlaps, "calendar at %r over the note" % ((x, y, w, h),))
        self.assertLessEqual(x + w, 1280)
        self.assertLessEqual(y + h, 800)
