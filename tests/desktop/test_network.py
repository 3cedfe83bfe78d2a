"""Notes from other computers, on loopback."""
import socket

from quillet_desktop import DesktopTest, free_port, make_record


def send(port, message):
    with socket.create_connection(("127.0.0.1", port), timeout=60) as s:
        s.sendall(message)
        s.shutdown(socket.SHUT_WR)
        s.recv(1)


class Network(DesktopTest):
    def test_a_note_arrives_while_notes_are_shown(self):
        port = free_port()
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": port})
        self.d.write_notes([make_record("already here", (100, 100, 200, 80))])
        self.d.start()
        self.d.note_window("already here")
        send(port, "PC7 (Anna)\r\nlunch at noon?".encode("utf-8"))
        self.d.note_window("lunch at noon?")
        self.d.note_window("already here")
        notes = self.d.wait_notes(lambda n: len(n) == 2, "the received note on disk")
        self.assertEqual(notes[1].text, "lunch at noon?")

    def test_a_note_in_knotes_style_shows_as_lines(self):
        port = free_port()
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": port})
        self.d.start()
        send(port, "Shopping (anna)\nmilk\nbread".encode("utf-8"))
        w = self.d.note_window("milk")
        self.assertEqual(self.d.title(w), "Quillet0000 - milk")
        notes = self.d.wait_notes(lambda n: len(n) == 1, "the received note on disk")
        self.assertEqual(notes[0].text, "milk\r\nbread")
