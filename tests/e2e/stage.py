"""The stage the end-to-end journeys run on, started and stopped by the suite:

- Xvfb with openbox (honours "stay on top") and trayer (a notification area),
- a private D-Bus bus that the program takes for its system bus, with a fake
  logind on it that records power-off requests and never acts on them,
- a second private bus as the session bus,
- PulseAudio whose default sink is a pipe sink; the suite reads the pipe, so
  everything the program plays is recorded,
- an HTTP server on 127.0.0.1 for the advertisement page and the sites,
- a recording browser that xdg-open runs through $BROWSER,
- a temporary HOME and a temporary program folder.

Every process the stage starts gets its own process group and the marker
variable NELOCLOCK_E2E_STAGE; stop() ends them all, also those they started.
"""

import ctypes
import http.server
import json
import os
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"  # Debian's, which has python3-dbus and python3-gi

SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 800

# Audio format of the capture sink.
CAPTURE_RATE = 44100
CAPTURE_CHANNELS = 2
CAPTURE_BYTES_PER_FRAME = 2 * CAPTURE_CHANNELS

# The advertisement page is one flat colour, so a screenshot tells whether
# the panel shows it.
AD_COLOUR = (0xC0, 0x30, 0xA0)
AD_PAGE = (
    "<!DOCTYPE html><html><head><meta charset='utf-8'><title>ad</title></head>"
    "<body style='margin:0;background:#%02x%02x%02x'>"
    "<div style='height:100vh'></div></body></html>" % AD_COLOUR
).encode("utf-8")

MARKER = "NELOCLOCK_E2E_STAGE"

# Variables of the caller's desktop that would change what xdg-open, Qt or
# the web view do; the stage sets its own.
_DROPPED_VARIABLES = (
    "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "XDG_SESSION_TYPE", "DESKTOP_SESSION",
    "KDE_FULL_SESSION", "KDE_SESSION_VERSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID",
    "WAYLAND_DISPLAY", "SESSION_MANAGER", "XAUTHORITY", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME",
    "QT_STYLE_OVERRIDE", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
    "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI", "GDK_SCALE", "LC_ALL", "LANGUAGE",
    "http_proxy", "https_proxy", "ftp_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "FTP_PROXY",
    "ALL_PROXY", "BROWSER", "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS", "PULSE_SERVER",
    "DISPLAY", "TMPDIR",
)

_BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>{kind}</type>
  <listen>unix:path={socket}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


class StageError(RuntimeError):
    pass


