#!/usr/bin/env python3
"""Start-up and exit of the built program as a user meets them, beside Xpad.

For each size, on a fresh Xvfb with openbox and a tray host and a home of its
own, the program starts with that many visible notes. Counted on the X server:
the time to the tray icon, to the first note mapped and to all notes mapped
(the window manager's client list), then the program's own CPU time, its RSS,
and the time from SIGTERM to exit. Xpad (Debian's xpad) runs the same way with
the same number of notes as the reference.

Usage: bench/desktop_startup.py [sizes...]     (default 100 1000 10000)
       QUILLET_BINARY=build/quillet; XPAD=0 leaves Xpad out; UNTIL=tray stops at the tray icon.
"""
import os
import random
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "desktop"))
import quillet_desktop as qd  # noqa: E402

DEADLINE = 1800
# UNTIL=tray stops a run once the tray icon and the first note are there, after
# asking for the tray icon's menu.
UNTIL_TRAY = os.environ.get("UNTIL") == "tray"
# Extra settings for the program, e.g. QUILLET_SETTINGS="AllWorkspaces=0".
EXTRA_SETTINGS = {"Settings/" + k: v for k, v in
                  (kv.split("=", 1) for kv in os.environ.get("QUILLET_SETTINGS", "").split(",") if "=" in kv)}
TICKS = os.sysconf("SC_CLK_TCK")


def client_count(d):
    """Managed top-level windows, from the window manager's _NET_CLIENT_LIST."""
    out = d.x(["xprop", "-root", "-notype", "_NET_CLIENT_LIST"], check=False)
    if "#" not in out:
        return 0
    return len([w for w in out.split("#", 1)[1].split(",") if w.strip()])


def tray_children(d):
    """Windows embedded in the tray host: a tray icon adds one."""
    count = 0
    for tray in d.x(["xdotool", "search", "--class", "trayer"], check=False).split():
        out = d.x(["xwininfo", "-children", "-id", tray], check=False)
        for line in out.splitlines():
            if "child" in line and "children" in line and ":" in line:
                words = line.split()
                if words and words[0].isdigit():
                    count += int(words[0])
    return count


def tray_icon_point(d):
    """The middle of the newest window embedded in the tray host, in root coordinates.

    The desktop suite's tray_point() looks through every window of the program,
    which takes minutes with tens of thousands of notes; the tray host has few."""
    for tray in d.x(["xdotool", "search", "--class", "trayer"], check=False).split():
        ids = [w for w in d.x(["xwininfo", "-children", "-id", tray], check=False).split() if w.startswith("0x")]
        for wid in reversed(ids[1:]):  # the first is the tray host itself
            g = d.geometry(int(wid, 16))
            if g and g[2] <= 64:
                return g[0] + g[2] // 2, g[1] + g[3] // 2
    return None


def pixels(d, x, y, w, h):
    return subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "rgb:-"],
                          env=d.env, capture_output=True, timeout=60).stdout


