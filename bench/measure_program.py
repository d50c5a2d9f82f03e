#!/usr/bin/env python3
"""Whole-program figures, measured from outside the process under Xvfb.

For each program: the time from exec until its main window is mapped, the
proportional set size (PSS) summed over the program's processes, and the CPU
time it uses while idle with its window hidden (minimised). A warm-up run,
then the median of several runs. Prints a table; asserts nothing.
"""
import argparse
import http.server
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

def children_of(pid):
    """pid and every process below it."""
    parents = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            parents.setdefault(int(fields[1]), []).append(int(entry))
        except OSError:
            continue
    tree, todo = [], [pid]
    while todo:
        current = todo.pop()
        tree.append(current)
        todo.extend(parents.get(current, []))
    return tree


def pss_kib(pids):
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def cpu_ns(pids):
    """CPU time of every thread of these processes, in nanoseconds (the
    scheduler's own count, finer than clock ticks), by thread."""
    times = {}
    for pid in pids:
        try:
            tasks = os.listdir(f"/proc/{pid}/task")
        except OSError:
            continue
        for task in tasks:
            try:
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    times[int(task)] = int(f.read().split()[0])
            except (OSError, ValueError, IndexError):
                pass
    return times


def cpu_used_ns(before, after):
    """Time used between two readings: threads that ended in between are
    not counted, threads that started are counted in full."""
    return sum(ns - before.get(task, 0) for task, ns in after.items())


def kill_tree(pid):
    pids = children_of(pid)
    for sig in (signal.SIGTERM, signal.SIGKILL):
        for p in pids:
            try:
                os.kill(p, sig)
            except OSError:
                pass
        deadline = time.time() + 3
        while time.time() < deadline and any(os.path.exists(f"/proc/{p}") for p in pids):
            time.sleep(0.05)