def end_process_group(popen, first_signal, grace):
    """Ends a process started in a session of its own and everything in its
    group: first_signal to the group, then SIGKILL for whatever is left
    (children that ignored the request, a web view's helpers)."""
    if popen.poll() is None:
        try:
            os.killpg(popen.pid, first_signal)
        except ProcessLookupError:
            pass
        try:
            popen.wait(grace)
        except subprocess.TimeoutExpired:
            pass
    try:
        os.killpg(popen.pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass
    try:
        popen.wait(grace)
    except subprocess.TimeoutExpired:
        pass


def die_with_parent():
    # A child that outlives a killed suite would be a leftover; the kernel
    # ends it when the suite's process goes away.
    try:
        libc = ctypes.CDLL("libc.so.6", use_errno=True)
        libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    except OSError:
        pass


def wait_until(condition, timeout, interval=0.05, what="condition"):
    """Polls condition() until it returns something true or the deadline
    passes; returns that value, or raises StageError naming what."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise StageError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def pid_alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as stat:
            state = stat.read().rsplit(")", 1)[1].split()[0]
        return state not in ("Z", "X")
    except (FileNotFoundError, ProcessLookupError, IndexError):
        return False


def processes_with_marker(value):
    """Ids of live processes whose environment holds MARKER=value."""
    needle = ("%s=%s" % (MARKER, value)).encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as environ:
                variables = environ.read().split(b"\0")
        except OSError:
            continue
        if needle in variables and pid_alive(int(entry)):
            found.append(int(entry))
    return found


def processes_running(executable):
    """Ids of live processes whose executable is the given file."""
    target = os.path.realpath(executable)
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            exe = os.readlink("/proc/%s/exe" % entry)
        except OSError:
            continue
        if exe == target and pid_alive(int(entry)):
            found.append(int(entry))
    return found


class Service:
    """One process of the stage, in its own process group."""

    def __init__(self, name, argv, env, log_path, stdout=None, pass_fds=(), cwd=None):
        self.name = name
        self.argv = argv
        self.log_path = log_path
        self._log = open(log_path, "ab")
        self.popen = subprocess.Popen(
            argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
            stdout=stdout if stdout is not None else self._log, stderr=self._log,
            pass_fds=pass_fds, start_new_session=True, preexec_fn=die_with_parent)

    @property
    def pid(self):
        return self.popen.pid

    def alive(self):
        return self.popen.poll() is None

    def stop(self, grace=3.0):
        end_process_group(self.popen, signal.SIGTERM, grace)
        if self.popen.stdout is not None:
            self.popen.stdout.close()
        self._log.close()


def _read_line(stream, timeout, what):
    """One line from a pipe, within timeout."""
    deadline = time.monotonic() + timeout
    data = b""
    fd = stream.fileno()
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0:
            raise StageError("no answer from %s within %.0f s" % (what, timeout))
        ready, _, _ = select.select([fd], [], [], left)
        if not ready:
            continue
        chunk = os.read(fd, 1)
        if not chunk:
            raise StageError("%s ended before answering" % what)
        data += chunk
    return data.decode().strip()


class _RequestCounter:
    def __init__(self):
        self._lock = threading.Lock()
        self._requests = []

    def add(self, path, headers):
        with self._lock:
            self._requests.append({"path": path, "time": time.time(), "user_agent": headers.get("User-Agent", "")})

    def count(self, path):
        with self._lock:
            return sum(1 for request in self._requests if request["path"] == path)

    def all(self):
        with self._lock:
            return list(self._requests)


class _Handler(http.server.BaseHTTPRequestHandler):
    counter = None
    pages = {}

    def do_GET(self):
        self.counter.add(self.path, self.headers)
        body = self.pages.get(self.path.split("?", 1)[0])
        if body is None:
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, format, *args):
        pass


class AudioCapture:
    """Reads the pipe sink's FIFO for the whole run. Offsets are byte offsets
    into the recording; mark() gives the present one."""

    def __init__(self, fifo_path, record_path):
        self._fifo_path = fifo_path
        self._record = open(record_path, "w+b")
        self._lock = threading.Lock()
        self._size = 0
        self._stopping = threading.Event()
        self._fd = None
        self._thread = threading.Thread(target=self._run, name="audio-capture", daemon=True)

    def start(self):
        self._fd = os.open(self._fifo_path, os.O_RDONLY | os.O_NONBLOCK)
        self._thread.start()

    def _run(self):
        while not self._stopping.is_set():
            ready, _, _ = select.select([self._fd], [], [], 0.05)
            if not ready:
                continue
            try:
                chunk = os.read(self._fd, 1 << 16)
            except BlockingIOError:
                continue
            if not chunk:
                time.sleep(0.02)
                continue
            with self._lock:
                self._record.seek(0, os.SEEK_END)
                self._record.write(chunk)
                self._size += len(chunk)

    def mark(self):
        with self._lock:
            return self._size - self._size % CAPTURE_BYTES_PER_FRAME

    def seconds_since(self, offset):
        return (self.mark() - offset) / (CAPTURE_RATE * CAPTURE_BYTES_PER_FRAME)

    def since(self, offset):
        with self._lock:
            self._record.flush()
            self._record.seek(offset)
            data = self._record.read(self._size - offset)
        return data[: len(data) - len(data) % CAPTURE_BYTES_PER_FRAME]

    def stop(self):
        self._stopping.set()
        if self._thread.is_alive():
            self._thread.join(2)
        if self._fd is not None:
            os.close(self._fd)
            self._fd = None
        self._record.close()


class Stage:
    """Start with start(), always end with stop() (also after a failure)."""

    def __init__(self, program, sound, logs_dir):
        self.program_source = program
        self.sound_source = sound
        self.logs_dir = logs_dir
        self.root = None
        self.services = []
        self.display = None
        self.system_bus_address = None
        self.session_bus_address = None
        self.pulse_server = None
        self.http_port = None
        self.audio = None
        self._http = None
        self._http_thread = None
        self.requests = _RequestCounter()
        self.logind = None
        self.timings = {}

    # Paths --------------------------------------------------------------

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    @property
    def home(self):
        return self.path("home")

    @property
    def config_home(self):
        return self.path("home", ".config")

    @property
    def program_dir(self):
        return self.path("program")

    @property
    def program_path(self):
        return self.path("program", os.path.basename(self.program_source))

    @property
    def alarm_file(self):
        return self.path("program", "alarm.ini")

    @property
    def logind_record(self):
        return self.path("logind-calls.jsonl")

    @property
    def browser_record(self):
        return self.path("browser-calls.jsonl")

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.http_port, path)

    def host_address(self, path=""):
        """An address the way the program keeps a site: no scheme."""
        return "127.0.0.1:%d%s" % (self.http_port, path)

    # Start and stop -------------------------------------------------------

    def start(self):
        try:
            self._start()
        except BaseException:
            self.stop()
            raise
        return self

    def _timed(self, name, start_function):
        began = time.monotonic()
        start_function()
        self.timings[name] = time.monotonic() - began

    @staticmethod
    def _remove_stale_stages(older_than=3600):
        """Folders of stages whose runner was killed outright (their
        processes died with it): nothing runs there any more."""
        folder = tempfile.gettempdir()
        for name in os.listdir(folder):
            path = os.path.join(folder, name)
            if not name.startswith("neloclock-e2e-") or not os.path.isdir(path):
                continue
            try:
                if time.time() - os.path.getmtime(path) < older_than or processes_with_marker(path):
                    continue
            except OSError:
                continue
            shutil.rmtree(path, ignore_errors=True)

    def _start(self):
        self._remove_stale_stages()
        self.root = tempfile.mkdtemp(prefix="neloclock-e2e-")
        for folder in ("home/.config", "home/.local/share", "home/.cache", "xdg-data", "tmp", "program", "logs"):
            os.makedirs(self.path(folder), exist_ok=True)
        os.makedirs(self.path("runtime"), mode=0o700, exist_ok=True)
        os.chmod(self.path("runtime"), 0o700)
        os.makedirs(self.logs_dir, exist_ok=True)

        self._timed("xvfb", self._start_xvfb)
        self._timed("openbox", self._start_openbox)
        self._timed("trayer", self._start_trayer)
        self._timed("buses", self._start_buses)
        self._timed("logind", self._start_logind)
        self._timed("pulseaudio", self._start_pulseaudio)
        self._timed("http", self._start_http)
        self._timed("program folder", self._lay_out_program)

    def _base_env(self):
        env = {key: value for key, value in os.environ.items() if key not in _DROPPED_VARIABLES}
        env.update({
            MARKER: self.root,
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config_home,
            "XDG_DATA_HOME": self.path("home", ".local", "share"),
            "XDG_CACHE_HOME": self.path("home", ".cache"),
            "XDG_RUNTIME_DIR": self.path("runtime"),
            "TMPDIR": self.path("tmp"),
            "LANG": "C.UTF-8",
            "no_proxy": "127.0.0.1,localhost",
            "NO_PROXY": "127.0.0.1,localhost",
        })
        if self.display:
            env["DISPLAY"] = self.display
        if self.session_bus_address:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.session_bus_address
        if self.system_bus_address:
            env["DBUS_SYSTEM_BUS_ADDRESS"] = self.system_bus_address
        if self.pulse_server:
            env["PULSE_SERVER"] = self.pulse_server
        return env

    def tool_env(self):
        """For the X, D-Bus and audio tools the suite itself runs."""
        return self._base_env()

    def program_env(self):
        """The environment the program under test starts with."""
        env = self._base_env()
        if not self.system_bus_address or not self.system_bus_address.startswith("unix:path=" + self.root):
            raise StageError("the private system bus is not up; refusing to start the program")
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "LANG": "zh_CN.UTF-8",
            "TZ": os.environ.get("TZ", "Asia/Shanghai"),
            "BROWSER": os.path.join(HERE, "recording_browser.py"),
            "NELOCLOCK_E2E_BROWSER_RECORD": self.browser_record,
            # The suite runs as root in CI; the web view needs this there.
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
            # Only an empty folder: no desktop's URL handler stands before
            # $BROWSER in xdg-open's search.
            "XDG_DATA_DIRS": self.path("xdg-data"),
            "XDG_CONFIG_DIRS": self.path("xdg-data"),
        })
        # For a sanitizer build: reports from libraries that are not built
        # with the sanitizer and that only a real X server and a live web
        # view reach (see asan.supp). Qt WebEngine's Chromium frees objects
        # through a base type with a sized delete, which ASan reports as a
        # type mismatch inside Chromium; NeloClock's own code is checked for
        # everything else as in the unit tests.
        # A run that ends with a sanitizer report exits with 23, never with a
        # code the program could give itself.
        extra = "suppressions=%s:new_delete_type_mismatch=0:exitcode=23" % os.path.join(HERE, "asan.supp")
        env["ASAN_OPTIONS"] = env["ASAN_OPTIONS"] + ":" + extra if env.get("ASAN_OPTIONS") else extra
        return env

    def _service(self, name, argv, env=None, **kwargs):
        service = Service(name, argv, env if env is not None else self._base_env(),
                          self.path("logs", name + ".log"), **kwargs)
        self.services.append(service)
        return service

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        try:
            self._service("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                   "%dx%dx24" % (SCREEN_WIDTH, SCREEN_HEIGHT), "-nolisten", "tcp",
                                   "-dpi", "96", "-noreset"],
                          pass_fds=(write_end,))
            os.close(write_end)
            write_end = None
            with os.fdopen(read_end, "rb", buffering=0) as stream:
                read_end = None
                number = _read_line(stream, 20, "Xvfb")
        finally:
            for fd in (read_end, write_end):
                if fd is not None:
                    os.close(fd)
        self.display = ":" + number
        wait_until(lambda: self.run(["xdpyinfo"], check=False).returncode == 0, 10, what="Xvfb to answer")

    def _start_openbox(self):
        self._service("openbox", ["openbox", "--sm-disable"])
        wait_until(lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                                   check=False).stdout,
                   10, what="openbox to manage the screen")

    def _start_trayer(self):
        self._service("trayer", ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                                 "--height", "24", "--SetDockType", "true", "--SetPartialStrut", "true",
                                 "--transparent", "false", "--tint", "0x404040", "--expand", "true"])
        wait_until(self.tray_panel, 10, what="trayer's panel")

    def tray_panel(self):
        """trayer's panel window as a node of the window tree, or None."""
        from xscreen import window_tree
        for node in window_tree(self):
            if node.name == "panel" and node.wm_class == ("panel", "trayer"):
                return node
        return None

    def _start_bus(self, name):
        socket = self.path("%s_bus_socket" % name)
        config = self.path("%s-bus.conf" % name)
        with open(config, "w") as out:
            out.write(_BUS_CONFIG.format(kind="session" if name == "session" else "e2e-system", socket=socket))
        service = self._service(name + "-bus", ["dbus-daemon", "--config-file=" + config, "--nofork",
                                                "--nopidfile", "--print-address=1"],
                                stdout=subprocess.PIPE)
        address = _read_line(service.popen.stdout, 10, "dbus-daemon (%s)" % name)
        if not address.startswith("unix:path=" + socket):
            raise StageError("unexpected bus address " + address)
        return address

    def _start_buses(self):
        self.system_bus_address = self._start_bus("system")
        self.session_bus_address = self._start_bus("session")

    def _start_logind(self):
        service = self._service("fake-logind",
                                [PYTHON, os.path.join(HERE, "fake_logind.py"), "--address",
                                 self.system_bus_address, "--record", self.logind_record],
                                stdout=subprocess.PIPE)
        if _read_line(service.popen.stdout, 15, "the fake logind") != "ready":
            raise StageError("the fake logind did not start")
        self.logind = service
        owner_pid = self.bus_name_owner_pid("org.freedesktop.login1")
        if owner_pid != service.pid:
            raise StageError("org.freedesktop.login1 on the private bus belongs to %r, not the fake" % owner_pid)

    def dbus_call(self, destination, path, method, *arguments, bus="system"):
        """dbus-send on one of the stage's private buses (never another)."""
        address = self.system_bus_address if bus == "system" else self.session_bus_address
        if not address or not address.startswith("unix:path=" + self.root):
            raise StageError("refusing a bus call outside the stage's private buses")
        return self.run(["dbus-send", "--bus=" + address, "--print-reply", "--dest=" + destination, path, method]
                        + list(arguments), check=False)

    def bus_name_owner_pid(self, name):
        reply = self.dbus_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus.GetConnectionUnixProcessID", "string:" + name)
        if reply.returncode != 0:
            return None
        for word in reply.stdout.split():
            if word.isdigit():
                return int(word)
        return None

    def logind_calls(self):
        try:
            with open(self.logind_record, encoding="utf-8") as record:
                return [json.loads(line) for line in record if line.strip()]
        except FileNotFoundError:
            return []

    def browser_calls(self):
        try:
            with open(self.browser_record, encoding="utf-8") as record:
                return [json.loads(line) for line in record if line.strip()]
        except FileNotFoundError:
            return []

    def _start_pulseaudio(self):
        socket = self.path("runtime", "pulse-native")
        fifo = self.path("capture.fifo")
        env = self._base_env()
        argv = [
            "pulseaudio", "--system=false", "-n", "--exit-idle-time=-1", "--daemonize=no",
            "--use-pid-file=no", "--disable-shm=yes", "--realtime=false", "--high-priority=false",
            "--log-target=stderr", "--log-level=notice",
            "-L", "module-native-protocol-unix socket=%s auth-anonymous=1" % socket,
            "-L", "module-null-sink sink_name=silent",
            "-L", ("module-pipe-sink file=%s sink_name=capture format=s16le rate=%d channels=%d "
                   "use_system_clock_for_timing=yes") % (fifo, CAPTURE_RATE, CAPTURE_CHANNELS),
        ]
        self._service("pulseaudio", argv, env=env)
        self.pulse_server = "unix:" + socket
        wait_until(lambda: self.run(["pactl", "info"], check=False).returncode == 0, 15,
                   what="PulseAudio to answer")
        self.run(["pactl", "set-default-sink", "capture"])
        info = self.run(["pactl", "info"]).stdout
        if "Default Sink: capture" not in info:
            raise StageError("the capture sink is not the default:\n" + info)
        wait_until(lambda: os.path.exists(fifo), 5, what="the capture FIFO")
        self.audio = AudioCapture(fifo, self.path("capture.raw"))
        self.audio.start()

    def _start_http(self):
        handler = type("Handler", (_Handler,), {
            "counter": self.requests,
            "pages": {"/ad4.asp": AD_PAGE, "/ad-tc.asp": AD_PAGE},
        })
        self._http = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self._http.daemon_threads = True
        self.http_port = self._http.server_address[1]
        self._http_thread = threading.Thread(target=self._http.serve_forever, name="http", daemon=True)
        self._http_thread.start()

    def _lay_out_program(self):
        # Copied or hard-linked, never symbolically linked: the program finds
        # alarm.ini and alarm.wav beside its resolved executable, which a
        # symbolic link would put back in the build folder.
        # The libraries it loads from its own folder (the web view plugin)
        # come along; the folder's state (alarm.ini) does not.
        source_folder = os.path.dirname(self.program_source)
        shipped = [self.program_source] + sorted(
            os.path.join(source_folder, name) for name in os.listdir(source_folder)
            if name.endswith(".so") or ".so." in name or name.endswith(".dll"))
        for source in shipped:
            target = self.path("program", os.path.basename(source))
            try:
                os.link(source, target)
            except OSError:
                shutil.copy2(source, target)
        shutil.copy2(self.sound_source, self.path("program", "alarm.wav"))

    def write_settings(self, organization, application, groups):
        """Writes the program's settings file (QSettings, INI format) before
        a start."""
        folder = os.path.join(self.config_home, organization)
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, application + ".conf")
        with open(path, "w", encoding="utf-8") as out:
            for group, values in groups.items():
                out.write("[%s]\n" % group)
                for key, value in values.items():
                    out.write("%s=%s\n" % (key, value))
                out.write("\n")
        return path

    def stop(self):
        """Ends everything the stage started; safe to call more than once."""
        leftovers = []
        for service in reversed(self.services):
            try:
                service.stop()
            except Exception:  # keep going: the rest must stop too
                pass
        if self.audio is not None:
            self.audio.stop()
        if self._http is not None:
            self._http.shutdown()
            self._http.server_close()
            self._http = None
        if self.root:
            # Anything started under the stage that left its process group
            # (a detached browser, a web-view helper).
            for pid in processes_with_marker(self.root):
                leftovers.append(pid)
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            try:
                wait_until(lambda: not processes_with_marker(self.root), 5, what="the stage's processes to end")
            except StageError:
                pass
            if os.path.isdir(self.path("logs")):
                for name in os.listdir(self.path("logs")):
                    shutil.copy2(self.path("logs", name), os.path.join(self.logs_dir, name))
            shutil.rmtree(self.root, ignore_errors=True)
        self.services = []
        return leftovers

    # Running tools --------------------------------------------------------

    def run(self, argv, check=True, input=None, timeout=30):
        result = subprocess.run(argv, env=self.tool_env(), input=input, capture_output=True, timeout=timeout)
        result.stdout = result.stdout.decode("utf-8", "replace")
        result.stderr = result.stderr.decode("utf-8", "replace")
        if check and result.returncode != 0:
            raise StageError("%s failed (%d): %s" % (" ".join(argv), result.returncode, result.stderr.strip()))
        return result

    def run_bytes(self, argv, timeout=30):
        result = subprocess.run(argv, env=self.tool_env(), capture_output=True, timeout=timeout)
        if result.returncode != 0:
            raise StageError("%s failed (%d): %s" % (" ".join(argv), result.returncode,
                                                     result.stderr.decode("utf-8", "replace").strip()))
        return result.stdout
