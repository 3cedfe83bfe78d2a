"""What start-up says about the data file, and what it then does with it."""
import os
import socket
import stat

from quillet_desktop import DesktopTest, free_port, make_record, wait_until


class StartUp(DesktopTest):
    def dismiss(self, box):
        self.d.press_in(box, "Return")

    def test_a_write_protected_file_is_announced_and_peers_are_not_told_a_note_arrived(self):
        port = free_port()
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": port})
        self.d.write_notes([make_record("protected", (100, 100, 200, 80))])
        os.chmod(self.d.data_path, stat.S_IRUSR)
        before = open(self.d.data_path, "rb").read()
        self.d.start(wait_tray=False)
        box = self.d.message_box("The notes file %s is write-protected." % self.d.data_path)
        self.dismiss(box)
        self.d.note_window("protected")
        # Nobody listens for a note that could not be kept: the sender learns it was not delivered.
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", port), timeout=60).close()
        self.assertEqual(open(self.d.data_path, "rb").read(), before)

    def test_a_taken_port_is_named_and_receiving_is_said_to_stay_off(self):
        held = socket.socket()
        held.bind(("0.0.0.0", 0))
        held.listen(1)
        self.addCleanup(held.close)
        port = held.getsockname()[1]
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": port})
        self.d.start(wait_tray=False)
        box = self.d.message_box("Port %d cannot be opened" % port)
        self.assertIn("stays off until it is turned on again in the settings", self.d.messages()[-1])
        self.assertNotIn("Windows", self.d.messages()[-1])
        self.dismiss(box)
        self.d.tray_icon()
        wait_until(lambda: self.d.setting("Settings/NetEnable") == "0", "receiving turned off in the settings")

    def test_a_folder_in_place_of_the_data_file_is_named_as_such(self):
        os.makedirs(self.d.data_path)
        self.d.start(wait_tray=False)
        box = self.d.message_box("Cannot read the file %s: this is a folder, not a notes file" % self.d.data_path)
        self.dismiss(box)
        self.d.tray_icon()
        self.assertTrue(os.path.isdir(self.d.data_path))

    def test_a_data_file_in_a_missing_folder_gets_its_folder(self):
        path = os.path.join(self.d.home, "Notes, 2024", "sub", "notes.dat")
        self.d.write_settings({"Settings/FileNotes": path})
        self.d.start()
        wait_until(lambda: self.d.notes(path) == [], "the new, empty data file")
        self.assertEqual([m for m in self.d.messages()], [])
