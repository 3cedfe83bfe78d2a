"""Notes from other computers, on loopback."""
import os
import select
import socket
import threading

from quillet_desktop import SCREEN_W, DesktopTest, free_port, make_record, wait_until


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

    def test_a_received_long_line_wraps_within_the_screen(self):
        port = free_port()
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": port})
        self.d.start()
        text = " ".join("word%03d" % i for i in range(250))
        send(port, ("PC7\n" + text).encode("utf-8"))
        notes = self.d.wait_notes(lambda n: len(n) == 1, "the received note on disk")
        self.assertEqual(notes[0].text, text)
        x, y, w, h = notes[0].rect
        self.assertLessEqual(x + w, SCREEN_W)
        wx, wy, ww, wh = self.d.geometry(self.d.note_window("word000"))
        self.assertLessEqual(wx + ww, SCREEN_W)
        self.assertEqual((wx, wy), (x, y))


class KNotes(DesktopTest):
    """Both directions with a peer that speaks KNotes' bytes: a title line,
    bare LF lines, UTF-8, one message per connection."""

    def send_to_from_note(self, text_start):
        """Send To... from the note's own menu; the dialog has the keyboard."""
        self.d.click(*self.d.center(self.d.note_window(text_start)), button=3)
        self.d.menu()
        self.d.key("n")
        self.d.focused("^Quillet Send To$")

    def test_a_reply_to_a_titled_note_goes_back_to_the_address_it_came_from(self):
        port = free_port()
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": port})
        self.d.start()
        with socket.socket() as s:
            s.bind(("127.0.0.2", 0))
            s.connect(("127.0.0.1", port))
            s.sendall("Einkauf (anna)\nMilch\nBrötchen".encode("utf-8"))
        notes = self.d.wait_notes(lambda n: len(n) == 1 and n[0].received_from.endswith("]"),
                                  "the note with the address it came from")
        self.assertEqual(notes[0].received_from, "Einkauf (anna) [127.0.0.2]")
        self.assertEqual(notes[0].text, "Milch\r\nBrötchen")
        # Reply: the send-to dialog addresses the sender's computer, here
        # this very receiver, listening on every address.
        self.send_to_from_note("Milch")
        self.d.key("Return")
        notes = self.d.wait_notes(lambda n: len(n) == 2, "the reply, delivered")
        self.assertEqual(notes[1].text, "Milch\r\nBrötchen")
        self.assertEqual(self.d.messages(), [])

    def test_a_note_sent_to_a_knotes_receiver_has_clean_lines_and_accents(self):
        knotes = socket.socket()
        knotes.bind(("127.0.0.1", 0))
        knotes.listen(5)
        self.addCleanup(knotes.close)
        port = knotes.getsockname()[1]
        self.d.write_settings({"Settings/NetPort": port, "Settings/NetSender": "Jörg"})
        self.d.write_notes([make_record("Greetings\r\nGrüße aus Köln", (100, 100, 200, 80))])
        self.d.start()
        self.send_to_from_note("Greetings")
        self.d.type("127.0.0.1")
        self.d.key("Return")
        knotes.settimeout(60)
        conn, _ = knotes.accept()
        data = b""
        with conn:
            conn.settimeout(60)
            while True:  # a KNotes receiver reads up to 4,096 bytes until the sender closes
                chunk = conn.recv(4096)
                if not chunk:
                    break
                data += chunk
        title, body = data.decode("utf-8").split("\n", 1)
        self.assertTrue(title.endswith(" (Jörg)"), title)
        # Lines end in CR LF, as between our own computers; a Qt text box
        # (KNotes') takes CR LF as one line break, and no CR stands alone.
        self.assertEqual(body.splitlines(), ["Greetings", "Grüße aus Köln"])
        self.assertEqual(body.count("\r"), body.count("\r\n"))
        self.d.no_window("^Quillet Send To$")


class Receiver(DesktopTest):
    """The receiver against peers that do not play by the rules."""

    def setUp(self):
        super().setUp()
        self.port = free_port()
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": self.port})
        self.d.start()
        self.sockets = []
        self.addCleanup(lambda: [s.close() for s in self.sockets])

    def connect(self, source="127.0.0.1"):
        s = socket.socket()
        s.bind((source, 0))
        s.settimeout(60)
        s.connect(("127.0.0.1", self.port))
        self.sockets.append(s)
        return s

    def closed_by_receiver(self, s):
        ready, _, _ = select.select([s], [], [], 0)
        return bool(ready)

    def test_notes_from_one_computer_land_in_the_order_sent(self):
        for i in range(8):
            s = self.connect()
            body = "ORD%d short" % i if i % 2 == 0 else "ORD%d " % i + "x" * 3000
            s.sendall(("PC\n" + body).encode())
            s.shutdown(socket.SHUT_WR)
        notes = self.d.wait_notes(lambda n: len(n) == 8, "eight notes on disk")
        self.assertEqual([n.text.split(" ")[0] for n in notes], ["ORD%d" % i for i in range(8)])

    def test_a_message_whose_sender_keeps_the_line_open_becomes_a_note(self):
        # As a netcat that does not close sends it; real time passes until
        # the receiver gives up waiting for more.
        s = self.connect()
        s.sendall(b"PC\nhello")
        notes = self.d.wait_notes(lambda n: len(n) == 1, "the note on disk")
        self.assertEqual(notes[0].text, "hello")

    def test_an_idle_and_dripping_crowd_from_one_computer_delays_no_other(self):
        crowd = [self.connect() for _ in range(300)]
        drips = [self.connect() for _ in range(100)]
        stop = threading.Event()

        def drip():
            while not stop.is_set():
                for s in drips:
                    try:
                        s.send(b"x")
                    except OSError:
                        pass
                stop.wait(2)

        t = threading.Thread(target=drip, daemon=True)
        t.start()
        self.addCleanup(stop.set)
        honest = self.connect("127.0.0.2")
        honest.sendall(b"PC2\nan honest note")
        honest.shutdown(socket.SHUT_WR)
        notes = self.d.wait_notes(lambda n: len(n) >= 1, "the honest note on disk")
        # It did not wait for the crowd's time to run out: the newest of it
        # are still held.
        self.assertEqual(sum(self.closed_by_receiver(s) for s in drips), 0)
        self.assertLess(sum(self.closed_by_receiver(s) for s in crowd), len(crowd))
        self.assertEqual(notes[0].text, "an honest note")


