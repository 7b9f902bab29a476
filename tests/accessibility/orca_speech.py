# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the screen reader with what it speaks written, line by line, to a file.

The reader logs each utterance to its "speech" log, which it keeps in memory; a handler
of our own on that log writes every line out at once. The reader refuses to start while
another one runs for the same user anywhere on the machine; this one has a display and
buses of its own, so it starts all the same. Usage: orca_speech.py FILE [ARGS]
"""
import logging
import runpy
import sys

handler = logging.FileHandler(sys.argv.pop(1), encoding="utf-8")
handler.setFormatter(logging.Formatter("%(message)s"))
logging.getLogger("speech").addHandler(handler)
sys.argv[0] = "/usr/bin/orca"
launcher = runpy.run_path("/usr/bin/orca", run_name="orca_launcher")
launcher["main"].__globals__["otherOrcas"] = lambda: []
sys.exit(launcher["main"]())
