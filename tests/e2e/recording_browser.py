#!/usr/bin/python3
"""The browser that xdg-open starts during the end-to-end runs: it only
writes the arguments it was given, as one JSON list a line, to the file named
by NELOCLOCK_E2E_BROWSER_RECORD, and opens nothing."""

import json
import os
import sys
import time

with open(os.environ["NELOCLOCK_E2E_BROWSER_RECORD"], "a", encoding="utf-8") as record:
    record.write(json.dumps({"arguments": sys.argv[1:], "time": time.time()}) + "\n")
