"""The NeloClock executable on the stage, and where its controls are.

The main window is laid out in twips, 15 to a pixel: a control's place on
screen is its container's place plus its own, each rounded the way the
program rounds them."""

import os
import signal
import subprocess
import time

import xscreen
from stage import StageError, die_with_parent, end_process_group, processes_running, wait_until

MAIN_TITLE = "Nelo闹钟2.1版"
SOURCE_DIR = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "src") + "/"
# LeakSanitizer's exit code when it found leaks (its default).
LSAN_EXIT_CODE = 23
REMINDER_TITLE = "重要提醒"

# Where QSettings keeps the program's settings under $XDG_CONFIG_HOME.
SETTINGS_ORGANIZATION = "NeloClock"
SETTINGS_APPLICATION = "NeloClock"

REMINDER_TYPES = ["声音及附加动作", "声音及文本提醒", "声音提醒", "文本框提醒", "附加动作"]
EXTRA_ACTIONS = ["打开开心农场", "打开QQ农场", "打开其他农场", "关闭电脑"]
SUGGESTED_TEXTS = ["菜熟啦，赶紧偷啊", "重要提示哦", "生日提醒"]


def px(twips):
    return (twips * 2 + 15) // 30


_CONTAINERS = {
    "window": (0, 0),
    "Frame1": (105, 75),
    "Frame3": (105, 4080),
    "Frame2": (3015, 75),
}

# name: (container, left, top, width, height) in twips
CONTROLS = {
    "Frame1": ("window", 105, 75, 2865, 3960),
    "cZQH": ("Frame1", 900, 686, 690, 300),
    "cZQM": ("Frame1", 1875, 686, 690, 300),
    "tSJ": ("Frame1", 900, 1091, 690, 300),
    "cJS": ("Frame1", 900, 1496, 1860, 300),
    "cTX": ("Frame1", 900, 1901, 1860, 300),
    "cTxt": ("Frame1", 900, 2306, 1860, 300),
    "cDZ": ("Frame1", 900, 2715, 1860, 300),
    "cmdAdd": ("Frame1", 120, 3165, 2625, 690),
    "Frame3": ("window", 105, 4080, 2865, 1050),
    "ckClr": ("Frame3", 150, 315, 2040, 225),
    "ckAuto": ("Frame3", 150, 660, 1770, 255),
    "Frame2": ("window", 3015, 75, 5340, 5055),
    "lstA": ("Frame2", 120, 315, 5085, 4560),
    "pBox": ("Frame2", 145, 545, 4995, 4215),
    "Label9": ("window", 90, 5250, 6450, 240),
}

# Reminder window (client area 3900 x 1185 twips)
REMINDER_CONTROLS = {
    "Label1": (165, 165, 3585, 405),
    "Command2": (1335, 630, 1320, 450),
}


def control_rect(name):
    """(left, top, width, height) in pixels inside the main window's client area."""
    container, left, top, width, height = CONTROLS[name]
    if container == "window":
        return px(left), px(top), px(width), px(height)
    container_left, container_top = _CONTAINERS[container]
    return px(container_left) + px(left), px(container_top) + px(top), px(width), px(height)