class SendTo(DesktopTest):
    """The send-to dialog, as the user works it."""

    RECIPIENTS = (186, 50)  # from the dialog's corner
    TEXT = (230, 397)
    HELP = (408, 496)

    def open_dialog(self, port, extra_env=None):
        self.d.write_settings({"Settings/NetPort": port})
        self.d.start(extra_env=extra_env)
        dialog = self.d.from_tray("d", "^Quillet Send To$")
        self.x, self.y, _, _ = self.d.geometry(dialog)
        return dialog

    def at(self, offset):
        return self.x + offset[0], self.y + offset[1]

    def write_and_send(self, recipient, text):
        self.d.type(recipient)
        self.d.click(*self.at(self.TEXT))
        self.d.type(text)
        self.d.click(*self.at(self.RECIPIENTS))
        self.d.key("Return")

    def test_escape_stops_a_send_that_hangs(self):
        # A peer whose queue is full: further connections hang unanswered.
        busy = socket.socket()
        busy.bind(("127.0.0.1", 0))
        busy.listen(0)
        self.addCleanup(busy.close)
        fillers = []
        for _ in range(4):
            f = socket.socket()
            f.setblocking(False)
            f.connect_ex(busy.getsockname())
            fillers.append(f)
        self.addCleanup(lambda: [f.close() for f in fillers])
        self.open_dialog(busy.getsockname()[1])
        self.write_and_send("127.0.0.1", "hello")
        self.d.key("Escape")
        self.d.no_window("^Quillet Send To$")
        self.assertTrue(self.d.running())

    def test_enter_after_a_failed_send_tries_again(self):
        self.open_dialog(free_port())  # nobody listens there
        self.write_and_send("127.0.0.1", "hello")
        self.d.message_box("The note cannot be delivered to: 127.0.0.1")
        self.d.key("Return")
        wait_until(lambda: len(self.d.messages()) == 1 and not self.d._dialog(), "the box gone")
        self.d.key("Return")
        wait_until(lambda: len(self.d.messages()) == 2, "the second try's message")
        self.assertEqual(self.d.messages()[1], "The note cannot be delivered to: 127.0.0.1")

    def test_help_opens_the_help_page(self):
        bin_dir = os.path.join(self.d.home, "bin")
        os.makedirs(bin_dir)
        opened = os.path.join(self.d.home, "opened.txt")
        with open(os.path.join(bin_dir, "xdg-open"), "w") as f:
            f.write("#!/bin/sh\necho \"$1\" >> %s\n" % opened)
        os.chmod(os.path.join(bin_dir, "xdg-open"), 0o755)
        self.open_dialog(free_port(), {"PATH": bin_dir + ":" + os.environ["PATH"]})
        self.d.click(*self.at(self.HELP))
        wait_until(lambda: os.path.exists(opened) and "Overview.htm" in open(opened).read(), "the help page opened")
        self.d.window("^Quillet Send To$")


class AcceptFrom(DesktopTest):
    def test_only_the_listed_computers_drop_notes(self):
        port = free_port()
        self.d.write_settings({"Settings/NetEnable": 1, "Settings/NetPort": port,
                               "Settings/NetAccept": 2, "Settings/NetAcceptList": "127.0.0.2, 10.9.9.9"})
        self.d.start()
        refused = socket.socket()
        refused.bind(("127.0.0.1", 0))
        refused.settimeout(60)
        refused.connect(("127.0.0.1", port))
        self.addCleanup(refused.close)
        try:
            refused.sendall(b"PC1\nfrom a computer not listed")
            refused.shutdown(socket.SHUT_WR)
            self.assertEqual(refused.recv(1), b"")  # closed, and nothing said
        except OSError:
            pass  # reset, or already closed: refused either way
        listed = socket.socket()
        listed.bind(("127.0.0.2", 0))
        listed.connect(("127.0.0.1", port))
        listed.sendall(b"PC2\nfrom a listed computer")
        listed.close()
        notes = self.d.wait_notes(lambda n: any(x.text == "from a listed computer" for x in n),
                                  "the listed computer's note")
        self.assertEqual([n.text for n in notes], ["from a listed computer"])
        self.assertEqual(self.d.messages(), [])
