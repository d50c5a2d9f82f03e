"""The journeys: what a user does with NeloClock and what they see, hear and
keep. Each journey gets a fresh stage and drives the real window with the
mouse and the keyboard."""

import datetime
import os
import re
import shutil
import subprocess
import time
import unittest
import urllib.error
import urllib.request

import audio
import xscreen
from program import (EXTRA_ACTIONS, REMINDER_CONTROLS, REMINDER_TYPES, SETTINGS_APPLICATION,
                     SETTINGS_ORGANIZATION, SUGGESTED_TEXTS, NeloClock, alarm_file_bytes,
                     program_copies, px)
from stage import (AD_COLOUR, SCREEN_HEIGHT, SCREEN_WIDTH, Stage, StageError, pid_alive,
                   processes_with_marker, wait_until)


class _Config:
    program = None
    sound = None
    artifacts = None


CONFIG = _Config()

# Starting the sanitizer build with its web view takes a while on two cores.
START_TIMEOUT = 120
# The scan runs every 3 s: an alarm due in the present minute fires within
# one period of being added.
SCAN_PERIOD = 3.0
# What the measurement itself adds: input delivery, polling, window mapping.
MEASURE_ALLOWANCE = 1.0
# How long the advertisement page may take to appear the first time.
AD_TIMEOUT = 90

_ACTIVE = []


def stop_all_stages():
    for journey in list(_ACTIVE):
        journey.tear_down_stage()


DUE_FIELD = re.compile(r"^(\d{4})[/-](\d{1,2})[/-](\d{1,2})(?: (\d{1,2}):(\d{2}):(\d{2}))?$")


def parse_due(text):
    match = DUE_FIELD.match(text)
    if not match:
        return None
    numbers = [int(group) if group is not None else 0 for group in match.groups()]
    return datetime.datetime(*numbers)


def now_to_second():
    return datetime.datetime.now().replace(microsecond=0)


