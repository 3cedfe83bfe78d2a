"""A data file in a folder a sync tool keeps: the tool renames a new file over it while Quillet runs."""
import datetime
import os
import re
import socket

from quillet_desktop import DesktopTest, make_record, wait_until, write_data_file


class SyncedFolder(DesktopTest):
    def _replace(self, records):
        """What a sync tool does with the other computer's file: written beside, renamed over."""
        temp = os.path.join(os.path.dirname(self.d.data_path), ".syncthing.Quillet.dat.tmp")
        write_data_file(temp, records)
        os.rename(temp, self.d.data_path)

    def _new_note(self, text):
        self.d.tray_menu()
        self.d.key("n")
        self.d.editor()
        self.d.key("ctrl+a")
        self.d.type(text)
        self.d.key("ctrl+Return")
        self.d.wait_notes(lambda n: text in [x.text for x in n], "'%s' on disk" % text)

    def test_a_hundred_replacements_of_the_data_file_lose_no_note_on_either_side(self):
        self.d.write_notes([make_record("kept", (100, 100, 200, 80)), make_record("round 0", (400, 100, 200, 80))])
        self.d.start()
        self.d.note_window("round 0")
        made_here = []
        for k in range(1, 101):
            # The other computer changes one note of the file as it was synced to it.
            records = [make_record("round %d" % k, (400, 100, 200, 80)) if n.text == "round %d" % (k - 1) else n.raw
                       for n in self.d.notes()]
            self._replace(records)
            self.d.note_window("round %d" % k)  # shown here
            if k % 25 == 0:
                made_here.append("here %d" % k)
                self._new_note(made_here[-1])
        self.assertEqual(self.d.terminate(), 0)
        self.assertEqual(sorted(n.text for n in self.d.notes()), sorted(["kept", "round 100"] + made_here))
        self.assertEqual(self.d.messages(), [])

    def test_a_note_changed_on_both_sides_at_once_is_kept_twice_and_told(self):
        self.d.write_notes([make_record("shared", (100, 100, 200, 80)), make_record("other", (400, 100, 200, 80))])
        self.d.start()
        self.d.open_editor("shared")
        # Meanwhile the other computer changes the same note; the open editor holds the file back.
        self._replace([make_record("shared, changed there", (100, 100, 200, 80)), make_record("other", (400, 100, 200, 80))])
        self.d.type("shared, changed here")
        self.d.key("ctrl+Return")
        self.d.message_box("Another program changed the data file while these notes were changed here")
        self.assertIn("shared, changed here", self.d.messages()[0])
        notes = self.d.wait_notes(lambda n: len(n) == 3, "both versions on disk")
        self.assertEqual(sorted(n.text for n in notes), ["other", "shared, changed here", "shared, changed there"])

    def test_the_first_change_of_the_day_keeps_a_backup(self):
        self.d.write_notes([make_record("before", (100, 100, 200, 80))])
        self.d.start()
        self.d.open_editor("before")
        self.d.type("after")
        self.d.key("ctrl+Return")
        self.d.wait_notes(lambda n: n[0].text == "after", "the change on disk")
        backup = os.path.join(os.path.dirname(self.d.data_path), "backups",
                              "Quillet-%s-%s.dat" % (datetime.date.today().isoformat(),
                                                     re.sub(r"[^A-Za-z0-9._-]", "_", socket.gethostname())))
        self.assertEqual([n.text for n in self.d.notes(backup)], ["before"])

    def test_a_conflict_copy_left_by_a_sync_tool_is_offered_once_for_import(self):
        here = make_record("here", (100, 100, 200, 80))
        self.d.write_notes([here])
        self.d.start()
        self.d.note_window("here")
        copy = os.path.join(os.path.dirname(self.d.data_path), "Quillet.sync-conflict-20261207-101010-ABCDEF7.dat")
        write_data_file(copy + ".tmp", [here, make_record("only in the copy", (400, 100, 200, 80))])
        os.rename(copy + ".tmp", copy)
        self.d.message_box("A sync tool left")
        self.assertIn("with 1 notes that are not here", self.d.messages()[0])
        self.d.key("Return")  # Yes
        notes = self.d.wait_notes(lambda n: len(n) == 2, "the missing note imported")
        self.assertEqual(sorted(n.text for n in notes), ["here", "only in the copy"])
        # Not asked again, not even after a restart.
        self.assertEqual(self.d.terminate(), 0)
        asked = len(self.d.messages())
        self.d.start()
        self.d.note_window("only in the copy")
        self.assertEqual(len(self.d.messages()), asked)
