#!/usr/bin/env python3
"""The Debian package's installed tree, run as its menu entry runs it:
dpkg-deb -x into a temporary root, then the entry's Exec from that root's
usr/bin, on the end-to-end stage (tests/e2e/stage.py). The window shows with
the entry's StartupWMClass, the default alarm.wav plays, the web view plugin
loads from the library folder, and alarm.ini is written into the per-user
data folder while the installed tree stays untouched, also as root.

    tests/package/run_installed.py build/deb/neloclock_2.1.0_amd64.deb
"""

import array
import configparser
import datetime
import glob
import os
import subprocess
import sys
import tempfile
import time
import wave

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from stage import CHANNELS, RATE, Stage, spawn, wait_until  # noqa: E402


def loud_seconds(samples, channels, rate):
    loud = [i for i, value in enumerate(samples) if abs(value) > 328]
    return (loud[-1] - loud[0]) / channels / rate if loud else 0.0


def tree(root):
    """Every path under root with its modification time: a file made and
    removed again still changes its folder's."""
    return sorted((os.path.join(folder, name), os.lstat(os.path.join(folder, name)).st_mtime_ns)
                  for folder, folders, files in os.walk(root) for name in folders + files)


def main(deb):
    logs = os.path.join(os.path.dirname(os.path.abspath(deb)), "installed-run")
    os.makedirs(logs, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="neloclock-deb-") as root:
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        entry = configparser.ConfigParser(interpolation=None)
        entry.read(glob.glob(root + "/usr/share/applications/*.desktop"), encoding="utf-8")
        entry = entry["Desktop Entry"]
        program = os.path.join(root, "usr/bin", entry["Exec"])
        chime = os.path.join(root, "usr/share/neloclock/alarm.wav")
        plugin = glob.glob(root + "/usr/lib/*/neloclock/libneloclock_webview.so")
        stage = Stage(program, chime, logs)
        stage.start()
        try:
            data = stage.path("data")
            os.makedirs(os.path.join(data, entry["Exec"]))  # named after the executable
            # A sound alarm due in this minute fires in the first scan.
            if datetime.datetime.now().second > 50:
                time.sleep(11)
            line = datetime.datetime.now().strftime("%Y-%m-%d %H:%M:%S") + "|声音提醒||"
            alarms = os.path.join(data, entry["Exec"], "alarm.ini")
            with open(alarms, "wb") as out:
                out.write(line.encode("gb18030") + b"\r\n")
            before = tree(root)
            started = time.monotonic()
            run = spawn([program], dict(stage.program_env(), XDG_DATA_HOME=data), os.path.join(logs, "program.log"))
            # With an alarm loaded it starts in the notification area.
            icon = wait_until(stage.tray_icons, 30, "the tray icon")[0]
            print("tray icon after %.1f s" % (time.monotonic() - started))
            with wave.open(chime) as wav:
                played = loud_seconds(array.array("h", wav.readframes(wav.getnframes())), wav.getnchannels(),
                                      wav.getframerate())
            wait_until(lambda: loud_seconds(stage.recording(0), CHANNELS, RATE), 30, "the default chime")
            mark = stage.audio_mark()
            wait_until(lambda: stage.audio_mark() - mark > (played + 1) * RATE * CHANNELS * 2, 10, "the chime's end")
            heard = loud_seconds(stage.recording(0), CHANNELS, RATE)
            print("chime of %.2f s heard for %.2f s" % (played, heard))
            assert abs(heard - played) < 0.15, (heard, played)

            wait_until(lambda: open(alarms, "rb").read() == b"\r\n", 10, "the fired alarm gone from alarm.ini")
            with open("/proc/%d/maps" % run.pid) as maps:
                assert plugin and plugin[0] in maps.read(), "the web view plugin is not loaded"
            stage.click(icon[0] + icon[2] / 2, icon[1] + icon[3] / 2)
            window = wait_until(lambda: [w for w in stage.windows(run.pid) if stage.run(
                "xdotool", "getwindowname", str(w), check=False).startswith(entry["Name"])], 10, "the main window")[0]
            wm_class = stage.run("xprop", "-id", str(window), "WM_CLASS")
            assert wm_class.rstrip().endswith('"%s"' % entry["StartupWMClass"]), wm_class
            time.sleep(1)
            stage.screenshot(os.path.join(logs, "installed.png"))
            assert tree(root) == before, "the program wrote into its installed tree"
            print("as %s: alarm.ini in %s, nothing beside the executable"
                  % ("root" if os.geteuid() == 0 else "user %d" % os.geteuid(), os.path.dirname(alarms)))
        finally:
            stage.stop()


if __name__ == "__main__":
    main(sys.argv[1])
