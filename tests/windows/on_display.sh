#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# on_display.sh PROGRAM [ARGS...]: runs a Windows program under Wine on a virtual X
# server of its own (no window manager). Wine's desktop process keeps the display it
# was started with, so the prefix's server is stopped before, and again while the
# display still exists.
set -u
wineserver -k 2>/dev/null
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$@"; status=$?; wineserver -k; exit $status' \
  on_display "$@"
