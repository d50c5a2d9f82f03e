#!/usr/bin/python3
"""NeloClock's end-to-end journeys (README.md), each on a stage of its own:

    run_e2e.py --program build/asan/bin/NeloClock --sound build/asan/bin/alarm.wav \\
               --artifacts build/asan [journey ...]

Logs, screenshots and the recorded chime go to <artifacts>/e2e/<journey>/."""

import argparse
import array
import datetime
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import unittest
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # nothing written into the source tree

from stage import CHANNELS, RATE, SCREEN, Stage, StageError, spawn, wait_until  # noqa: E402

SOURCE = os.path.normpath(os.path.join(HERE, "..", "..", "src"))
MAIN_TITLE = "Nelo闹钟2.1版"
REMINDER_TITLE = "重要提醒"
TYPES = ["声音及附加动作", "声音及文本提醒", "声音提醒", "文本框提醒", "附加动作"]
ACTIONS = ["打开开心农场", "打开QQ农场", "打开其他农场", "关闭电脑"]
START_TIMEOUT = 120  # the sanitizer build and its web view, on two cores
SCAN_DEADLINE = 3.0 + 1.0  # one scan period, plus input delivery and polling
OPTIONS = argparse.Namespace()
STAGES = []


def px(twips):
    return (twips * 2 + 15) // 30


def read_controls():
    """(left, top, width, height) in pixels inside the main window's client
    area, from the table the program lays its controls out with."""
    with open(os.path.join(SOURCE, "app", "control_table.h"), encoding="utf-8") as header:
        table = {name: (container, *map(int, numbers)) for name, container, *numbers in re.findall(
            r'\{u"(\w+)", u"(\w+)", (-?\d+), (-?\d+), (\d+), (\d+)\}', header.read())}
    # Each rounded on its own, as the program rounds them.
    return {name: (px(left) + (px(table[box][1]) if box != "frmMain" else 0),
                   px(top) + (px(table[box][2]) if box != "frmMain" else 0), px(width), px(height))
            for name, (box, left, top, width, height) in table.items()}


CONTROLS = read_controls()
REMINDER_BUTTON = (1335, 630, 1320, 450)  # "我知道了", in the reminder window's 3900x1185 twips


def loud_seconds(samples, channels, rate):
    """From the first to the last sample above 1 % of full scale; the
    capture's silence is exact zeros."""
    loud = [i for i, value in enumerate(samples) if abs(value) > 328]
    return (loud[-1] - loud[0]) / channels / rate if loud else 0.0


def due_of(line):
    return datetime.datetime(*map(int, re.findall(r"\d+", line.split("|")[0])))


def now():
    return datetime.datetime.now().replace(microsecond=0)


