"""A throwaway desktop for driving the built program from outside.

Each test gets an X server of its own (Xvfb on a free display), a window
manager, a tray host and a home folder of its own. The program runs as a
separate process; the test moves the mouse and types through XTest
(xdotool), finds windows on the X server by their titles, and reads what the
user keeps: the data file, the settings file, window geometry and pixels.
Nothing here waits a fixed time: every wait polls for the event that matters
under a generous deadline that only ends a test that would otherwise hang.
"""

import configparser
import ctypes
import os
import random
import re
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import time
import unittest

BINARY = os.environ.get("QUILLET_BINARY", "build/quillet")
SCREEN_W, SCREEN_H = 1280, 800
DEADLINE = float(os.environ.get("QUILLET_DESKTOP_DEADLINE", "60"))


class Timeout(AssertionError):
    pass


def _die_with_the_test():
    # A test killed from outside (ctest's time-out) leaves no X server or
    # program behind: each child is told to end when its parent does.
    try:
        ctypes.CDLL("libc.so.6", use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except OSError:
        pass


def wait_until(condition, what, timeout=DEADLINE, interval=0.05):
    """Polls until condition() returns something true and returns it."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Timeout("timed out waiting for " + what)
        time.sleep(interval)


def free_port():
    while True:
        port = random.randint(20000, 59999)
        with socket.socket() as s:
            try:
                s.bind(("0.0.0.0", port))
                return port
            except OSError:
                continue


# ---------------------------------------------------------------- data file

HEADER = 12
RECORD = 2864
NULL_DATE = struct.pack("<dI", 0.0, 2)


def ole_now(offset_seconds=0.0):
    """Local time as days since 1899-12-30, as the data file keeps it."""
    t = time.time() + offset_seconds
    lt = time.localtime(t)
    local = t + lt.tm_gmtoff
    return local / 86400.0 + 25569.0


def make_record(text, rect=(200, 200, 160, 60), back=0x0080FFFF, text_color=0, border=0,
                alarm=None, alarm_type=0, alarm_action=0, alarm_exec="", folder="", hide_mode=0, modified=None):
    """A version-10 record; alarm is a local time in days (see ole_now), type 0 rings once."""
    r = bytearray(RECORD)
    raw = text.replace("\n", "\r\n").encode("utf-8")[:2047]
    r[0:len(raw)] = raw
    struct.pack_into("<iiii", r, 2048, *rect)
    r[2064:2076] = struct.pack("<dI", alarm, 0) if alarm is not None else NULL_DATE
    r[2076:2088] = struct.pack("<dI", alarm, 0) if alarm is not None else NULL_DATE
    struct.pack_into("<HhH", r, 2088, alarm_type, 0, alarm_action)
    e = alarm_exec.encode("utf-8")
    r[2094:2094 + len(e)] = e
    r[2608:2620] = NULL_DATE
    struct.pack_into("<H", r, 2620, hide_mode)
    r[2624:2636] = struct.pack("<dI", ole_now() if modified is None else modified, 0)
    struct.pack_into("<IIII", r, 2636, 0, text_color, back, border)
    # A LOGFONT: 16 px Liberation Sans, normal weight.
    struct.pack_into("<iiiii", r, 2652, -16, 0, 0, 0, 400)
    face = b"Liberation Sans"
    r[2652 + 28:2652 + 28 + len(face)] = face
    struct.pack_into("<H", r, 2712, 0)
    struct.pack_into("<II", r, 2716, 0, 255)
    r[2788:2800] = NULL_DATE
    f = folder.encode("utf-8")
    r[2800:2800 + len(f)] = f
    return bytes(r)


def write_data_file(path, records):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"Quillet\0" + struct.pack("<HH", 10, len(records)))
        for r in records:
            f.write(r)


class Note:
    def __init__(self, rec):
        self.raw = rec
        self.text = rec[:2047].split(b"\0", 1)[0].decode("utf-8", "replace")
        self.rect = struct.unpack_from("<iiii", rec, 2048)
        alarm, status = struct.unpack_from("<dI", rec, 2064)
        self.alarm = None if status != 0 else alarm
        self.alarm_type, self.alarm_every, self.alarm_action = struct.unpack_from("<HhH", rec, 2088)
        self.hide_mode = struct.unpack_from("<H", rec, 2620)[0]
        self.on_top = struct.unpack_from("<I", rec, 2636)[0]
        self.color_text, self.color_back, self.color_border = struct.unpack_from("<III", rec, 2640)
        self.folder = rec[2800:2864].split(b"\0", 1)[0].decode("utf-8", "replace")
        self.received_from = rec[2724:2788].split(b"\0", 1)[0].decode("utf-8", "replace")

    def __repr__(self):
        return "Note(%r, %r)" % (self.text, self.rect)


def read_data_file(path):
    """The notes of a version-10 file, or None while it is missing or incomplete."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        return None
    if len(data) < HEADER or data[:8] != b"Quillet\0":
        return None
    version, count = struct.unpack_from("<HH", data, 8)
    if version != 10 or len(data) < HEADER + count * RECORD:
        return None
    return [Note(data[HEADER + i * RECORD:HEADER + (i + 1) * RECORD]) for i in range(count)]


# ---------------------------------------------------------------- the desktop

class Desktop:
    """Xvfb, a window manager and a tray host; stops exactly what it started."""

    def __init__(self, wm="openbox", tray=True):
        self.home = tempfile.mkdtemp(prefix="quillet-desktop-")
        self.procs = []
        self.quillet = None
        self.log_path = os.path.join(self.home, "quillet.log")
        self.display = self._start_x()
        self.env = dict(os.environ)
        for k in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "QUILLET_NONINTERACTIVE", "SESSION_MANAGER"):
            self.env.pop(k, None)
        self.env.update({
            "DISPLAY": self.display,
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_DATA_HOME": os.path.join(self.home, "data"),
            "XDG_RUNTIME_DIR": os.path.join(self.home, "run"),
            "XDG_SESSION_TYPE": "x11",
            "LANG": "en_US.UTF-8",
            "LC_ALL": "en_US.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
        })
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        if wm:
            argv = [wm] + (["--sm-disable"] if wm == "openbox" else [])
            self._wm = self._spawn(argv)

            def wm_up():
                # A window manager that gave up at once (seen once under load)
                # is started again rather than waited for in vain.
                if self._wm.poll() is not None:
                    self._wm = self._spawn(argv)
                return self._wm_running()

            wait_until(wm_up, "the window manager")
        if tray:
            self.start_tray()

    def _start_x(self):
        r, w = os.pipe()
        p = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "%dx%dx24" % (SCREEN_W, SCREEN_H),
                              "-nolisten", "tcp", "+extension", "XTEST"],
                             pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             preexec_fn=_die_with_the_test)
        os.close(w)
        self.procs.append(p)
        number = b""
        with os.fdopen(r, "rb") as f:
            while not number.endswith(b"\n"):
                c = f.read(1)
                if not c:
                    raise RuntimeError("Xvfb did not start")
                number += c
        return ":" + number.decode().strip()

    def _spawn(self, argv, **kw):
        p = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             preexec_fn=_die_with_the_test, **kw)
        self.procs.append(p)
        return p

    def _wm_running(self):
        out = self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return "window id" in out

    def start_tray(self):
        self.tray = self._spawn(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "24",
                     "--transparent", "false", "--tint", "0x404040", "--SetDockType", "true"])
        wait_until(lambda: self.tray_available(), "the tray host")

    def close_tray(self):
        self.tray.terminate()
        self.tray.wait(DEADLINE)
        wait_until(lambda: not self.tray_available(), "the tray host gone")

    def tray_available(self):
        screen = self.display.split(".")[-1] if "." in self.display else "0"
        out = self.x(["xprop", "-root", "-notype"], check=False)
        return "_NET_SYSTEM_TRAY" in out or self._selection_owned("_NET_SYSTEM_TRAY_S" + screen)

    def _selection_owned(self, name):
        # xdotool cannot ask for a selection owner; trayer names its window.
        return bool(self.x(["xdotool", "search", "--classname", "trayer"], check=False).strip())

    # -------------------------------------------------------- X helpers

    def x(self, argv, check=True):
        p = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=DEADLINE)
        if check and p.returncode != 0:
            raise RuntimeError("%s failed: %s" % (" ".join(argv), p.stderr.strip()))
        return p.stdout

    def xdotool(self, *args):
        return self.x(["xdotool"] + [str(a) for a in args])

    def windows(self, name_regex, only_visible=True):
        argv = ["xdotool", "search"] + (["--onlyvisible"] if only_visible else []) + ["--name", name_regex]
        out = self.x(argv, check=False)
        return [int(w) for w in out.split()]

    def window(self, name_regex, what=None):
        return wait_until(lambda: (self.windows(name_regex) or [None])[0], what or "a window named " + name_regex)

    def no_window(self, name_regex, what=None):
        return wait_until(lambda: not self.windows(name_regex), what or "no window named " + name_regex)

    def title(self, wid):
        return self.x(["xdotool", "getwindowname", str(wid)], check=False).strip()

    def geometry(self, wid):
        """The window's client area on the screen: (x, y, width, height)."""
        out = self.x(["xwininfo", "-id", str(wid)], check=False)
        vals = {}
        for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
            m = re.search(key + r":\s+(-?\d+)", out)
            if not m:
                return None
            vals[key] = int(m.group(1))
        return (vals["Absolute upper-left X"], vals["Absolute upper-left Y"], vals["Width"], vals["Height"])

    def center(self, wid):
        x, y, w, h = self.geometry(wid)
        return x + w // 2, y + h // 2

    def active_window(self):
        out = self.x(["xdotool", "getactivewindow"], check=False).strip()
        return int(out) if out else None

    def pixel(self, x, y):
        """The colour at a screen point as (r, g, b)."""
        out = self.x(["import", "-display", self.display, "-window", "root", "-crop", "1x1+%d+%d" % (x, y),
                      "-depth", "8", "txt:-"])
        m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
        return tuple(int(v) for v in m.groups())

    def region(self, x, y, w, h):
        """The pixels of a screen rectangle, as rows of (r, g, b)."""
        p = subprocess.run(["import", "-display", self.display, "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                            "-depth", "8", "rgb:-"], env=self.env, capture_output=True, timeout=DEADLINE, check=True)
        data = p.stdout
        return [[tuple(data[(r * w + c) * 3:(r * w + c) * 3 + 3]) for c in range(w)] for r in range(h)]

    def screenshot(self, path):
        self.x(["import", "-display", self.display, "-window", "root", path])

    def mouse(self):
        out = self.xdotool("getmouselocation", "--shell")
        vals = dict(l.split("=", 1) for l in out.split())
        return int(vals["X"]), int(vals["Y"])

    def move_mouse(self, x, y):
        # xdotool's own --sync waits for a motion event that never comes when
        # the pointer is already there; wait for the position instead.
        self.xdotool("mousemove", x, y)
        wait_until(lambda: self.mouse() == (x, y), "the pointer at %d, %d" % (x, y))

    def click(self, x, y, button=1, repeat=1):
        self.move_mouse(x, y)
        self.xdotool("click", "--repeat", repeat, "--delay", 80, button)

    def double_click(self, x, y):
        self.click(x, y, 1, 2)

    def drag(self, x0, y0, x1, y1, steps=8):
        self.move_mouse(x0, y0)
        self.xdotool("mousedown", 1)
        for i in range(1, steps + 1):
            self.move_mouse(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        self.xdotool("mouseup", 1)

    def key(self, *keys, window=None):
        args = ["key", "--delay", 40]
        if window:
            args += ["--window", window]
        self.xdotool(*(args + list(keys)))

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    def activate(self, wid):
        """Gives a window the keyboard, as a click on its title would, and waits until it has it."""
        def active():
            if self.focus_is_in(wid):
                return True
            self.x(["xdotool", "windowactivate", str(wid)], check=False)
            return False
        wait_until(active, "the keyboard in window %d" % wid, interval=0.2)

    def press_in(self, wid, *keys):
        self.activate(wid)
        self.key(*keys)

    def focus_is_in(self, wid):
        return self.active_window() == wid

    # -------------------------------------------------------- the program

    @property
    def config_path(self):
        return os.path.join(self.home, "config", "Brisko", "Quillet.conf")

    @property
    def data_path(self):
        return os.path.join(self.home, "data", "Brisko", "Quillet", "Quillet.dat")

    def write_settings(self, values):
        """values: {"Section/Key": value}; merged into the settings file."""
        cfg = configparser.RawConfigParser()
        cfg.optionxform = str
        if os.path.exists(self.config_path):
            cfg.read(self.config_path, encoding="utf-8")
        for k, v in values.items():
            section, key = k.split("/", 1)
            if not cfg.has_section(section):
                cfg.add_section(section)
            cfg.set(section, key, str(v))
        os.makedirs(os.path.dirname(self.config_path), exist_ok=True)
        with open(self.config_path, "w", encoding="utf-8") as f:
            cfg.write(f, space_around_delimiters=False)

    def read_settings(self):
        cfg = configparser.RawConfigParser(strict=False)
        cfg.optionxform = str
        cfg.read(self.config_path, encoding="utf-8")
        return cfg

    def setting(self, key, default=None):
        section, name = key.split("/", 1)
        cfg = self.read_settings()
        return cfg.get(section, name, fallback=default)

    def write_notes(self, records, path=None):
        write_data_file(path or self.data_path, records)

    def notes(self, path=None):
        return read_data_file(path or self.data_path)

    def wait_notes(self, condition, what, path=None, timeout=DEADLINE):
        """Waits until the data file's notes satisfy condition(notes)."""
        def check():
            n = self.notes(path)
            return n if n is not None and condition(n) else None
        return wait_until(check, what, timeout)

    def start(self, args=(), network=False, wait_tray=True, extra_env=None):
        """Starts the program; by default without the network listener."""
        # Titles name the notes on the X server; the listener only where a test asks.
        defaults = {"Settings/NetEnable": 1 if network else 0, "Settings/WindowTitles": 1}
        self.write_settings({k: v for k, v in defaults.items() if self.setting(k) is None})
        env = dict(self.env)
        env.update(extra_env or {})
        log = open(self.log_path, "ab")
        self.quillet = subprocess.Popen([BINARY] + list(args), env=env, stdout=log, stderr=log,
                                        preexec_fn=_die_with_the_test)
        self.procs.append(self.quillet)
        if wait_tray:
            self.tray_icon()
        return self.quillet

    def tray_icon(self):
        """The tray icon's window, embedded in the tray host."""
        def find():
            for wid in self.quillet_windows(only_visible=False):
                g = self.geometry(wid)
                if g and g[2] <= 64 and g[1] > SCREEN_H - 64:
                    return wid
            return None
        return wait_until(find, "the tray icon")

    def tray_point(self):
        x, y, w, h = self.geometry(self.tray_icon())
        return x + w // 2, y + h // 2

    def tray_menu(self):
        """Opens the tray menu with a right click and returns its window."""
        x, y = self.tray_point()
        # Two presses close together in time and place make a double click:
        # each menu is asked for at another point of the icon.
        self._tray_side = -getattr(self, "_tray_side", 6)
        self.click(x + self._tray_side, y, 3)
        return self.menu()

    def quillet_windows(self, only_visible=True):
        argv = ["xdotool", "search"] + (["--onlyvisible"] if only_visible else []) + ["--classname", "quillet"]
        return [int(w) for w in self.x(argv, check=False).split()]

    def menu(self):
        return wait_until(self._popup, "a menu")

    def _popup(self):
        # Menus are the program's override-redirect windows of some size.
        for wid in self.quillet_windows():
            info = self.x(["xwininfo", "-id", str(wid)], check=False)
            if "Override Redirect State: yes" in info and "Map State: IsViewable" in info:
                g = self.geometry(wid)
                if g and g[2] > 40 and g[3] > 40:
                    return wid
        return None

    def choose(self, *path):
        """Picks menu items by walking with the keyboard to the item's accelerator."""
        for k in path:
            self.key(k)

    def set_clipboard(self, text):
        """Another program puts plain text on the clipboard and keeps offering it."""
        p = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet"], env=self.env, stdin=subprocess.PIPE,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=_die_with_the_test)
        self.procs.append(p)
        p.stdin.write(text.encode("utf-8"))
        p.stdin.close()
        wait_until(lambda: self.clipboard() == text, "the text on the clipboard")

    def clipboard(self):
        p = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env, capture_output=True, timeout=DEADLINE)
        return p.stdout.decode("utf-8", "replace") if p.returncode == 0 else None

    def messages(self):
        """The texts of the message boxes shown so far, from the program's output."""
        found = []
        prefix = "quillet: message: "
        for line in self.log().splitlines():
            if line.startswith(prefix):
                found.append(line[len(prefix):])
            elif found and not line.startswith("quillet:") and not line.startswith("QStandardPaths"):
                found[-1] += "\n" + line  # a message of several lines
        return found

    def message_box(self, text_start):
        """Waits for a message box that says text_start and returns its window."""
        wait_until(lambda: any(m.startswith(text_start) for m in self.messages()), "the message '%s'" % text_start)
        return wait_until(self._dialog, "the message box on screen")

    def _dialog(self):
        for wid in self.windows("^Quillet$"):
            info = self.x(["xwininfo", "-id", str(wid)], check=False)
            g = self.geometry(wid)
            if "Override Redirect State: no" in info and g and g[2] > 60 and g[3] > 40:
                return wid
        return None

    def note_windows(self):
        return self.windows(r"^Quillet[0-9]{4} - ")

    def note_window(self, text_start):
        return self.window(r"^Quillet[0-9]{4} - " + re.escape(text_start), "the note '%s'" % text_start)

    def focused(self, name_regex, what=None):
        """Waits for a window and until it has the keyboard, as a new dialog takes it."""
        wid = self.window(name_regex, what)
        wait_until(lambda: self.focus_is_in(wid), (what or name_regex) + " to take the keyboard")
        return wid

    def from_tray(self, key, name_regex):
        """Picks a tray menu item by its letter and returns the window it opens, with the keyboard."""
        self.tray_menu()
        self.key(key)
        return self.focused(name_regex)

    def open_editor(self, text_start):
        """Double-clicks the note whose text starts so and returns its editor, with the keyboard."""
        self.double_click(*self.center(self.note_window(text_start)))
        return self.editor()

    def close_note_list(self):
        self.key("Escape")
        self.no_window("^Quillet Note List$")

    def editor(self):
        return self.focused("^Quillet Editor$", "the note editor")

    def running(self):
        return self.quillet is not None and self.quillet.poll() is None

    def terminate(self, timeout=DEADLINE):
        """Sends SIGTERM, as the end of a desktop session does, and waits for the exit."""
        self.quillet.send_signal(signal.SIGTERM)
        return self.quillet.wait(timeout)

    def log(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def close(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(10)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        shutil.rmtree(self.home, ignore_errors=True)


class DesktopTest(unittest.TestCase):
    """Each test on a desktop of its own."""
    wm = "openbox"
    tray = True

    def setUp(self):
        self.d = Desktop(self.wm, self.tray)
        self.addCleanup(self._finish)

    def _finish(self):
        failed = any(e for _, e in (self._outcome.result.errors + self._outcome.result.failures)
                     if _ is self) if hasattr(self._outcome, "result") else False
        if failed or os.environ.get("QUILLET_DESKTOP_KEEP"):
            keep = os.path.join(tempfile.gettempdir(), "quillet-desktop-failed-" + self.id().split(".")[-1])
            shutil.rmtree(keep, ignore_errors=True)
            try:
                self.d.screenshot(os.path.join(self.d.home, "at-failure.png"))
            except Exception:
                pass
            shutil.copytree(self.d.home, keep, ignore=shutil.ignore_patterns("run"), dirs_exist_ok=True)
            print("kept the desktop's home in", keep)
            print("program output:\n" + self.d.log())
        self.d.close()
