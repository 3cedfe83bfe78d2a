"""Alarms as they happen: real seconds pass before one rings."""
import time

from quillet_desktop import DesktopTest, make_record, ole_now, wait_until


class Alarms(DesktopTest):
    def test_an_alarm_rings_after_real_seconds_and_ok_ends_it(self):
        self.d.write_notes([make_record("dentist", (300, 250, 200, 80), alarm=ole_now(5))])
        due = time.time() + 5
        self.d.start()
        self.d.note_window("dentist")
        box = self.d.window("^Quillet Alarm$", "the alarm box")
        # Whole seconds in the file, a tick every two: never early by more than that.
        self.assertGreaterEqual(time.time(), due - 1.5)
        self.d.press_in(box, "Return")
        self.d.no_window("^Quillet Alarm$")
        self.d.wait_notes(lambda n: n[0].alarm is None, "the alarm cleared on disk")
        self.assertEqual(self.d.notes()[0].text, "dentist")

    def test_an_unanswered_box_holds_back_no_other_alarm(self):
        self.d.write_notes([make_record("first", (100, 250, 200, 80), alarm=ole_now(-60)),
                            make_record("second", (500, 250, 200, 80), alarm=ole_now(4))])
        self.d.start()
        first = self.d.window("^Quillet Alarm$", "the first alarm box")
        # Real seconds pass with the first box open; the second alarm rings anyway.
        both = wait_until(lambda: len(self.d.windows("^Quillet Alarm$")) == 2 and self.d.windows("^Quillet Alarm$"),
                          "a second alarm box beside the first")
        second = [w for w in both if w != first][0]
        self.assertNotEqual(self.d.geometry(first)[:2], self.d.geometry(second)[:2], "not hidden behind the first")
        for box in (second, first):
            self.d.press_in(box, "Return")
        self.d.no_window("^Quillet Alarm$")
        self.d.wait_notes(lambda n: n[0].alarm is None and n[1].alarm is None, "both alarms cleared on disk")

    def test_space_on_a_note_opens_its_alarm_dialog_and_escape_leaves_it_unchanged(self):
        self.d.write_notes([make_record("later", (300, 250, 200, 80))])
        before = open(self.d.data_path, "rb").read()
        self.d.start()
        self.d.click(*self.d.center(self.d.note_window("later")))
        self.d.key("space")
        dialog = self.d.focused("^Quillet Alarm$", "the alarm dialog")
        self.d.key("Escape")
        self.d.no_window("^Quillet Alarm$")
        self.assertEqual(open(self.d.data_path, "rb").read(), before)

    def test_remind_counts_from_the_click_not_from_when_the_box_appeared(self):
        self.d.write_settings({"Settings/AlarmRemind": 1})
        self.d.write_notes([make_record("stretch", (300, 250, 200, 80), alarm=ole_now(-30))])
        self.d.start()
        box = self.d.window("^Quillet Alarm$", "the alarm box")
        appeared = ole_now()
        time.sleep(20)  # the box stands unanswered while real time passes
        self.d.activate(box)
        clicked = ole_now()
        self.d.key("alt+r")  # Remind in 1 Min.
        notes = self.d.wait_notes(lambda n: n[0].alarm is not None and n[0].alarm > appeared, "the reminder on disk")
        seconds_after_click = (notes[0].alarm - clicked) * 86400
        self.assertGreater(seconds_after_click, 55)
        self.assertLess(seconds_after_click, 65)