class Journey(unittest.TestCase):
    journey = None

    # Set up and tear down ---------------------------------------------------

    def setUp(self):
        self.logs_dir = os.path.join(CONFIG.artifacts, "e2e-logs", self.journey)
        shots_dir = os.path.join(CONFIG.artifacts, "e2e-screenshots", self.journey)
        for folder in (self.logs_dir, shots_dir):
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
        self.runs = []
        self.others = []
        self.timings = []
        self.stage = Stage(CONFIG.program, CONFIG.sound, self.logs_dir)
        _ACTIVE.append(self)
        self.addCleanup(self.tear_down_stage)
        began = time.monotonic()
        self.stage.start()
        self.timing("stage up", time.monotonic() - began)
        self.camera = xscreen.Camera(self.stage, shots_dir)
        self.settings_path = self.stage.write_settings(SETTINGS_ORGANIZATION, SETTINGS_APPLICATION, {
            "sites": {
                "HappyFarm": self.stage.host_address("/happyfarm"),
                "QQFarm": self.stage.host_address("/qqfarm"),
                "Maker": self.stage.host_address(),
                "Forum": self.stage.url("/forum"),
            },
        })

    def tear_down_stage(self):
        if self not in _ACTIVE:
            return
        _ACTIVE.remove(self)
        for run in self.runs:
            run.stop()
        for other in self.others:
            if other.poll() is None:
                other.kill()
                other.wait(5)
        root = self.stage.root
        self.stage.stop()
        with open(os.path.join(self.logs_dir, "timings.txt"), "w") as out:
            for label, seconds in self.timings:
                out.write("%-50s %7.2f s\n" % (label, seconds))
        if root:
            remaining = processes_with_marker(root)
            if remaining:
                raise AssertionError("processes left after the stage stopped: %s" % remaining)

    def timing(self, label, seconds):
        self.timings.append((label, seconds))
        print("    [%s] %s: %.2f s" % (self.journey, label, seconds), flush=True)

    # The program --------------------------------------------------------------

    def launch(self, label, visible=True):
        run = NeloClock(self.stage, self.logs_dir, label).start()
        self.runs.append(run)
        if visible:
            try:
                run.main_window(START_TIMEOUT)
            except StageError as error:
                self.fail("%s: %s\n%s" % (label, error, self.tail(run)))
            self.timing(label + ": main window shown", time.monotonic() - run.started_at)
        return run

    def tail(self, run, lines=40):
        return "\n".join(run.stderr().splitlines()[-lines:])

    def assert_no_sanitizer_report(self, run):
        reports = run.sanitizer_reports()
        self.assertEqual(reports, [], "%s reported:\n%s" % (run.label, self.tail(run, 80)))

    def close(self, run):
        """Closes the main window as a user does (Alt+F4) and waits for the
        program to end."""
        began = time.monotonic()
        presses = run.close_with_keys()
        if presses != 1:
            print("    %s: Alt+F4 pressed %d times" % (run.label, presses))
        try:
            code = run.wait_exit(60)
        except StageError as error:
            self.fail("%s: closing the main window did not end the program: %s" % (run.label, error))
        self.timing(run.label + ": closed and ended", time.monotonic() - began)
        self.assert_no_sanitizer_report(run)
        self.assertTrue(run.exit_code_accepted(code), "%s ended with %s\n%s" % (run.label, code, self.tail(run)))
        if run.foreign_leaks:
            print("    %s: %d leak reports, all inside libraries" % (run.label, run.foreign_leaks))

    # What the screen shows ----------------------------------------------------

    def panel_rect(self, run):
        # The middle of the panel: clear of its edges and of anything the
        # page's edges draw.
        left, top, width, height = run.screen_rect("pBox")
        return left + 20, top + 20, width - 40, height - 40

    def first_row_rect(self, run):
        # The list's first line; its upper part stays clear of the panel.
        left, top, width, height = run.screen_rect("lstA")
        return left + 4, top + 3, min(width - 8, 300), 12

    def ad_fraction(self, image, run):
        return image.fraction(self.panel_rect(run), lambda colour: xscreen.near(colour, AD_COLOUR))

    def ink_in_first_row(self, image, run):
        box = image.bounding_box(self.first_row_rect(run), xscreen.is_dark)
        return box[4] if box else 0

    def wait_for_advertisement(self, run, timeout=AD_TIMEOUT):
        began = time.monotonic()
        try:
            wait_until(lambda: self.ad_fraction(xscreen.screenshot(self.stage), run) > 0.9, timeout,
                       interval=0.3, what="the advertisement page over the list")
        except StageError as error:
            self.camera.shoot("no-advertisement")
            self.fail("%s: %s (requests: %s)" % (run.label, error, self.stage.requests.all()))
        self.timing(run.label + ": advertisement shown", time.monotonic() - began)

    def wait_for_listed_alarm(self, run, timeout=5):
        """The panel has made way for the list, whose first line shows."""
        def listed():
            image = xscreen.screenshot(self.stage)
            return self.ad_fraction(image, run) < 0.02 and self.ink_in_first_row(image, run) >= 15

        try:
            wait_until(listed, timeout, interval=0.1, what="the list with its alarm line")
        except StageError as error:
            self.camera.shoot("alarm-not-listed")
            self.fail("%s: %s" % (run.label, error))

    def tray_icons(self):
        panel = self.stage.tray_panel()
        if panel is None:
            return []
        return [node for node in xscreen.children_of(self.stage, panel.id) if node.width >= 8 and node.height >= 8]

    def wait_for_tray_icon(self, run, timeout=START_TIMEOUT):
        began = time.monotonic()
        try:
            icons = wait_until(self.tray_icons, timeout, interval=0.2, what="an icon in the notification area")
        except StageError as error:
            self.fail("%s: %s\n%s" % (run.label, error, self.tail(run)))
        self.timing(run.label + ": tray icon shown", time.monotonic() - began)
        self.assertEqual(len(icons), 1, "one icon in the notification area: %s" % icons)
        return icons[0]

    def assert_icon_drawn(self, image, icon):
        colours = {colour for _, _, colour in image.region(icon.abs_x, icon.abs_y, icon.width, icon.height)}
        self.assertGreater(len(colours), 8, "the tray icon's area shows a picture, not a flat colour")

    def frame_rect(self, window_id):
        info = xscreen.window_info(self.stage, window_id)
        left, right, top, bottom = xscreen.frame_extents(self.stage, window_id)
        return (info.x - left, info.y - top, info.width + left + right, info.height + top + bottom), (
            left, right, top, bottom)

    def main_frame_rect(self, run):
        """frame_rect of the main window, looked up again while Qt replaces
        its native window."""
        def measure():
            window = run.current_window()
            info = xscreen.window_info(self.stage, window)
            return self.frame_rect(window) if info is not None and info.viewable else None

        return wait_until(measure, 5, interval=0.1, what="the main window's frame")

    def open_other_window(self, geometry):
        """Another program's window (xmessage), brought to the front."""
        other = subprocess.Popen(["xmessage", "-geometry", geometry, "another program"],
                                 env=self.stage.tool_env(), stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, start_new_session=True)
        self.others.append(other)
        # xmessage names no process id on its window; its class finds it.
        window = wait_until(lambda: xscreen.windows_of_class(self.stage, "Xmessage"), 10,
                            what="the other program's window")[0]
        self.stage.run(["xdotool", "windowactivate", "--sync", str(window)], check=False)
        return window

    def above(self, upper, lower):
        order = xscreen.stacking(self.stage)
        return upper in order and lower in order and order.index(upper) > order.index(lower)

    # The alarm file -----------------------------------------------------------

    def read_alarm_lines(self):
        data = alarm_file_bytes(self.stage)
        self.assertIsNotNone(data, "alarm.ini beside the program")
        self.assertTrue(data.endswith(b"\r\n"), "alarm.ini ends with CR LF: %r" % data)
        text = data.decode("gb18030")
        self.assertEqual(text.encode("gb18030"), data)
        lines = text.split("\r\n")[:-1]
        for line in lines:
            self.assertNotIn("\n", line, "every line ends with CR LF: %r" % data)
        return data, lines

    def assert_alarm_line(self, line, kind, text, action, earliest, latest):
        fields = line.split("|")
        self.assertEqual(len(fields), 4, "due|type|text|action: %r" % line)
        due = parse_due(fields[0])
        self.assertIsNotNone(due, "the due time reads as a date-time: %r" % line)
        self.assertEqual(fields[1:], [kind, text, action], line)
        self.assertTrue(earliest <= due <= latest,
                        "due %s between %s and %s (%r)" % (due, earliest, latest, line))

    def read_settings(self):
        values = {}
        group = ""
        with open(self.settings_path, encoding="utf-8") as settings:
            for line in settings:
                line = line.strip()
                if line.startswith("[") and line.endswith("]"):
                    group = line[1:-1]
                elif "=" in line:
                    key, value = line.split("=", 1)
                    values[group + "/" + key] = value
        return values