class Stage:
    """Xvfb with a window manager and a tray host, on a display of its own."""

    def __init__(self, display=":77"):
        self.display = display
        self.processes = []

    def __enter__(self):
        os.environ["DISPLAY"] = self.display
        self.processes.append(subprocess.Popen(
            ["Xvfb", self.display, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        deadline = time.time() + 10
        while subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode:
            if time.time() > deadline:
                raise RuntimeError("Xvfb did not start")
            time.sleep(0.1)
        # Services the programs start through the session bus (KAlarm's
        # global shortcuts, say) need the display as well.
        subprocess.run(["dbus-update-activation-environment", f"DISPLAY={self.display}"],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for command in (["openbox"], ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                      "--width", "120", "--height", "24", "--SetDockType", "true"]):
            self.processes.append(subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(1.5)
        return self

    def __exit__(self, *exc):
        for process in reversed(self.processes):
            kill_tree(process.pid)


class QuietPage(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = "<html><body style='background:#ffe'><h3>农场广告</h3></body></html>".encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def measure(command, title, search, env, idle_seconds, settle_seconds, wait_for_map):
    result = subprocess.run([wait_for_map, title, "30000", *command], env=env, capture_output=True, text=True)
    pid_text, ms_text = (result.stdout.split() + ["0", "-1"])[:2]
    pid, startup = int(pid_text), float(ms_text)
    try:
        if startup < 0:
            raise RuntimeError(f"{title}: no window ({result.stderr.strip()})")
        time.sleep(settle_seconds)
        pss = pss_kib(children_of(pid))
        # xdotool's name search is a regular expression that does not match
        # multi-byte titles: find the window by an ASCII pattern.
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", search], env=env,
                               capture_output=True, text=True).stdout.split()
        if not found:
            raise RuntimeError(f"{title}: window not found to minimise")
        for window in found:
            subprocess.run(["xdotool", "windowminimize", window], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(2)
        before = cpu_ns(children_of(pid))
        started = time.monotonic()
        time.sleep(idle_seconds)
        used = cpu_used_ns(before, cpu_ns(children_of(pid)))
        elapsed = time.monotonic() - started
        idle = 100.0 * used / 1e9 / elapsed
        return {"startup_ms": startup, "pss_mb": pss / 1024.0, "idle_pct": idle}
    finally:
        kill_tree(pid)


def neloclock_setup(program, web, port):
    """A program folder and a home of its own, with an empty alarm list."""
    root = tempfile.mkdtemp(prefix="neloclock-measure-")
    folder = os.path.join(root, "program")
    home = os.path.join(root, "home")
    os.makedirs(folder)
    os.makedirs(os.path.join(home, ".config", "NeloClock"))
    # Everything the build put beside the executable: the sound, the web
    # view plugin.
    source = os.path.dirname(os.path.abspath(program))
    for name in os.listdir(source):
        if os.path.isfile(os.path.join(source, name)) and name != "alarm.ini":
            shutil.copy2(os.path.join(source, name), folder)
    with open(os.path.join(home, ".config", "NeloClock", "NeloClock.conf"), "w") as f:
        f.write(f"[sites]\nMaker=127.0.0.1:{port}\n")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local", "share"))
    env.pop("QTWEBENGINE_DISABLE_SANDBOX", None)
    if web:
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    return [os.path.join(folder, os.path.basename(program))], env, root


def peer_setup(command):
    root = tempfile.mkdtemp(prefix="peer-measure-")
    env = dict(os.environ, HOME=root, XDG_CONFIG_HOME=os.path.join(root, ".config"),
               XDG_DATA_HOME=os.path.join(root, ".local", "share"))
    return command, env, root


def run_series(name, setup, title, search, args):
    samples = []
    for run in range(args.runs + 1):
        command, env, root = setup()
        try:
            sample = measure(command, title, search, env, args.idle_seconds, args.settle_seconds, args.wait_for_map)
        finally:
            shutil.rmtree(root, ignore_errors=True)
        if run > 0:  # the first run only warms the caches
            samples.append(sample)
        print(f"  {name} run {run}: {json.dumps(sample)}", file=sys.stderr)
    return {key: statistics.median(s[key] for s in samples) for key in samples[0]}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--neloclock", required=True)
    parser.add_argument("--wait-for-map", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--idle-seconds", type=float, default=60)
    parser.add_argument("--settle-seconds", type=float, default=3)
    parser.add_argument("--peers", action="store_true", help="also measure GNOME Clocks and KAlarm")
    parser.add_argument("--json", help="write the figures here as well")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), QuietPage)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    port = server.server_address[1]

    series = {}
    with Stage():
        series["NeloClock"] = run_series(
            "NeloClock", lambda: neloclock_setup(args.neloclock, False, port), "Nelo闹钟2.1版", "^Nelo", args)
        series["NeloClock, web panel on"] = run_series(
            "NeloClock web", lambda: neloclock_setup(args.neloclock, True, port), "Nelo闹钟2.1版", "^Nelo", args)
        if args.peers:
            series["GNOME Clocks"] = run_series(
                "GNOME Clocks", lambda: peer_setup(["gnome-clocks"]), "Clocks", "^Clocks$", args)
            series["KAlarm"] = run_series("KAlarm", lambda: peer_setup(["kalarm"]), "KAlarm", "KAlarm", args)
    server.shutdown()

    names = list(series)
    print()
    print("| program | start-up to window (ms) | PSS (MB) | idle CPU (% of one core) |")
    print("|---|---|---|---|")
    for name in names:
        s = series[name]
        print(f"| {name} | {s['startup_ms']:.0f} | {s['pss_mb']:.1f} | {s['idle_pct']:.3f} |")
    peers = [n for n in names if not n.startswith("NeloClock")]
    if peers:
        ours = series["NeloClock"]
        print()
        print("| NeloClock as a share of | start-up | PSS | idle CPU |")
        print("|---|---|---|---|")
        for peer in peers:
            p = series[peer]
            idle = f"{ours['idle_pct'] / p['idle_pct']:.2f}" if p["idle_pct"] > 0 else "n/a (peer used 0)"
            print(f"| {peer} | {ours['startup_ms'] / p['startup_ms']:.2f} | {ours['pss_mb'] / p['pss_mb']:.2f} | {idle} |")
    if args.json:
        with open(args.json, "w") as f:
            json.dump(series, f, indent=2)


if __name__ == "__main__":
    main()
