#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# about_box.sh CLIENT: runs the client's About box checks on a virtual X server of
# their own (no window manager). Wine's desktop process lives as long as the prefix's
# server and keeps the display it was started with, so the server is stopped first,
# for a desktop on this display, and again while the display still exists, so that
# no Wine process is left holding a display that has gone.
set -u
wineserver -k 2>/dev/null
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$1" about; status=$?; wineserver -k; exit $status' about "$1"
