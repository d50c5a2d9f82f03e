"""What the user sees and does on the stage's X screen: windows, their
places and stacking, screenshots, mouse and keys (xdotool, xwininfo, xprop,
ImageMagick)."""

import os
import re
import subprocess
from dataclasses import dataclass

from stage import StageError, wait_until

_TREE_LINE = re.compile(
    r"^(?P<indent>\s*)(?P<id>0x[0-9a-f]+) (?P<name>.*?): \((?P<cls>.*?)\)\s+"
    r"(?P<w>\d+)x(?P<h>\d+)\+(?P<x>-?\d+)\+(?P<y>-?\d+)\s+\+(?P<ax>-?\d+)\+(?P<ay>-?\d+)\s*$")


@dataclass
class Node:
    id: int
    name: str
    wm_class: tuple
    width: int
    height: int
    abs_x: int
    abs_y: int
    depth: int
    parent: int


def _unquote(text):
    if text.startswith('"') and text.endswith('"'):
        return text[1:-1]
    return ""


def window_tree(stage):
    """Every window under the root, with absolute positions."""
    output = stage.run(["xwininfo", "-root", "-tree"]).stdout
    nodes = []
    parents = {}
    for line in output.splitlines():
        match = _TREE_LINE.match(line)
        if not match:
            continue
        depth = (len(match.group("indent")) - 5) // 3
        classes = tuple(re.findall(r'"(.*?)"', match.group("cls")))
        node = Node(int(match.group("id"), 16), _unquote(match.group("name")), classes,
                    int(match.group("w")), int(match.group("h")), int(match.group("ax")),
                    int(match.group("ay")), depth, parents.get(depth - 1, 0))
        parents[depth] = node.id
        nodes.append(node)
    return nodes


def children_of(stage, parent_id):
    return [node for node in window_tree(stage) if node.parent == parent_id]


@dataclass
class WindowInfo:
    id: int
    x: int  # client area, absolute
    y: int
    width: int
    height: int
    viewable: bool


def window_info(stage, window_id):
    result = stage.run(["xwininfo", "-id", str(window_id)], check=False)
    if result.returncode != 0:
        return None
    text = result.stdout

    def number(label):
        match = re.search(label + r":\s+(-?\d+)", text)
        return int(match.group(1)) if match else 0

    return WindowInfo(window_id, number("Absolute upper-left X"), number("Absolute upper-left Y"),
                      number("Width"), number("Height"), "Map State: IsViewable" in text)


def window_name(stage, window_id):
    result = stage.run(["xdotool", "getwindowname", str(window_id)], check=False)
    return result.stdout.rstrip("\n") if result.returncode == 0 else None


def windows_of(stage, pid, visible_only=True):
    """Top-level windows that a process has, as (id, name)."""
    argv = ["xdotool", "search", "--all", "--pid", str(pid)]
    if visible_only:
        argv.insert(2, "--onlyvisible")
    result = stage.run(argv, check=False)
    windows = []
    for word in result.stdout.split():
        if word.isdigit():
            windows.append((int(word), window_name(stage, int(word))))
    return windows


def windows_of_class(stage, wm_class):
    result = stage.run(["xdotool", "search", "--onlyvisible", "--class", "^%s$" % wm_class], check=False)
    return [int(word) for word in result.stdout.split() if word.isdigit()]


def find_window(stage, pid, name, visible_only=True):
    """The id of the process's window with exactly this title, or None."""
    for window_id, window_title in windows_of(stage, pid, visible_only):
        if window_title == name:
            if not visible_only:
                return window_id
            info = window_info(stage, window_id)
            if info and info.viewable:
                return window_id
    return None


def root_property_windows(stage, prop):
    output = stage.run(["xprop", "-root", prop], check=False).stdout
    return [int(word.rstrip(","), 16) for word in re.findall(r"0x[0-9a-f]+,?", output)]


def stacking(stage):
    """Managed windows, bottom first."""
    return root_property_windows(stage, "_NET_CLIENT_LIST_STACKING")