class StageJourney(Journey):
    """The stage by itself: every piece starts, answers and is stopped."""

    journey = "stage"

    def test_every_piece_starts_answers_and_stops(self):
        stage = self.stage

        image = self.camera.shoot("empty-screen")
        self.assertEqual((image.width, image.height), (SCREEN_WIDTH, SCREEN_HEIGHT))
        self.assertIsNotNone(stage.tray_panel(), "trayer's panel")
        # The window manager offers "stay on top" and manages the tray's panel.
        self.assertIn("_NET_WM_STATE_ABOVE", stage.run(["xprop", "-root", "_NET_SUPPORTED"]).stdout)
        self.assertEqual(len(xscreen.stacking(stage)), 1, "only trayer's panel is managed")

        # The program's system bus is the private one, where the fake logind
        # owns the name.
        env = stage.program_env()
        self.assertEqual(env["DBUS_SYSTEM_BUS_ADDRESS"], stage.system_bus_address)
        self.assertTrue(stage.system_bus_address.startswith("unix:path=" + stage.root))
        self.assertEqual(stage.bus_name_owner_pid("org.freedesktop.login1"), stage.logind.pid)
        reply = stage.dbus_call("org.freedesktop.login1", "/org/freedesktop/login1",
                                "org.freedesktop.login1.Manager.PowerOff", "boolean:false")
        self.assertEqual(reply.returncode, 0, reply.stderr)
        calls = stage.logind_calls()
        self.assertEqual([(call["method"], call["arguments"]) for call in calls], [("PowerOff", [False])])

        # Sound played through the server arrives in the recording, as long
        # as it was.
        tone = stage.path("tone.wav")
        stage.run(["sox", "-n", "-r", "44100", "-c", "1", "-b", "16", tone, "synth", "0.5", "sine", "660",
                   "vol", "0.5"])
        mark = stage.audio.mark()
        stage.run(["paplay", tone])
        wait_until(lambda: stage.audio.seconds_since(mark) > 1.0, 10, what="the recording to go on")
        measure = audio.measure_capture(stage.audio.since(mark))
        self.assertEqual(len(measure.sounds), 1, measure)
        self.assertAlmostEqual(measure.sounds[0].duration, 0.5, delta=0.02)

        # The web server answers on 127.0.0.1 and counts.
        with urllib.request.urlopen(stage.url("/ad4.asp"), timeout=5) as response:
            self.assertEqual(response.status, 200)
            self.assertIn(b"background:#c030a0", response.read())
        with self.assertRaises(urllib.error.HTTPError):
            urllib.request.urlopen(stage.url("/nothing"), timeout=5)
        self.assertEqual(stage.requests.count("/ad4.asp"), 1)

        # xdg-open, as the program runs it, reaches the recording browser.
        subprocess.run(["xdg-open", stage.url("/qqfarm")], env=env, check=True, timeout=30,
                       capture_output=True)
        self.assertEqual([call["arguments"] for call in stage.browser_calls()], [[stage.url("/qqfarm")]])

        # Stopping ends every process and removes the temporary folders.
        pids = [service.pid for service in stage.services]
        root = stage.root
        self.tear_down_stage()
        for pid in pids:
            self.assertFalse(pid_alive(pid), "process %d still runs" % pid)
        self.assertFalse(os.path.exists(root))
        self.assertEqual(processes_with_marker(root), [])
        with self.assertRaises(OSError):
            urllib.request.urlopen("http://127.0.0.1:%d/ad4.asp" % stage.http_port, timeout=2)


