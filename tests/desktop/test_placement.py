"""Notes stay where the user put them, under more than one window manager."""
import random
import time

from quillet_desktop import DesktopTest, make_record


class EditsKeepTheirPlace(DesktopTest):
    def test_fifty_edits_with_real_pauses_leave_the_note_where_it_was(self):
        # A window manager may place a freshly mapped editor where it likes;
        # the note must still be saved where the user put it.
        self.d.write_notes([make_record("edit 0", (300, 250, 200, 80)), make_record("other", (700, 500, 200, 80))])
        self.d.start()
        rng = random.Random(50)
        for round in range(1, 51):
            w = self.d.note_window("edit %d" % (round - 1))
            self.d.double_click(*self.d.center(w))
            editor = self.d.editor()
            time.sleep(rng.uniform(0, 2))  # a person takes a moment before typing
            self.d.key("ctrl+a")
            self.d.type("edit %d" % round)
            if round % 2:
                self.d.key("ctrl+Return")
            else:
                # Another window takes the focus (not every window manager
                # moves it away on a click on the bare desktop).
                self.d.click(*self.d.center(self.d.note_window("other")))
            notes = self.d.wait_notes(lambda n: n[0].text == "edit %d" % round, "edit %d on disk" % round)
            self.assertEqual(notes[0].rect[:2], (300, 250), "after edit %d" % round)


class EditsKeepTheirPlaceUnderFluxbox(EditsKeepTheirPlace):
    wm = "fluxbox"