class NeloClock:
    """One run of the program."""

    def __init__(self, stage, logs_dir, label):
        self.stage = stage
        self.label = label
        self.stdout_path = os.path.join(logs_dir, label + ".stdout.log")
        self.stderr_path = os.path.join(logs_dir, label + ".stderr.log")
        self.popen = None
        self.started_at = None
        self.window_id = None
        self.foreign_leaks = 0

    # Lifetime ---------------------------------------------------------------

    def start(self):
        env = self.stage.program_env()
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.popen = subprocess.Popen([self.stage.program_path], env=env, cwd=self.stage.home,
                                          stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                          start_new_session=True, preexec_fn=die_with_parent)
        self.started_at = time.monotonic()
        return self

    @property
    def pid(self):
        return self.popen.pid

    def running(self):
        return self.popen is not None and self.popen.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            raise StageError("%s still runs %.0f s later" % (self.label, timeout))

    def kill9(self):
        os.kill(self.popen.pid, signal.SIGKILL)
        self.popen.wait(10)

    def stop(self):
        """Ends the run if the journey has not; used on the way out."""
        if self.popen is None:
            return
        end_process_group(self.popen, signal.SIGKILL, 10)

    def stderr(self):
        try:
            with open(self.stderr_path, "rb") as err:
                return err.read().decode("utf-8", "replace")
        except FileNotFoundError:
            return ""

    def sanitizer_reports(self):
        """Memory errors, undefined behaviour, and leaks of memory that
        NeloClock's own code allocated. Leaks whose whole allocation stack
        lies in libraries (the web view's Chromium, udev, modules unloaded
        before exit) are counted in foreign_leaks instead."""
        lines = self.stderr().splitlines()
        markers = ("ERROR: AddressSanitizer", "runtime error:", "SUMMARY: UndefinedBehaviorSanitizer")
        reports = [line for line in lines if any(marker in line for marker in markers)]
        self.foreign_leaks = 0
        block = None
        for line in lines + [""]:
            if "leak of" in line and ("Direct" in line or "Indirect" in line):
                block = [line]
            elif block is not None and line.strip():
                block.append(line)
            elif block is not None:
                if any(self._own_frame(frame) for frame in block[1:]):
                    reports.append("\n".join(block))
                else:
                    self.foreign_leaks += 1
                block = None
        return reports

    def _own_frame(self, frame):
        # The executable and the plugins beside it, symbolized or not.
        return self.stage.program_dir + "/" in frame or SOURCE_DIR in frame

    def exit_code_accepted(self, code):
        """0, or LeakSanitizer's exit code when only libraries leaked."""
        if code == 0:
            return True
        return code == LSAN_EXIT_CODE and self.foreign_leaks > 0 and not self.sanitizer_reports()

    # Windows ----------------------------------------------------------------

    def main_window(self, timeout):
        def shown():
            if not self.running():
                raise StageError("%s ended with %s before its window showed" % (self.label, self.popen.returncode))
            return xscreen.find_window(self.stage, self.pid, MAIN_TITLE)

        self.window_id = wait_until(shown, timeout, interval=0.1, what="a visible window titled " + MAIN_TITLE)
        return self.window_id

    def visible_main_window(self):
        return xscreen.find_window(self.stage, self.pid, MAIN_TITLE)

    def reminder_window(self):
        return xscreen.find_window(self.stage, self.pid, REMINDER_TITLE)

    def _window_on_screen(self):
        """(id, info) of the main window if it is on screen now."""
        info = xscreen.window_info(self.stage, self.window_id) if self.window_id else None
        if info is not None and info.viewable:
            return self.window_id, info
        found = self.visible_main_window()
        if found is None:
            return None
        info = xscreen.window_info(self.stage, found)
        if info is None or not info.viewable:
            return None
        self.window_id = found
        return found, info

    def current_window_info(self):
        """The main window as it is on screen now. The id is looked up again
        whenever the known one is gone (first_start checks that the page
        never makes Qt replace the window)."""
        try:
            return wait_until(self._window_on_screen, 5, interval=0.1, what="the main window on screen")[1]
        except StageError:
            raise StageError("the main window is not on screen")

    def current_window(self):
        return self.current_window_info().id

    def client_origin(self):
        info = self.current_window_info()
        return info.x, info.y

    def screen_rect(self, name):
        left, top, width, height = control_rect(name)
        x, y = self.client_origin()
        return x + left, y + top, width, height

    def centre_of(self, name, fraction_x=0.5):
        left, top, width, height = self.screen_rect(name)
        return left + int(width * fraction_x), top + height // 2

    # Input ------------------------------------------------------------------

    def click(self, name, fraction_x=0.5):
        x, y = self.centre_of(name, fraction_x)
        xscreen.click(self.stage, x, y)

    def type_into(self, name, text):
        """Replaces the text of a text box or an editable list by typing."""
        # The left part of an editable list is its text field, away from the
        # drop-down button.
        self.click(name, 0.3)
        xscreen.key(self.stage, "ctrl+a")
        xscreen.type_text(self.stage, text)

    def choose(self, name, index):
        """Opens a drop-down list with a click and picks an item with the keys."""
        before = {window for window, _ in xscreen.windows_of(self.stage, self.pid)}
        self.click(name)
        try:
            wait_until(lambda: {w for w, _ in xscreen.windows_of(self.stage, self.pid)} - before, 5,
                       what="the drop-down list of " + name)
        except StageError:
            # Keys reach the closed list as well: Home and Down move its choice.
            pass
        xscreen.key(self.stage, "Home", *(["Down"] * index), "Return")
        wait_until(lambda: not ({w for w, _ in xscreen.windows_of(self.stage, self.pid)} - before), 5,
                   what="the drop-down list of %s to close" % name)

    def close_with_keys(self, attempts=3):
        """Alt+F4 on the main window: the window manager asks it to close.
        Pressed again, like a user would, when the window is still there a
        few seconds later. Returns how many presses it took."""
        for attempt in range(1, attempts + 1):
            try:
                window = self.current_window()
            except StageError:
                return attempt - 1
            self.stage.run(["xdotool", "windowactivate", "--sync", str(window)], check=False)
            xscreen.key(self.stage, "alt+F4")
            try:
                wait_until(lambda: not self.running() or self.visible_main_window() is None, 5,
                           what="the main window to close")
                return attempt
            except StageError:
                continue
        return attempts


def alarm_file_bytes(stage):
    try:
        with open(stage.alarm_file, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def program_copies(stage):
    return processes_running(stage.program_path)