class FirstStart(Journey):
    """First start: the window is centred, the advertisement covers the empty
    list, the page is asked for once, and the icon is in the notification
    area."""

    journey = "first_start"

    def test_first_start(self):
        run = self.launch("first")
        first_window = run.window_id
        self.camera.shoot("window-shown")
        self.wait_for_advertisement(run)
        # The page must come into the window the user already sees: a window
        # replaced on screen flickers and loses the clicks and keys of that
        # moment.
        self.assertEqual(run.current_window(), first_window, "the main window was replaced when the page loaded")
        image = self.camera.shoot("advertisement-over-empty-list")
        self.assertEqual(self.ink_in_first_row(image, run), 0, "the empty list shows no line")

        frame, extents = self.main_frame_rect(run)
        dx = frame[0] + frame[2] / 2 - SCREEN_WIDTH / 2
        dy = frame[1] + frame[3] / 2 - SCREEN_HEIGHT / 2
        print("    main window frame %s, frame extents %s, off centre by (%.1f, %.1f)" % (frame, extents, dx, dy))
        # Centred as a frame or as a client area, whichever the window system
        # knew before the window was first shown.
        self.assertLessEqual(abs(dx), (extents[0] + extents[1]) / 2 + 2, "centred across")
        self.assertLessEqual(abs(dy), (extents[2] + extents[3]) / 2 + 2, "centred down")
        info = run.current_window_info()
        self.assertGreaterEqual((info.width, info.height), (px(8445), px(5565)))

        # One request for the page, and no more while it is shown.
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            self.assertLessEqual(self.stage.requests.count("/ad4.asp"), 1, self.stage.requests.all())
            time.sleep(0.2)
        self.assertEqual(self.stage.requests.count("/ad4.asp"), 1, self.stage.requests.all())

        icon = self.wait_for_tray_icon(run, timeout=10)
        self.assert_icon_drawn(self.camera.shoot("tray-icon"), icon)

        # Nothing registers the program at login unless the user asks.
        self.assertFalse(os.path.exists(os.path.join(self.stage.config_home, "autostart")) and
                         os.listdir(os.path.join(self.stage.config_home, "autostart")))

        self.close(run)
        self.assertEqual(alarm_file_bytes(self.stage), b"\r\n", "an empty list is kept as one empty line")


