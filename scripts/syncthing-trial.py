#!/usr/bin/env python3
"""Two Quillets on one data file kept in step by two real Syncthing instances.

Each Quillet runs on a desktop of its own (Xvfb, openbox, a tray), with its
data file in a folder that its own Syncthing instance shares with the other
over loopback. The trial makes notes on each side through the program's own
editor, times how long each took to appear on the other side (on disk and
on screen), changes one note on both sides at the same moment and reports
what each side then holds. Needs Debian's syncthing; prints a report and
exits 1 when a note was lost.

Usage: scripts/syncthing-trial.py   (after scripts/build.sh)
"""
import copy
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "desktop"))
from quillet_desktop import Desktop, make_record, wait_until, write_data_file  # noqa: E402

SYNC_DEADLINE = 120


def syncthing_home(base, name, listen_port, gui_port):
    home = os.path.join(base, "syncthing-" + name)
    out = subprocess.run(["syncthing", "generate", "--home=" + home, "--no-default-folder"],
                         capture_output=True, text=True, check=True).stdout
    device = out.split("Device ID:")[1].split()[0] if "Device ID:" in out else subprocess.run(
        ["syncthing", "serve", "--home=" + home, "--device-id"], capture_output=True, text=True).stdout.strip()
    return {"home": home, "device": device, "listen": listen_port, "gui": gui_port, "name": name}


def write_config(me, other, folder_path):
    path = os.path.join(me["home"], "config.xml")
    tree = ET.parse(path)
    root = tree.getroot()
    for d in root.findall("device"):
        d.find("address").text = "tcp://127.0.0.1:%d" % me["listen"]
    peer = ET.SubElement(root, "device", id=other["device"], name=other["name"], compression="metadata",
                         introducer="false", skipIntroductionRemovals="false", introducedBy="")
    ET.SubElement(peer, "address").text = "tcp://127.0.0.1:%d" % other["listen"]
    ET.SubElement(peer, "paused").text = "false"
    ET.SubElement(peer, "autoAcceptFolders").text = "false"
    # The folder as Syncthing's own defaults make one (conflict copies kept and all).
    folder = copy.deepcopy(root.find("defaults/folder"))
    folder.attrib.update(id="quillet", label="Quillet", path=folder_path, rescanIntervalS="10", fsWatcherDelayS="1")
    for d in folder.findall("device"):
        folder.remove(d)
    for dev in reversed((me["device"], other["device"])):
        d = ET.Element("device", id=dev, introducedBy="")
        ET.SubElement(d, "encryptionPassword")
        folder.insert(1, d)
    root.insert(list(root).index(root.find("device")), folder)
    gui = root.find("gui")
    gui.find("address").text = "127.0.0.1:%d" % me["gui"]
    opts = root.find("options")
    for key, value in {"listenAddress": "tcp://127.0.0.1:%d" % me["listen"], "globalAnnounceEnabled": "false",
                       "localAnnounceEnabled": "false", "relaysEnabled": "false", "natEnabled": "false",
                       "startBrowser": "false", "urAccepted": "-1", "crashReportingEnabled": "false",
                       "autoUpgradeIntervalH": "0", "reconnectionIntervalS": "1"}.items():
        opts.find(key).text = value
    tree.write(path)


def texts(notes):
    return sorted(n.text for n in (notes or []))


