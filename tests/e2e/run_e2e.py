#!/usr/bin/python3
"""Runs NeloClock's end-to-end journeys: the real executable on a private X
screen with a window manager and a notification area, a private sound
server whose output is recorded, a local web server, a recording browser
and a fake logind on a private system bus.

    run_e2e.py --program build/asan/bin/NeloClock --sound build/asan/bin/alarm.wav \\
               --artifacts build/asan [journey ...]

Journeys: stage, first_start, text_reminder, due_minute, site_action, close_and_restart,
kill_after_add, power_off, second_copy (all when none is named).
Screenshots go to <artifacts>/e2e-screenshots/<journey>/, logs to
<artifacts>/e2e-logs/<journey>/.
"""

import argparse
import os
import signal
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
# Nothing written into the source tree.
sys.dont_write_bytecode = True

import journeys  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, help="the NeloClock executable")
    parser.add_argument("--sound", required=True, help="the alarm.wav that ships beside it")
    parser.add_argument("--artifacts", required=True, help="folder for screenshots and logs")
    parser.add_argument("journeys", nargs="*", help="journeys to run (default: all)")
    options = parser.parse_args()

    for path in (options.program, options.sound):
        if not os.path.isfile(path):
            parser.error("missing " + path)

    # The program and the suite read the clock in the same time zone, so due
    # times written by the one can be checked by the other.
    os.environ.setdefault("TZ", "Asia/Shanghai")
    time.tzset()

    journeys.CONFIG.program = os.path.abspath(options.program)
    journeys.CONFIG.sound = os.path.abspath(options.sound)
    journeys.CONFIG.artifacts = os.path.abspath(options.artifacts)

    names = options.journeys or list(journeys.JOURNEYS)
    unknown = [name for name in names if name not in journeys.JOURNEYS]
    if unknown:
        parser.error("unknown journey: " + ", ".join(unknown))

    # Ended from outside (CTest's timeout, Ctrl+C): take the stage down
    # before going, so no server, screen or program stays behind.
    def end(signum, frame):
        journeys.stop_all_stages()
        sys.exit(128 + signum)

    signal.signal(signal.SIGTERM, end)
    signal.signal(signal.SIGINT, end)
    signal.signal(signal.SIGHUP, end)

    suite = unittest.TestSuite()
    loader = unittest.TestLoader()
    for name in names:
        suite.addTests(loader.loadTestsFromTestCase(journeys.JOURNEYS[name]))

    began = time.monotonic()
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    print("e2e: %d journeys in %.1f s" % (result.testsRun, time.monotonic() - began))
    return 0 if result.wasSuccessful() and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