def menu_answer(d, t0):
    """Right-clicks the tray icon and waits until its menu is drawn above it:
    the time of the click from the start, and from the click to the menu.

    No note lies near the tray (notes are placed within 1,260 x 760), so the
    pixels there change only when the menu opens."""
    point = tray_icon_point(d)
    if not point:
        return float("nan")
    x, y = point
    area = (max(0, x - 120), max(0, y - 120), 100, 100)
    before = pixels(d, *area)
    d.xdotool("mousemove", x, y)
    d.xdotool("click", 3)
    clicked = time.monotonic()
    while time.monotonic() - t0 < DEADLINE:
        if pixels(d, *area) != before:
            answered = time.monotonic()
            d.xdotool("key", "Escape")
            return clicked - t0, answered - clicked
    return float("nan"), float("nan")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def measure(d, argv, env, expected):
    """Starts argv, waits for its tray icon and all its windows, then SIGTERMs it."""
    clients_before = client_count(d)
    tray_before = tray_children(d)
    tray = lambda: tray_children(d) > tray_before
    count_clients = lambda: client_count(d) - clients_before
    t0 = time.monotonic()
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    d.procs.append(proc)
    r = {}
    while time.monotonic() - t0 < DEADLINE:
        now = time.monotonic() - t0
        if "tray" not in r and tray():
            r["tray"] = now
        n = count_clients()
        if n and "first" not in r:
            r["first"] = now
        if n >= expected:
            r["all"] = now
            break
        if UNTIL_TRAY and "tray" in r and "first" in r:
            # The menu of the icon, asked for at once, while the notes are still being shown.
            clicked, r["menu"] = menu_answer(d, t0)
            r["shown"] = count_clients()
            print("# tray icon %.2f s; right-clicked %.2f s after the start, menu drawn %.2f s later;"
                  " %d notes shown by then" % (r["tray"], clicked, r["menu"], r["shown"]), file=sys.stderr, flush=True)
            break
        if proc.poll() is not None:
            # Gone before all its windows were shown: say so rather than wait out the deadline.
            print("# %s ended with %s after %.1f s, %d windows shown" % (argv[0], proc.returncode, now, n),
                  file=sys.stderr, flush=True)
            break
        time.sleep(0.05)
    r.setdefault("all", float("nan"))
    if proc.poll() is not None:
        r.update(cpu=float("nan"), rss=float("nan"), exit=float("nan"))
        return r
    r["cpu"] = cpu_seconds(proc.pid)
    r["rss"] = rss_mb(proc.pid)
    t = time.monotonic()
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(120)
        r["exit"] = time.monotonic() - t
    except subprocess.TimeoutExpired:
        proc.kill()
        r["exit"] = float("nan")
    return r


def quillet_run(n):
    d = qd.Desktop()
    try:
        rng = random.Random(n)
        d.write_notes([qd.make_record("note %d" % i, (rng.randrange(0, 1100), rng.randrange(0, 700), 160, 60))
                       for i in range(n)])
        d.write_settings(dict({"Settings/NetEnable": 0, "Settings/Autostart": 0}, **EXTRA_SETTINGS))
        return measure(d, [os.path.abspath(qd.BINARY)], dict(d.env), n)
    finally:
        d.close()


def xpad_run(n):
    d = qd.Desktop()
    try:
        cfg = os.path.join(d.home, "config", "xpad")
        os.makedirs(cfg)
        rng = random.Random(n)
        for i in range(n):
            name = "%06d" % i
            with open(os.path.join(cfg, "content-" + name), "w") as f:
                f.write("note %d" % i)
            with open(os.path.join(cfg, "info-" + name), "w") as f:
                f.write("width 160\nheight 60\nx %d\ny %d\nfollow_font 1\nfollow_color 1\nsticky 0\nhidden 0\n"
                        "content content-%s\n" % (rng.randrange(0, 1100), rng.randrange(0, 700), name))
        return measure(d, ["xpad"], dict(d.env), n)
    finally:
        d.close()


def row(label, r, n):
    return "| %s | %6d | %6.2f | %6.2f | %7.2f | %6.2f | %6.1f | %5.2f |" % (
        label, n, r.get("tray", float("nan")), r.get("first", float("nan")), r["all"], r["cpu"], r["rss"], r["exit"])


def main():
    sizes = [int(a) for a in sys.argv[1:]] or [100, 1000, 10000]
    with_xpad = os.environ.get("XPAD", "1") != "0" and shutil.which("xpad")
    print("| program | notes | tray s | first s | all s | CPU s | RSS MB | exit s |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|")
    for n in sizes:
        q = quillet_run(n)
        print(row("Quillet", q, n), flush=True)
        if with_xpad:
            x = xpad_run(n)
            print(row("Xpad", x, n), flush=True)
            print("| ratio (Xpad ÷ Quillet, all mapped) | %d | | | %.1f× | %.1f× | %.1f× | |"
                  % (n, x["all"] / q["all"], x["cpu"] / max(q["cpu"], 0.01), x["rss"] / max(q["rss"], 0.01)), flush=True)


if __name__ == "__main__":
    main()