def main():
    if not shutil.which("syncthing"):
        sys.exit("syncthing is not installed (apt-get install syncthing)")
    base = tempfile.mkdtemp(prefix="quillet-syncthing-")
    procs, desktops = [], []
    report = []
    lost = False
    try:
        a = syncthing_home(base, "anna", 22101, 8391)
        b = syncthing_home(base, "ben", 22102, 8392)
        folders = {s["name"]: os.path.join(base, "sync-" + s["name"]) for s in (a, b)}
        for s in (a, b):
            os.makedirs(folders[s["name"]])
        write_config(a, b, folders["anna"])
        write_config(b, a, folders["ben"])
        env = dict(os.environ, STNOUPGRADE="1", STNORESTART="1")
        for s in (a, b):
            log = open(os.path.join(base, s["name"] + "-syncthing.log"), "w")
            procs.append(subprocess.Popen(["syncthing", "serve", "--no-browser", "--home=" + s["home"]],
                                          stdout=log, stderr=subprocess.STDOUT, env=env))
        # One note to begin with, on Anna's side; Ben's Syncthing brings it over.
        data = {name: os.path.join(folder, "Quillet.dat") for name, folder in folders.items()}
        write_data_file(data["anna"], [make_record("shared", (100, 100, 220, 80))])
        t0 = time.monotonic()
        wait_until(lambda: os.path.exists(data["ben"]), "the first file synced to Ben", SYNC_DEADLINE)
        report.append("first sync of the data file: %.1f s" % (time.monotonic() - t0))

        sides = {}
        for name in ("anna", "ben"):
            d = Desktop()
            desktops.append(d)
            d.write_settings({"Settings/FileNotes": data[name]})
            d.start()
            d.note_window("shared")
            sides[name] = d

        def new_note(d, text):
            d.tray_menu()
            d.key("n")
            d.editor()
            d.key("ctrl+a")
            d.type(text)
            d.key("ctrl+Return")

        def travel(src, dst, text):
            new_note(sides[src], text)
            sides[src].wait_notes(lambda n: text in [x.text for x in n], "the note on disk at " + src, path=data[src])
            t = time.monotonic()
            sides[dst].wait_notes(lambda n: text in [x.text for x in n], "the note on disk at " + dst,
                                  path=data[dst], timeout=SYNC_DEADLINE)
            on_disk = time.monotonic() - t
            sides[dst].note_window(text)
            on_screen = time.monotonic() - t
            report.append("'%s' %s -> %s: %.1f s to the other file, %.1f s to the other screen"
                          % (text, src, dst, on_disk, on_screen))

        for i in range(3):
            travel("anna", "ben", "from Anna %d" % i)
            travel("ben", "anna", "from Ben %d" % i)

        # Both change the same note at the same moment.
        for name in ("anna", "ben"):
            sides[name].open_editor("shared")
        for name in ("anna", "ben"):
            sides[name].type("shared, changed by " + name)
        for name in ("anna", "ben"):
            sides[name].key("ctrl+Return")
        wanted = {"shared, changed by anna", "shared, changed by ben"}

        def settled():
            got = [set(texts(sides[n].notes(data[n]))) for n in ("anna", "ben")]
            copies = [f for f in os.listdir(folders["anna"]) + os.listdir(folders["ben"]) if "sync-conflict" in f]
            return (got, copies) if got[0] == got[1] and wanted <= got[0] else None

        t = time.monotonic()
        seen = {}

        answered = {"anna": 0, "ben": 0}

        def settled_and_traced():
            # Syncthing's conflict copy is offered for import on each side: the user says yes.
            for n in ("anna", "ben"):
                offers = [m for m in sides[n].messages() if m.startswith("A sync tool left")]
                if len(offers) > answered[n]:
                    sides[n].message_box("A sync tool left")
                    sides[n].key("Return")
                    answered[n] += 1
                    report.append("  %5.1f s %s was offered: %s" % (time.monotonic() - t, n, offers[-1]))
            # Every state each file passes through, for the report.
            for n in ("anna", "ben"):
                now = tuple(texts(sides[n].notes(data[n])))
                if seen.get(n) != now:
                    seen[n] = now
                    report.append("  %5.1f s %s's file: %s" % (time.monotonic() - t, n, [x for x in now if x.startswith("shared")]))
            return settled()

        try:
            got, copies = wait_until(settled_and_traced, "both sides alike with both changes", SYNC_DEADLINE)
            report.append("simultaneous change: both sides alike after %.1f s, holding %s; conflict copies: %s"
                          % (time.monotonic() - t, sorted(got[0]), copies or "none"))
            for name in ("anna", "ben"):
                report.append("  %s was told: %s" % (name, sides[name].messages() or "nothing"))
        except Exception as e:
            lost = True
            report.append("simultaneous change: %s; Anna holds %s, Ben holds %s"
                          % (e, texts(sides["anna"].notes(data["anna"])), texts(sides["ben"].notes(data["ben"]))))
            for name in ("anna", "ben"):
                report.append("  %s was told: %s; folder: %s" % (name, sides[name].messages() or "nothing",
                                                                  os.listdir(folders[name])))

        expected = {"from Anna %d" % i for i in range(3)} | {"from Ben %d" % i for i in range(3)}
        for name in ("anna", "ben"):
            sides[name].terminate()
            missing = expected - set(texts(sides[name].notes(data[name])))
            if missing:
                lost = True
                report.append("%s lost %s" % (name, sorted(missing)))
    finally:
        for d in desktops:
            d.close()
        for p in procs:
            p.send_signal(signal.SIGTERM)
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()
        print("\n".join(report))
        print("(files kept in %s)" % base)
    sys.exit(1 if lost else 0)


if __name__ == "__main__":
    main()