class TextReminder(Journey):
    """A "声音及文本提醒" alarm due now: the reminder window at the bottom
    right above other windows, the chime in the recording, the line gone and
    the advertisement back."""

    journey = "text_reminder"
    TEXT = "E2E"

    def test_sound_and_text_reminder(self):
        run = self.launch("first")
        self.wait_for_advertisement(run)

        run.type_into("tSJ", "0")
        run.choose("cTX", REMINDER_TYPES.index("声音及文本提醒"))
        run.type_into("cTxt", self.TEXT)
        run.type_into("cZQM", "00")  # the alarm time becomes the present moment
        self.camera.shoot("entry-filled")

        mark = self.stage.audio.mark()
        clicked = time.monotonic()
        run.click("cmdAdd")
        try:
            reminder = wait_until(run.reminder_window, 20, interval=0.05, what="the reminder window")
        except StageError as error:
            self.camera.shoot("no-reminder")
            self.fail("%s\n%s" % (error, self.tail(run)))
        elapsed = time.monotonic() - clicked
        self.timing("reminder window after the click", elapsed)
        self.assertLessEqual(elapsed, SCAN_PERIOD + MEASURE_ALLOWANCE, "fired within one scan period")
        image = self.camera.shoot("reminder-shown")

        # Bottom right, 60 twips from the right and 500 above the bottom.
        frame, extents = self.frame_rect(reminder)
        right_gap = SCREEN_WIDTH - (frame[0] + frame[2])
        bottom_gap = SCREEN_HEIGHT - (frame[1] + frame[3])
        print("    reminder frame %s, extents %s, gaps right %d bottom %d" % (frame, extents, right_gap, bottom_gap))
        info = xscreen.window_info(self.stage, reminder)
        self.assertEqual((info.width, info.height), (px(3900), px(1185)))
        self.assertLessEqual(abs(right_gap - px(60)), max(extents[0], extents[1]) + 2, "at the right edge")
        self.assertLessEqual(abs(bottom_gap - px(500)), max(extents[2], extents[3]) + 2, "above the bottom")

        # The text, in red, centred in the label: a short text, not the
        # label's long design text.
        label = REMINDER_CONTROLS["Label1"]
        label_rect = (info.x + px(label[0]), info.y + px(label[1]), px(label[2]), px(label[3]))
        box = image.bounding_box(label_rect, xscreen.is_red_text)
        self.assertIsNotNone(box, "red text in the reminder")
        left, top, right, bottom, count = box
        print("    red text box %s in label %s" % (box, label_rect))
        self.assertGreaterEqual(count, 30)
        self.assertLess(right - left, 90, "the short reminder text, not the design text")
        self.assertLessEqual(abs((left + right) / 2 - (label_rect[0] + label_rect[2] / 2)), 8, "centred")

        # The line left the list: the advertisement is back and the file
        # holds the empty list.
        wait_until(lambda: self.ad_fraction(xscreen.screenshot(self.stage), run) > 0.9, 5,
                   what="the advertisement back over the list")
        self.camera.shoot("advertisement-back")
        self.assertEqual(alarm_file_bytes(self.stage), b"\r\n")

        # The chime: as long as alarm.wav's sound.
        wav, _ = audio.measure_wav(self.stage.path("program", "alarm.wav"))
        wait_until(lambda: self.stage.audio.seconds_since(mark) > elapsed + wav.seconds + 2.0, 20,
                   what="the recording to cover the chime")
        data = self.stage.audio.since(mark)
        heard = audio.measure_capture(data)
        stat = audio.save_capture(data, os.path.join(self.camera.folder, "capture.wav"), self.stage.tool_env())
        print("    alarm.wav: sound %.3f s of %.3f s, peak %d" % (wav.audible, wav.seconds, wav.peak))
        print("    recorded: %s" % heard)
        print("    sox stat of the recording:\n" + stat)
        self.assertTrue(heard.sounds, "the chime was heard")
        self.assertAlmostEqual(heard.audible, wav.audible, delta=0.15)
        self.assertGreater(heard.peak, wav.peak // 2)
        # The recording starts at the click, so this is the chime's delay.
        self.timing("chime start after the click (recording)", heard.sounds[0].start)

        # Above other windows: the main window and another program's window
        # brought to the front.
        self.assertIn("_NET_WM_STATE_ABOVE", xscreen.net_wm_state(self.stage, reminder))
        x, y = run.centre_of("Label9")
        xscreen.click(self.stage, x, y)
        wait_until(lambda: self.above(reminder, run.current_window()), 5, what="the reminder above the main window")
        other = self.open_other_window("420x180-0-0")
        self.assertTrue(wait_until(lambda: self.above(reminder, other), 5,
                                   what="the reminder above the other window"))
        image = self.camera.shoot("reminder-above-other-window")
        self.assertIsNotNone(image.bounding_box(label_rect, xscreen.is_red_text), "the text still shows")

        # "我知道了" closes the reminder; the program goes on.
        button = REMINDER_CONTROLS["Command2"]
        info = xscreen.window_info(self.stage, reminder)
        xscreen.click(self.stage, info.x + px(button[0]) + px(button[2]) // 2,
                      info.y + px(button[1]) + px(button[3]) // 2)
        wait_until(lambda: run.reminder_window() is None, 5, what="the reminder window to close")
        self.assertTrue(run.running())
        self.camera.shoot("reminder-closed")
        self.close(run)


class DueMinute(Journey):
    """A "文本框提醒" alarm one minute ahead stays quiet until its due minute
    begins and fires in that minute's first scan: the seconds of its due time
    do not count."""

    journey = "due_minute"

    def test_fires_in_the_first_scan_of_its_minute(self):
        run = self.launch("first")
        self.wait_for_advertisement(run)
        run.type_into("tSJ", "0")
        run.choose("cTX", REMINDER_TYPES.index("文本框提醒"))
        earliest = now_to_second()
        run.type_into("cZQM", "01")
        mark = self.stage.audio.mark()
        run.click("cmdAdd")
        latest = now_to_second() + datetime.timedelta(seconds=1)
        self.wait_for_listed_alarm(run, timeout=10)
        _, lines = self.read_alarm_lines()
        self.assertEqual(len(lines), 1)
        minute = datetime.timedelta(minutes=1)
        self.assert_alarm_line(lines[0], "文本框提醒", SUGGESTED_TEXTS[0], "", earliest + minute, latest + minute)
        due = parse_due(lines[0].split("|")[0])
        boundary = due.replace(second=0).timestamp()
        print("    due %s, its minute begins in %.1f s" % (due, boundary - time.time()))
        self.camera.shoot("alarm-waiting")

        # Nothing before the minute begins (the seconds of the due time are
        # not waited for, the minute is).
        if boundary - time.time() > 1.0:
            while time.time() < boundary - 0.5:
                self.assertIsNone(run.reminder_window(), "fired before its due minute (due %s)" % due)
                time.sleep(0.2)
        else:
            print("    added too close to the minute's start to watch it wait")
        try:
            reminder = wait_until(run.reminder_window, 20 + max(0.0, boundary - time.time()), interval=0.05,
                                  what="the reminder window")
        except StageError as error:
            self.camera.shoot("no-reminder")
            self.fail("%s\n%s" % (error, self.tail(run)))
        late = time.time() - boundary
        self.timing("reminder window after its minute began", late)
        self.assertLessEqual(late, SCAN_PERIOD + MEASURE_ALLOWANCE, "fired in the first scan of its minute")
        self.assertLess(time.time(), due.timestamp() + 60)
        image = self.camera.shoot("reminder-shown")

        # The suggested text, wider than a short one, centred.
        info = xscreen.window_info(self.stage, reminder)
        label = REMINDER_CONTROLS["Label1"]
        label_rect = (info.x + px(label[0]), info.y + px(label[1]), px(label[2]), px(label[3]))
        box = image.bounding_box(label_rect, xscreen.is_red_text)
        self.assertIsNotNone(box, "red text in the reminder")
        print("    red text box %s in label %s" % (box, label_rect))
        self.assertGreater(box[2] - box[0], 100, "the eight-character text")
        self.assertLessEqual(abs((box[0] + box[2]) / 2 - (label_rect[0] + label_rect[2] / 2)), 8, "centred")

        # A text-only alarm is silent.
        heard = audio.measure_capture(self.stage.audio.since(mark))
        self.assertEqual(heard.sounds, [], "no sound for a text-only alarm")
        wait_until(lambda: self.ad_fraction(xscreen.screenshot(self.stage), run) > 0.9, 5,
                   what="the advertisement back over the list")
        self.assertEqual(alarm_file_bytes(self.stage), b"\r\n")

        # Closing the main window leaves the reminder open and the program
        # running; "我知道了" then ends it.
        run.close_with_keys()
        wait_until(lambda: run.visible_main_window() is None, 10, what="the main window to close")
        time.sleep(1.0)  # long enough for a wrongly ending program to be gone
        self.assertTrue(run.running(), "the open reminder keeps the program running")
        self.assertIsNotNone(run.reminder_window())
        self.camera.shoot("main-closed-reminder-open")
        button = REMINDER_CONTROLS["Command2"]
        info = xscreen.window_info(self.stage, reminder)
        xscreen.click(self.stage, info.x + px(button[0]) + px(button[2]) // 2,
                      info.y + px(button[1]) + px(button[3]) // 2)
        try:
            code = run.wait_exit(30)
        except StageError as error:
            self.fail("closing the reminder after the main window did not end the program: %s" % error)
        self.assert_no_sanitizer_report(run)
        self.assertTrue(run.exit_code_accepted(code), "ended with %s\n%s" % (code, self.tail(run)))


class SiteAction(Journey):
    """An "打开QQ农场" alarm opens the configured site in the browser, once."""

    journey = "site_action"

    def test_qq_farm_alarm_opens_the_site_once(self):
        run = self.launch("first")
        self.wait_for_advertisement(run)
        run.type_into("tSJ", "0")
        run.choose("cDZ", EXTRA_ACTIONS.index("打开QQ农场"))
        run.type_into("cZQM", "00")
        self.camera.shoot("entry-filled")
        mark = self.stage.audio.mark()
        clicked = time.monotonic()
        run.click("cmdAdd")
        try:
            wait_until(self.stage.browser_calls, 20, interval=0.05, what="the browser to be started")
        except StageError as error:
            self.camera.shoot("no-browser")
            self.fail("%s\n%s" % (error, self.tail(run)))
        elapsed = time.monotonic() - clicked
        self.timing("browser started after the click", elapsed)
        self.assertLessEqual(elapsed, SCAN_PERIOD + MEASURE_ALLOWANCE, "fired within one scan period")

        # Two more scans: the line has left the list and opens nothing again.
        deadline = time.monotonic() + 2 * SCAN_PERIOD
        while time.monotonic() < deadline:
            self.assertLessEqual(len(self.stage.browser_calls()), 1)
            time.sleep(0.2)
        calls = self.stage.browser_calls()
        self.assertEqual([call["arguments"] for call in calls], [["http://" + self.stage.host_address("/qqfarm")]])
        self.camera.shoot("after-the-alarm")

        # "声音及附加动作": the chime played as well.
        heard = audio.measure_capture(self.stage.audio.since(mark))
        print("    recorded: %s" % heard)
        self.assertTrue(heard.sounds, "the chime was heard")
        self.assertEqual(alarm_file_bytes(self.stage), b"\r\n")
        self.close(run)


class CloseAndRestart(Journey):
    """Closing keeps the list in alarm.ini; a start with a pending alarm
    shows only the tray icon, and a click on it brings the list back."""

    journey = "close_and_restart"

    def test_close_and_restart(self):
        run = self.launch("first")
        self.wait_for_advertisement(run)
        earliest = now_to_second()
        run.type_into("cZQH", "01")
        run.choose("cTX", REMINDER_TYPES.index("声音及文本提醒"))
        latest = now_to_second() + datetime.timedelta(seconds=1)
        run.click("cmdAdd")
        self.wait_for_listed_alarm(run)
        self.camera.shoot("alarm-added")
        self.close(run)

        data, lines = self.read_alarm_lines()
        self.assertEqual(len(lines), 1, data)
        advance = datetime.timedelta(hours=1, minutes=-2)
        self.assert_alarm_line(lines[0], "声音及文本提醒", SUGGESTED_TEXTS[0], "", earliest + advance,
                               latest + advance)
        self.assertEqual(data, (lines[0] + "\r\n").encode("gb18030"))
        print("    alarm.ini: %r" % data)
        settings = self.read_settings()
        self.assertEqual((settings.get("option/Time"), settings.get("option/Clear"), settings.get("option/Auto")),
                         ("2", "1", "0"), "the options as the window showed them: %s" % settings)

        again = self.launch("restart", visible=False)
        icon = self.wait_for_tray_icon(again)
        # The start is over once the icon is there; the window stays away.
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            self.assertIsNone(again.visible_main_window(), "no main window on a start with pending alarms")
            time.sleep(0.2)
        image = self.camera.shoot("hidden-start-tray-only")
        self.assert_icon_drawn(image, icon)

        clicked = time.monotonic()
        xscreen.click(self.stage, icon.abs_x + icon.width // 2, icon.abs_y + icon.height // 2)
        again.main_window(10)
        self.timing("window back after the tray click", time.monotonic() - clicked)
        self.wait_for_listed_alarm(again)
        self.camera.shoot("restored-from-tray")
        self.close(again)
        self.assertEqual(alarm_file_bytes(self.stage), data)


class KillAfterAdd(Journey):
    """An alarm added just before the program is killed is there at the
    next start. Its remaining time is typed as single digits, which must stay
    2 hours and 5 minutes, not become the lists' "20" and "50"."""

    journey = "kill_after_add"

    def test_kill_right_after_adding(self):
        run = self.launch("first")
        self.wait_for_advertisement(run)
        earliest = now_to_second()
        run.type_into("cZQH", "2")
        run.type_into("cZQM", "5")
        run.choose("cTX", REMINDER_TYPES.index("声音提醒"))
        latest = now_to_second() + datetime.timedelta(seconds=1)
        run.click("cmdAdd")
        self.wait_for_listed_alarm(run)
        run.kill9()
        self.camera.shoot("killed")

        data, lines = self.read_alarm_lines()
        self.assertEqual(len(lines), 1, data)
        # 2 h 5 min less the default advance of 2 minutes.
        advance = datetime.timedelta(hours=2, minutes=3)
        self.assert_alarm_line(lines[0], "声音提醒", "", "", earliest + advance, latest + advance)

        again = self.launch("restart", visible=False)
        icon = self.wait_for_tray_icon(again)
        self.assertIsNone(again.visible_main_window())
        xscreen.click(self.stage, icon.abs_x + icon.width // 2, icon.abs_y + icon.height // 2)
        again.main_window(10)
        self.wait_for_listed_alarm(again)
        self.camera.shoot("alarm-back-after-kill")
        self.close(again)
        self.assertEqual(alarm_file_bytes(self.stage), data)


class PowerOffAlarm(Journey):
    """A "关闭电脑" alarm asks logind to power off once and ends the program;
    the alarm added before it is kept."""

    journey = "power_off"

    def test_power_off_alarm(self):
        run = self.launch("first")
        self.wait_for_advertisement(run)
        earliest = now_to_second()
        run.type_into("cZQH", "03")
        run.choose("cTX", REMINDER_TYPES.index("声音提醒"))
        latest = now_to_second() + datetime.timedelta(seconds=1)
        run.click("cmdAdd")
        self.wait_for_listed_alarm(run)
        _, before = self.read_alarm_lines()
        self.assertEqual(len(before), 1)

        run.choose("cTX", REMINDER_TYPES.index("附加动作"))
        run.choose("cDZ", EXTRA_ACTIONS.index("关闭电脑"))
        run.type_into("tSJ", "0")
        run.type_into("cZQH", "00")
        self.camera.shoot("power-off-alarm-entered")
        self.assertEqual(self.stage.logind_calls(), [])

        clicked = time.monotonic()
        run.click("cmdAdd")
        try:
            wait_until(self.stage.logind_calls, 20, interval=0.05, what="a power-off request")
        except StageError as error:
            self.camera.shoot("no-power-off")
            self.fail("%s\n%s" % (error, self.tail(run)))
        elapsed = time.monotonic() - clicked
        self.timing("power-off request after the click", elapsed)
        self.assertLessEqual(elapsed, SCAN_PERIOD + MEASURE_ALLOWANCE, "fired within one scan period")
        try:
            code = run.wait_exit(30)
        except StageError as error:
            self.camera.shoot("still-running")
            self.fail("the program goes on after the power-off request: %s" % error)
        self.timing("program ended after the click", time.monotonic() - clicked)
        self.camera.shoot("after-power-off")

        calls = self.stage.logind_calls()
        self.assertEqual([call["method"] for call in calls], ["PowerOff"], calls)
        print("    logind was asked: %s, program ended with %s" % (calls, code))
        self.assertEqual(program_copies(self.stage), [])
        self.assert_no_sanitizer_report(run)
        self.assertTrue(run.exit_code_accepted(code), "ended with %s\n%s" % (code, self.tail(run)))

        data, after = self.read_alarm_lines()
        print("    alarm.ini after the power-off: %r" % data)
        self.assertGreaterEqual(len(after), 1)
        self.assertEqual(after[0], before[0], "the earlier alarm is kept")
        advance = datetime.timedelta(hours=3, minutes=-2)
        self.assert_alarm_line(after[0], "声音提醒", "", "", earliest + advance, latest + advance)
        for line in after[1:]:
            self.assertTrue(line.endswith("|附加动作||关闭电脑"), "only the power-off line besides: %r" % line)


class SecondCopy(Journey):
    """A second copy brings the first one's window to the front and leaves."""

    journey = "second_copy"

    def test_second_copy(self):
        first = self.launch("first")
        self.wait_for_advertisement(first)
        self.stage.run(["xdotool", "windowminimize", "--sync", str(first.current_window())], check=False)
        wait_until(lambda: first.visible_main_window() is None, 10, what="the minimised window to hide")
        other = self.open_other_window("500x300+390+250")
        self.camera.shoot("first-hidden-other-in-front")

        second = self.launch("second", visible=False)
        try:
            code = second.wait_exit(START_TIMEOUT)
        except StageError as error:
            self.fail("the second copy stays: %s" % error)
        self.timing("second copy ended after its start", time.monotonic() - second.started_at)
        self.assert_no_sanitizer_report(second)
        self.assertTrue(second.exit_code_accepted(code), "the second copy ended with %s\n%s" % (code, self.tail(second)))

        window = wait_until(first.visible_main_window, 10, what="the first copy's window to come back")
        wait_until(lambda: self.above(window, other), 5, what="the first copy's window in front")
        print("    active window %s, main window %s" % (xscreen.active_window(self.stage), window))
        self.camera.shoot("first-in-front")
        self.assertEqual(program_copies(self.stage), [first.pid])
        self.close(first)


JOURNEYS = {
    "stage": StageJourney,
    "first_start": FirstStart,
    "text_reminder": TextReminder,
    "due_minute": DueMinute,
    "site_action": SiteAction,
    "close_and_restart": CloseAndRestart,
    "kill_after_add": KillAfterAdd,
    "power_off": PowerOffAlarm,
    "second_copy": SecondCopy,
}
