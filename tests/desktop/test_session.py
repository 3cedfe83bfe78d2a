"""The end of the session (SIGTERM) at any moment, and starting up."""
import os
import random
import signal
import socket
import time

from quillet_desktop import BINARY, DesktopTest, free_port, make_record, ole_now, wait_until


def twenty_notes():
    return [make_record("note %d" % i, (40 + 50 * (i % 10), 60 + 120 * (i // 10), 140, 50)) for i in range(20)]


class HeldPort:
    """Another program holding the receiver's port, so that start-up has to say so."""

    def __init__(self):
        self.port = free_port()
        self.sock = socket.socket()
        self.sock.bind(("0.0.0.0", self.port))
        self.sock.listen(1)

    def close(self):
        self.sock.close()


class Session(DesktopTest):
    def hold_port(self):
        held = HeldPort()
        self.addCleanup(held.close)
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": held.port})
        return held

    def assert_state_flags_written(self):
        cfg = self.d.read_settings()
        for key in ("Show", "CalShow", "AlwaysOnTop"):
            self.assertTrue(cfg.has_option("Settings", key), key + " was not written")

    def test_sigterm_at_idle_exits_and_changes_no_note(self):
        self.d.write_notes(twenty_notes())
        before = open(self.d.data_path, "rb").read()
        self.d.start()
        self.d.note_window("note 19")
        self.assertEqual(self.d.terminate(), 0)
        self.assertEqual(open(self.d.data_path, "rb").read(), before)
        self.assert_state_flags_written()

    def test_sigterm_while_typing_keeps_what_was_typed(self):
        self.d.write_notes([make_record("draft", (300, 250, 200, 80))])
        self.d.start()
        editor = self.d.open_editor("draft")
        self.d.key("End")
        self.d.type(" typed")
        wait_until(lambda: self.d.geometry(editor)[2] > 70, "the editor to grow with the typing")
        self.assertEqual(self.d.terminate(), 0)
        self.assertEqual([n.text for n in self.d.notes()], ["draft typed"])

    def test_sigterm_during_a_start_up_message_box_ends_the_program_and_keeps_every_note(self):
        held = self.hold_port()
        self.d.write_notes(twenty_notes())
        before = open(self.d.data_path, "rb").read()
        self.d.start(wait_tray=False)
        self.d.message_box("Port %d cannot be opened" % held.port)
        self.d.terminate()
        self.assertEqual(open(self.d.data_path, "rb").read(), before)
        self.assert_state_flags_written()

    def test_sigterm_during_the_box_that_asks_for_a_tray_ends_the_program(self):
        self.d.close_tray()
        self.d.write_notes(twenty_notes())
        before = open(self.d.data_path, "rb").read()
        self.d.start(wait_tray=False)
        self.d.message_box("Cannot add icon")
        self.d.terminate()
        self.assertEqual(open(self.d.data_path, "rb").read(), before)

    def test_sigterm_while_the_note_list_is_open(self):
        self.d.write_notes(twenty_notes())
        before = open(self.d.data_path, "rb").read()
        self.d.start()
        self.d.tray_menu()
        self.d.key("l")
        self.d.window("^Quillet Note List$")
        self.d.terminate()
        self.assertEqual(open(self.d.data_path, "rb").read(), before)
        self.assert_state_flags_written()

    def test_sigterm_while_an_alarm_box_is_open(self):
        self.d.write_notes([make_record("ring", (300, 250, 200, 80), alarm=ole_now(-60))])
        self.d.start()
        self.d.window("^Quillet Alarm$")
        self.d.terminate()
        self.assertEqual(len(self.d.notes()), 1)

    def test_sigterm_during_a_drag_leaves_the_note_where_it_was(self):
        self.d.write_notes([make_record("dragged", (200, 200, 160, 60))])
        before = open(self.d.data_path, "rb").read()
        self.d.start()
        w = self.d.note_window("dragged")
        self.d.move_mouse(260, 230)
        self.d.xdotool("mousedown", 1)
        self.d.move_mouse(400, 330)
        wait_until(lambda: self.d.geometry(w)[:2] != (200, 200), "the note to follow the mouse")
        self.d.terminate()
        self.d.xdotool("mouseup", 1)
        self.assertEqual(open(self.d.data_path, "rb").read(), before)

    def test_sigterm_at_random_moments_of_a_start_with_a_message_box_never_changes_the_file(self):
        self.hold_port()
        self.d.write_notes(twenty_notes())
        before = open(self.d.data_path, "rb").read()
        rng = random.Random(int(os.environ.get("QUILLET_DESKTOP_SEED", time.time())))
        for round in range(50):
            self.d.start(wait_tray=False)
            # Real time passes: anywhere from before the program is up to well after its box shows.
            time.sleep(rng.uniform(0, 3))
            self.d.quillet.send_signal(signal.SIGTERM)
            self.d.quillet.wait(60)
            self.assertEqual(open(self.d.data_path, "rb").read(), before, "after round %d" % round)

    def test_a_second_start_says_so_and_leaves_the_first_running(self):
        self.d.write_notes([make_record("only once", (300, 250, 200, 80))])
        first = self.d.start()
        self.d.note_window("only once")
        second = self.d.start(wait_tray=False)
        box = self.d.message_box("Quillet is running already!")
        self.d.press_in(box, "Return")
        self.assertEqual(second.wait(60), 1)
        self.assertIsNone(first.poll())
        self.d.quillet = first
        self.assertEqual(self.d.terminate(), 0)


class Citizen(DesktopTest):
    def test_the_first_start_adds_a_login_entry_and_a_user_who_turns_it_off_is_never_overridden(self):
        entry = os.path.join(self.d.home, "config", "autostart", "quillet.desktop")
        self.d.start()
        wait_until(lambda: os.path.exists(entry), "the login entry")
        lines = open(entry, encoding="utf-8").read().splitlines()
        self.assertIn("Exec=" + os.path.realpath(BINARY), lines)
        self.d.from_tray("s", "^Quillet Settings$")
        self.d.key("ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "ctrl+Tab")  # to the Various page
        self.d.key("Tab", "space")  # the page's first field: Start Quillet when I log in
        self.d.key("Return")
        self.d.no_window("^Quillet Settings$")
        wait_until(lambda: not os.path.exists(entry), "the login entry removed")
        self.assertEqual(self.d.terminate(), 0)
        self.d.start()
        self.assertEqual(self.d.terminate(), 0)
        self.assertFalse(os.path.exists(entry))

    def test_in_a_german_session_qts_own_dialogs_speak_german_too(self):
        self.d.start(extra_env={"LANG": "de_DE.UTF-8", "LC_ALL": "de_DE.UTF-8"})
        self.d.from_tray("e", "^Quillet Einstellungen$")
        self.d.key("alt+h")  # &Hintergrundfarbe: Qt's colour dialog
        self.d.window("^Farbauswahl$", "Qt's colour dialog in German")