class Run:
    """One start of the program, driven with the mouse and the keys."""

    def __init__(self, journey, label):
        self.journey, self.stage, self.label = journey, journey.stage, label
        self.log = os.path.join(journey.folder, label + ".log")
        self.popen = spawn([self.stage.program], self.stage.program_env(), self.log, cwd=self.stage.path("home"))
        self.started = time.monotonic()

    def window(self, title=MAIN_TITLE):
        found = self.stage.windows(self.popen.pid, title)
        return found[0] if found else None

    def wait_window(self, timeout, title=MAIN_TITLE):
        def shown():
            if self.popen.poll() is not None:
                raise StageError("%s ended with %s:\n%s" % (self.label, self.popen.returncode, self.tail()))
            return self.window(title)
        return wait_until(shown, timeout, "%s: a window titled %s" % (self.label, title), 0.05)

    def click(self, name, fraction=0.5):
        x, y = self.stage.geometry(self.wait_window(5))[:2]
        left, top, width, height = CONTROLS[name]
        self.stage.click(x + left + width * fraction, y + top + height // 2)

    def type_into(self, name, text):
        self.click(name, 0.3)  # an editable list's text, clear of its button
        self.stage.keys("ctrl+a")
        self.stage.run("xdotool", "type", "--delay", "60", text)

    def choose(self, name, index):
        before = set(self.stage.windows(self.popen.pid))
        self.click(name)
        wait_until(lambda: set(self.stage.windows(self.popen.pid)) - before, 5, "the drop-down of " + name)
        self.stage.keys("Home", *["Down"] * index, "Return")
        wait_until(lambda: not set(self.stage.windows(self.popen.pid)) - before, 5, name + "'s drop-down to close")

    def close(self):
        """Alt+F4, pressed again while the window stays, as a user would: on
        a fresh desktop openbox now and then lets the first press pass."""
        began = time.monotonic()
        for presses in range(1, 4):
            if not (window := self.window()):
                break
            self.stage.activate(window)
            self.stage.keys("alt+F4")
            try:
                wait_until(lambda: not self.window(), 3, "the window to close")
                break
            except StageError:
                pass
        try:
            code = self.popen.wait(60)
        except subprocess.TimeoutExpired:
            raise StageError("%s still runs a minute after Alt+F4" % self.label)
        self.journey.timing("%s: closed (%d Alt+F4) and ended" % (self.label, presses), time.monotonic() - began)
        return self.finish(code)

    def tail(self):
        with open(self.log, encoding="utf-8", errors="replace") as log:
            return log.read()[-4000:]

    def finish(self, code):
        """Sanitizer reports fail the journey. Leaks count only with a frame
        in NeloClock's code: the web view's Chromium and other libraries leak
        on their own, which LeakSanitizer's exit code 23 then stands for."""
        with open(self.log, encoding="utf-8", errors="replace") as log:
            text = log.read()
        reports = re.findall(r".*(?:ERROR: AddressSanitizer|runtime error:|SUMMARY: UndefinedBehavior).*", text)
        reports += [block for block in (piece.split("\n\n")[0] for piece in re.split(
            r"\n(?=(?:Direct|Indirect) leak of)", text)[1:]) if self.stage.path("program") in block or SOURCE in block]
        self.journey.assertEqual(reports, [], "%s: sanitizer reports:\n%s" % (self.label, "\n".join(reports)))
        if code is not None:
            self.journey.assertTrue(code == 0 or code == 23 and "LeakSanitizer" in text,
                                    "%s ended with %s:\n%s" % (self.label, code, self.tail()))


class Journey(unittest.TestCase):
    def setUp(self):
        self.folder = os.path.join(OPTIONS.artifacts, "e2e", self.journey)
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        self.stage = Stage(OPTIONS.program, OPTIONS.sound, self.folder)
        began = time.monotonic()
        self.addCleanup(lambda: self.timing("the whole journey", time.monotonic() - began))
        STAGES.append(self.stage)
        self.addCleanup(STAGES.remove, self.stage)
        self.addCleanup(self.stage.stop)
        self.stage.start()
        self.timing("stage up", time.monotonic() - began)

    def timing(self, label, seconds):
        print("    [%s] %s: %.2f s" % (self.journey, label, seconds), flush=True)

    def launch(self, label, visible=True):
        run = Run(self, label)
        if visible:
            run.wait_window(START_TIMEOUT)
            self.timing(label + ": window shown", time.monotonic() - run.started)
        return run

    def alarm_file(self):
        with open(self.stage.path("program", "alarm.ini"), "rb") as alarms:
            return alarms.read()

    def alarm_lines(self):
        """The alarm lines of alarm.ini (GB18030, CR LF), whole ones only;
        an empty list is kept as one empty line."""
        try:
            return [line for line in self.alarm_file().decode("gb18030", errors="replace").split("\r\n")[:-1] if line]
        except FileNotFoundError:
            return []

    def shot(self, moment):
        self.stage.screenshot(os.path.join(self.folder, moment + ".png"))

    def other_window(self, geometry):
        """Another program's window (xmessage), brought to the front."""
        spawn(["xmessage", "-geometry", geometry, "another program"], self.stage.env,
              os.path.join(self.folder, "xmessage.log"))
        window = wait_until(lambda: self.stage.run("xdotool", "search", "--onlyvisible", "--class", "^Xmessage$",
                                                   check=False).split(), 10, "xmessage")
        self.stage.activate(window[0])
        return int(window[0])

    def above(self, upper, lower):
        order = self.stage.stacking()
        return upper in order and lower in order and order.index(upper) > order.index(lower)


class FirstStartAndKill(Journey):
    """First start: the window and the tray icon show, closing keeps the empty
    list as one empty line. An alarm typed as 2 hours and 5 minutes is in
    alarm.ini at once, so it outlives kill -9; the next start stays hidden
    in the tray until the icon is clicked."""

    journey = "first_start_and_kill"

    def test_journey(self):
        run = self.launch("first")
        icons = wait_until(self.stage.tray_icons, START_TIMEOUT, "the tray icon")
        self.assertEqual(len(icons), 1, icons)
        self.shot("first-start")
        run.close()
        self.assertEqual(self.alarm_file(), b"\r\n")

        # Single digits, typed: a list that completes "2" to its item "20"
        # or "5" to "50" would put the alarm hours later.
        run = self.launch("second")
        earliest = now()
        run.type_into("cZQH", "2")
        run.type_into("cZQM", "5")
        latest = now() + datetime.timedelta(seconds=1)
        run.click("cmdAdd")
        lines = wait_until(self.alarm_lines, 10, "the alarm in alarm.ini")
        run.popen.kill()
        run.popen.wait(10)
        run.finish(None)
        self.assertEqual(self.alarm_lines(), lines)
        self.assertEqual(len(lines), 1, lines)
        advance = datetime.timedelta(hours=2, minutes=5 - 2)  # the default advance is 2 minutes
        self.assertTrue(earliest + advance <= due_of(lines[0]) <= latest + advance,
                        "%r typed between %s and %s" % (lines[0], earliest, latest))

        wait_until(lambda: not self.stage.tray_icons(), 10, "the killed copy's icon to go")
        run = self.launch("restart", visible=False)
        icons = wait_until(self.stage.tray_icons, START_TIMEOUT, "the tray icon")
        self.timing("restart: tray icon shown", time.monotonic() - run.started)
        for _ in range(15):  # the start is over, and the window stays away
            self.assertIsNone(run.window(), "a window on a start with a pending alarm")
            time.sleep(0.2)
        self.assertEqual(len(self.stage.tray_icons()), 1)
        self.shot("hidden-start")
        x, y, width, height = icons[0]
        self.stage.click(x + width // 2, y + height // 2)
        run.wait_window(10)
        run.close()
        self.assertEqual(self.alarm_lines(), lines)


class ReminderAndSite(Journey):
    """An "打开QQ农场" alarm calls the browser once with the site. A
    "声音及文本提醒" alarm fires in the first scan of its due minute, not
    before: its window shows at the bottom right above other windows and
    its chime is heard."""

    journey = "reminder_and_site"

    def test_journey(self):
        run = self.launch("first")
        run.type_into("tSJ", "0")  # no advance: due when the alarm time comes
        run.choose("cTX", TYPES.index("附加动作"))
        run.choose("cDZ", ACTIONS.index("打开QQ农场"))
        run.type_into("cZQM", "00")
        clicked = time.monotonic()
        run.click("cmdAdd")
        wait_until(lambda: self.stage.records("browser-calls"), 20, "the browser", 0.05)
        self.timing("browser called after the click", time.monotonic() - clicked)

        # Added between the 10th and the 45th second: the due second lies
        # well after its minute's first scan, and there is time to watch.
        run.choose("cTX", TYPES.index("声音及文本提醒"))
        wait_until(lambda: 10 <= datetime.datetime.now().second <= 45, 60, "the 10th second")
        run.type_into("cZQM", "01")
        run.click("cmdAdd")
        lines = wait_until(self.alarm_lines, 10, "the alarm in alarm.ini")
        self.assertEqual(len(lines), 1, lines)
        due = due_of(lines[0])
        begins = due.replace(second=0).timestamp()
        while time.time() < begins - 0.5:
            self.assertIsNone(run.window(REMINDER_TITLE), "fired before its minute (due %s)" % due)
            time.sleep(0.2)
        mark = self.stage.audio_mark()
        reminder = run.wait_window(begins - time.time() + 20, REMINDER_TITLE)
        late = time.time() - begins
        self.timing("reminder after its minute began (due %s)" % due.time(), late)
        self.assertLessEqual(late, SCAN_DEADLINE, "fired in the first scan of its minute")

        # 60 twips from the right, 500 above the bottom, give or take the frame.
        x, y, width, height = self.stage.geometry(reminder)
        self.assertLessEqual(abs(SCREEN[0] - x - width - px(60)), 24, (x, y, width, height))
        self.assertLessEqual(abs(SCREEN[1] - y - height - px(500)), 24, (x, y, width, height))
        self.assertIn("_NET_WM_STATE_ABOVE", self.stage.run("xprop", "-id", str(reminder), "_NET_WM_STATE"))
        main = run.wait_window(5)
        self.stage.activate(main)
        wait_until(lambda: self.above(reminder, main), 5, "the reminder above the active main window")
        other = self.other_window("300x150-0-0")
        wait_until(lambda: self.above(reminder, other), 5, "the reminder above another program's window")
        self.shot("reminder-above-other-window")

        with wave.open(self.stage.path("program", "alarm.wav")) as chime:
            played = loud_seconds(array.array("h", chime.readframes(chime.getnframes())), chime.getnchannels(),
                                  chime.getframerate())
        wait_until(lambda: self.stage.audio_mark() - mark > (late + played + 2) * RATE * CHANNELS * 2, 20,
                   "the recording to cover the chime")
        recording = self.stage.recording(mark)
        with wave.open(os.path.join(self.folder, "recording.wav"), "wb") as out:
            out.setparams((CHANNELS, 2, RATE, 0, "NONE", "NONE"))
            out.writeframes(recording.tobytes())
        heard = loud_seconds(recording, CHANNELS, RATE)
        self.assertAlmostEqual(heard, played, delta=0.15, msg="the chime as long as alarm.wav's sound")
        self.assertEqual(self.stage.records("browser-calls"), [self.stage.qq_farm], "one call, scans later")

        left, top, width, height = REMINDER_BUTTON
        self.stage.click(x + px(left) + px(width) // 2, y + px(top) + px(height) // 2)
        wait_until(lambda: not run.window(REMINDER_TITLE), 5, "the reminder to close")
        run.close()
        self.assertEqual(self.alarm_file(), b"\r\n")


class PowerOffAndSecondCopy(Journey):
    """A second copy brings the first one's window to the front and leaves.
    A "关闭电脑" alarm asks logind to power off, ends the program and
    leaves its line out of alarm.ini."""

    journey = "power_off_and_second_copy"

    def test_journey(self):
        first = self.launch("first")
        self.stage.run("xdotool", "windowminimize", "--sync", str(first.wait_window(5)))
        wait_until(lambda: not first.window(), 5, "the first copy's window to hide")
        other = self.other_window("500x300+390+250")
        second = self.launch("second", visible=False)
        second.finish(second.popen.wait(START_TIMEOUT))
        self.timing("second copy ended", time.monotonic() - second.started)
        window = wait_until(first.window, 10, "the first copy's window back")
        wait_until(lambda: self.above(window, other), 5, "the first copy's window in front")
        self.shot("first-copy-in-front")

        first.type_into("tSJ", "0")
        first.choose("cTX", TYPES.index("附加动作"))
        first.choose("cDZ", ACTIONS.index("关闭电脑"))
        first.type_into("cZQM", "00")
        clicked = time.monotonic()
        first.click("cmdAdd")
        wait_until(lambda: self.stage.records("logind-calls"), 20, "PowerOff at the fake logind", 0.05)
        self.timing("PowerOff after the click", time.monotonic() - clicked)
        first.finish(first.popen.wait(30))
        self.timing("program ended after the click", time.monotonic() - clicked)
        self.assertEqual([call.split()[0] for call in self.stage.records("logind-calls")], ["PowerOff"])
        self.assertEqual(self.alarm_file(), b"\r\n", "the power-off alarm is gone")


JOURNEYS = {journey.journey: journey for journey in (FirstStartAndKill, ReminderAndSite, PowerOffAndSecondCopy)}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True)
    parser.add_argument("--sound", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("journeys", nargs="*", help="of %s (default: all)" % ", ".join(JOURNEYS))
    parser.parse_args(namespace=OPTIONS)
    if set(OPTIONS.journeys) - set(JOURNEYS):
        parser.error("unknown journey")
    OPTIONS.program, OPTIONS.sound, OPTIONS.artifacts = map(os.path.abspath, (OPTIONS.program, OPTIONS.sound,
                                                                            OPTIONS.artifacts))
    # Both sides read due times in one time zone.
    os.environ.setdefault("TZ", "Asia/Shanghai")
    time.tzset()

    # Ended from outside (CTest's timeout, Ctrl+C): the stage goes too, and
    # no further journey starts.
    def end(signum, frame):
        try:
            for stage in list(STAGES):
                stage.stop()
        finally:
            os._exit(128 + signum)

    for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, end)
    suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromTestCase(JOURNEYS[name])
                               for name in OPTIONS.journeys or JOURNEYS)
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    return 0 if result.wasSuccessful() and result.testsRun else 1


if __name__ == "__main__":
    sys.exit(main())