def active_window(stage):
    windows = root_property_windows(stage, "_NET_ACTIVE_WINDOW")
    return windows[0] if windows else None


def net_wm_state(stage, window_id):
    output = stage.run(["xprop", "-id", str(window_id), "_NET_WM_STATE"], check=False).stdout
    return set(re.findall(r"_NET_WM_STATE_[A-Z_]+", output))


def frame_extents(stage, window_id):
    """(left, right, top, bottom) of the window manager's frame."""
    output = stage.run(["xprop", "-id", str(window_id), "_NET_FRAME_EXTENTS"], check=False).stdout
    numbers = [int(n) for n in re.findall(r"-?\d+", output.split("=", 1)[1])] if "=" in output else []
    return tuple(numbers) if len(numbers) == 4 else (0, 0, 0, 0)


# Input -------------------------------------------------------------------


def click(stage, x, y, button=1):
    stage.run(["xdotool", "mousemove", "--sync", str(int(x)), str(int(y))])
    stage.run(["xdotool", "click", str(button)])


def key(stage, *keys):
    stage.run(["xdotool", "key", "--delay", "40"] + list(keys))


def type_text(stage, text):
    stage.run(["xdotool", "type", "--delay", "60", text])


# Screenshots -------------------------------------------------------------


class Image:
    """An RGB screenshot."""

    def __init__(self, width, height, pixels, ppm):
        self.width = width
        self.height = height
        self.pixels = pixels
        self.ppm = ppm

    @classmethod
    def from_ppm(cls, data):
        # P6 <width> <height> <maxval> then raw RGB
        fields = []
        position = 0
        while len(fields) < 4:
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position) + 1
                continue
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise StageError("unexpected screenshot format")
        width, height = int(fields[1]), int(fields[2])
        pixels = data[position + 1:position + 1 + width * height * 3]
        return cls(width, height, pixels, data)

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.pixels[offset:offset + 3])

    def region(self, left, top, width, height):
        """Pixels of a rectangle clipped to the image."""
        left, top = max(0, int(left)), max(0, int(top))
        right, bottom = min(self.width, int(left + width)), min(self.height, int(top + height))
        for y in range(top, bottom):
            row = self.pixels[(y * self.width + left) * 3:(y * self.width + right) * 3]
            for x in range(right - left):
                yield left + x, y, (row[3 * x], row[3 * x + 1], row[3 * x + 2])

    def fraction(self, rect, predicate):
        total = hits = 0
        for _, _, colour in self.region(*rect):
            total += 1
            if predicate(colour):
                hits += 1
        return hits / total if total else 0.0

    def bounding_box(self, rect, predicate):
        """(left, top, right, bottom, count) of matching pixels, or None."""
        xs, ys = [], []
        for x, y, colour in self.region(*rect):
            if predicate(colour):
                xs.append(x)
                ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs), max(ys), len(xs)


def near(colour, reference, tolerance=24):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, reference))


def is_red_text(colour):
    r, g, b = colour
    return r >= 180 and g <= 90 and b <= 90


def is_dark(colour):
    return sum(colour) <= 3 * 110


def screenshot(stage):
    return Image.from_ppm(stage.run_bytes(["import", "-window", "root", "-depth", "8", "ppm:-"]))


class Camera:
    """Takes and keeps numbered screenshots of one journey."""

    def __init__(self, stage, folder):
        self.stage = stage
        self.folder = folder
        self.count = 0
        self.saved = []
        os.makedirs(folder, exist_ok=True)

    def shoot(self, moment):
        image = screenshot(self.stage)
        self.count += 1
        path = os.path.join(self.folder, "%02d-%s.png" % (self.count, moment))
        subprocess.run(["convert", "ppm:-", path], input=image.ppm, env=self.stage.tool_env(),
                       capture_output=True, timeout=30, check=True)
        self.saved.append(path)
        return image


def wait_for_window(stage, pid, name, timeout):
    return wait_until(lambda: find_window(stage, pid, name), timeout, interval=0.1,
                      what="a visible window titled %r" % name)

