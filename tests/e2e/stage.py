"""The private desktop a journey runs on: Xvfb with openbox (honours "stay on
top") and trayer (a notification area); a private system bus with the fake
logind, which records PowerOff and never acts on it; a private session bus;
PulseAudio whose default sink is a pipe that is read into memory; a web
server on 127.0.0.1; a browser that only records what it was asked to open;
a temporary HOME and program folder.

Every process gets its own process group, dies with the suite
(PR_SET_PDEATHSIG) and carries MARKER in its environment, so stop() also
finds what they started outside their groups (the web view's helpers)."""

import array
import ctypes
import glob
import http.server
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SCREEN = (1280, 800)
RATE, CHANNELS = 44100, 2
MARKER = "NELOCLOCK_E2E_STAGE"
# The caller's desktop would change what Qt, xdg-open and the web view do.
DROPPED = re.compile(r"^(XDG_|DESKTOP_SESSION|KDE_|GNOME_|MATE_|WAYLAND_|SESSION_MANAGER|XAUTHORITY|QT_|GDK_|"
                     r"LC_ALL|LANGUAGE|.*_proxy$|.*_PROXY$|BROWSER|DBUS_|PULSE_|DISPLAY|TMPDIR)")
BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>{kind}</type><listen>unix:path={socket}</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy></busconfig>
"""
PAGE = b"<!DOCTYPE html><html><body style='margin:0;background:#c030a0'></body></html>"


class StageError(AssertionError):
    pass


def wait_until(condition, timeout, what, interval=0.1):
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise StageError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)
    return value


def _die_with_parent():
    ctypes.CDLL("libc.so.6").prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def end_group(popen, first_signal=signal.SIGTERM, grace=3):
    for sig in (first_signal, signal.SIGKILL):
        try:
            os.killpg(popen.pid, sig)
            popen.wait(grace)
        except (ProcessLookupError, PermissionError, subprocess.TimeoutExpired):
            pass


def marked(root):
    """Live processes started under the stage at root."""
    needle = ("%s=%s" % (MARKER, root)).encode()
    found = []
    for pid in (int(p) for p in os.listdir("/proc") if p.isdigit() and int(p) != os.getpid()):
        try:
            with open("/proc/%d/environ" % pid, "rb") as environ:
                found += [pid] if needle in environ.read().split(b"\0") else []
        except OSError:
            pass
    return found


def spawn(argv, env, log, **kwargs):
    with open(log, "ab") as out:
        return subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=kwargs.pop("stdout", out),
                                stderr=out, start_new_session=True, preexec_fn=_die_with_parent, **kwargs)


class _Page(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(PAGE)))
        self.end_headers()
        self.wfile.write(PAGE)

    def log_message(self, *args):
        pass


class Stage:
    def __init__(self, program, sound, logs):
        self.program_source, self.sound_source, self.logs = program, sound, logs
        self.root, self.services, self.env = None, [], {}
        self.audio, self.audio_lock, self.http = bytearray(), threading.Lock(), None

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def start(self):
        # Left by a suite killed outright (CTest's timeout): its processes
        # died with it, its folder did not.
        for old in glob.glob(os.path.join(tempfile.gettempdir(), "neloclock-e2e-*")):
            if time.time() - os.path.getmtime(old) > 3600 and not marked(old):
                shutil.rmtree(old, ignore_errors=True)
        self.root = tempfile.mkdtemp(prefix="neloclock-e2e-")
        try:
            self._start()
        except BaseException:
            self.stop()
            raise

    def _start(self):
        for folder in ("home/.config/NeloClock", "runtime", "tmp", "program", "empty"):
            os.makedirs(self.path(folder), mode=0o700)
        self.env = {key: value for key, value in os.environ.items() if not DROPPED.match(key)}
        self.env.update({MARKER: self.root, "HOME": self.path("home"), "XDG_CONFIG_HOME": self.path("home/.config"),
                         "XDG_RUNTIME_DIR": self.path("runtime"), "TMPDIR": self.path("tmp"), "LANG": "C.UTF-8",
                         "no_proxy": "127.0.0.1", "NO_PROXY": "127.0.0.1"})

        read_end, write_end = os.pipe()
        self.service("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN,
                              "-nolisten", "tcp", "-dpi", "96", "-noreset"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end, "rb") as numbers:
            ready = select.select([numbers], [], [], 20)[0]
            self.env["DISPLAY"] = ":" + (numbers.readline().decode().strip() if ready else "none")
        wait_until(lambda: self.run("xdpyinfo", check=False), 10, "Xvfb")
        self.service("openbox", ["openbox", "--sm-disable"])
        wait_until(lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 10, "openbox")
        self.service("trayer", ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                                "--height", "24", "--SetDockType", "true", "--transparent", "false"])
        # Found once: trayer hides its panel while no icon is docked.
        self.panel = wait_until(lambda: self.run("xdotool", "search", "--onlyvisible", "--classname", "^panel$",
                                                 check=False).split(), 10, "trayer's panel")[0]

        for kind in ("system", "session"):
            socket, config = self.path(kind + "-bus"), self.path(kind + "-bus.conf")
            with open(config, "w") as out:
                out.write(BUS_CONFIG.format(kind="e2e-" + kind, socket=socket))
            bus = self.service(kind + "-bus", ["dbus-daemon", "--config-file=" + config, "--nofork",
                                               "--print-address=1"], stdout=subprocess.PIPE)
            if not select.select([bus.stdout], [], [], 10)[0]:
                raise StageError("the %s bus did not start" % kind)
            address = bus.stdout.readline().decode().strip()
            if not address.startswith("unix:path=" + socket):
                raise StageError("unexpected bus address " + address)
            self.env["DBUS_%s_BUS_ADDRESS" % kind.upper()] = address
        logind = self.service("fake-logind", ["/usr/bin/python3", os.path.join(HERE, "fake_logind.py"),
                                              self.env["DBUS_SYSTEM_BUS_ADDRESS"], self.path("logind-calls")],
                              stdout=subprocess.PIPE)
        if not select.select([logind.stdout], [], [], 15)[0] or logind.stdout.readline() != b"ready\n":
            raise StageError("the fake logind did not start")

        fifo = self.path("capture.fifo")
        self.env["PULSE_SERVER"] = "unix:" + self.path("runtime", "pulse-native")
        self.service("pulseaudio", [
            "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--disable-shm=yes",
            "--realtime=false", "--high-priority=false", "--log-target=stderr",
            "-L", "module-native-protocol-unix socket=%s auth-anonymous=1" % self.path("runtime", "pulse-native"),
            "-L", "module-pipe-sink file=%s sink_name=capture format=s16le rate=%d channels=%d "
                  "use_system_clock_for_timing=yes" % (fifo, RATE, CHANNELS)])
        wait_until(lambda: self.run("pactl", "info", check=False), 15, "PulseAudio")
        self.run("pactl", "set-default-sink", "capture")
        if "Default Sink: capture" not in self.run("pactl", "info"):
            raise StageError("the capture sink is not the default")
        threading.Thread(target=self._record, args=(wait_until(lambda: os.path.exists(fifo) and fifo, 5, "FIFO"),),
                         daemon=True).start()

        self.http = http.server.ThreadingHTTPServer(("127.0.0.1", 0), _Page)
        threading.Thread(target=self.http.serve_forever, daemon=True).start()
        host = "127.0.0.1:%d" % self.http.server_address[1]
        with open(self.path("home/.config/NeloClock/NeloClock.conf"), "w") as out:
            out.write("[sites]\nHappyFarm=%s/happyfarm\nQQFarm=%s/qqfarm\nMaker=%s\nForum=http://%s/forum\n"
                      % (host, host, host, host))
        self.qq_farm = "http://%s/qqfarm" % host

        # Hard links or copies, not symbolic links: the program looks for
        # alarm.ini and alarm.wav beside its resolved path. The web view
        # plugin comes along.
        folder = os.path.dirname(self.program_source)
        for name in [os.path.basename(self.program_source)] + [n for n in os.listdir(folder) if n.endswith(".so")]:
            try:
                os.link(os.path.join(folder, name), self.path("program", name))
            except OSError:
                shutil.copy2(os.path.join(folder, name), self.path("program", name))
        shutil.copy2(self.sound_source, self.path("program", "alarm.wav"))
        self.program = self.path("program", os.path.basename(self.program_source))
        with open(self.path("browser"), "w") as out:
            out.write('#!/bin/sh\nprintf "%%s\\n" "$*" >> %s\n' % self.path("browser-calls"))
        os.chmod(self.path("browser"), 0o755)

    def program_env(self):
        if not self.env.get("DBUS_SYSTEM_BUS_ADDRESS", "").startswith("unix:path=" + self.root):
            raise StageError("no private system bus; refusing to start the program")
        # asan.supp: library reports that only a real X server reaches.
        # Chromium frees through base types with a sized delete, which ASan
        # reports inside the web view. 23 is never the program's own code.
        extra = "suppressions=%s:new_delete_type_mismatch=0:exitcode=23" % os.path.join(HERE, "asan.supp")
        asan = os.environ.get("ASAN_OPTIONS")
        # CI runs as root, where the web view needs its sandbox off. An empty
        # XDG_DATA_DIRS keeps desktop URL handlers from standing before
        # $BROWSER in xdg-open.
        return dict(self.env, QT_QPA_PLATFORM="xcb", LANG="zh_CN.UTF-8", BROWSER=self.path("browser"),
                    QTWEBENGINE_DISABLE_SANDBOX="1", XDG_DATA_DIRS=self.path("empty"),
                    XDG_CONFIG_DIRS=self.path("empty"), ASAN_OPTIONS=asan + ":" + extra if asan else extra)

    def service(self, name, argv, **kwargs):
        self.services.append(spawn(argv, self.env, os.path.join(self.logs, name + ".log"), **kwargs))
        return self.services[-1]

    def run(self, *argv, check=True):
        """A tool's output, or "" when it fails and check is off."""
        result = subprocess.run(argv, env=self.env, capture_output=True, timeout=30)
        if result.returncode and check:
            raise StageError("%s failed: %s" % (" ".join(argv), result.stderr.decode(errors="replace")))
        return result.stdout.decode(errors="replace") if result.returncode == 0 else ""

    def records(self, name):
        try:
            with open(self.path(name), encoding="utf-8") as record:
                return record.read().splitlines()
        except FileNotFoundError:
            return []

    # Sound ------------------------------------------------------------------

    def _record(self, fifo):
        with open(fifo, "rb", buffering=0) as pipe:
            while chunk := pipe.read(1 << 16):
                with self.audio_lock:
                    self.audio += chunk

    def audio_mark(self):
        """The recording's length in bytes, whole frames."""
        with self.audio_lock:
            return len(self.audio) // (2 * CHANNELS) * 2 * CHANNELS

    def recording(self, since):
        return array.array("h", self.audio[since:self.audio_mark()])

    # The screen -------------------------------------------------------------

    def windows(self, pid, title=None):
        """The process's visible top-level windows, optionally only those
        with exactly this title."""
        found = self.run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), check=False).split()
        return [int(w) for w in found if title is None or self.run("xdotool", "getwindowname", w,
                                                                   check=False) == title + "\n"]

    def geometry(self, window):
        """(x, y, width, height) of the client area on the screen."""
        text = self.run("xwininfo", "-id", str(window))
        return tuple(int(re.search(label + r":\s+(-?\d+)", text)[1])
                     for label in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def stacking(self):
        """Managed windows, bottom first."""
        return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", self.run("xprop", "-root", "_NET_CLIENT_LIST_STACKING"))]

    def tray_icons(self):
        """(x, y, width, height) of each icon docked in trayer's panel."""
        text = self.run("xwininfo", "-children", "-id", self.panel)
        icons = re.findall(r"^\s+0x[0-9a-f]+ .*\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)\s*$", text, re.M)
        return [(int(x), int(y), int(w), int(h)) for w, h, x, y in icons if int(w) >= 8 and int(h) >= 8]

    def click(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(int(x)), str(int(y)), "click", "1")

    def keys(self, *keys):
        self.run("xdotool", "key", "--delay", "40", *keys)

    def activate(self, window):
        self.run("xdotool", "windowactivate", "--sync", str(window), check=False)

    def screenshot(self, path):
        self.run("import", "-window", "root", path)

    # Stopping ---------------------------------------------------------------

    def stop(self):
        """Ends everything the stage started; safe to call twice."""
        for service in reversed(self.services):
            end_group(service)
        self.services = []
        if self.http:
            self.http.shutdown()
            self.http.server_close()
            self.http = None
        if not self.root:
            return
        for pid in marked(self.root):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        try:
            wait_until(lambda: not marked(self.root), 5, "the stage's processes to end")
        finally:
            shutil.rmtree(self.root, ignore_errors=True)
