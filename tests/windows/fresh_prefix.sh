#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Wine prefix $WINEPREFIX anew. No display is needed: nothing here opens
# a window.
set -eu
: "${WINEPREFIX:?}"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
DISPLAY= wineboot -i
# Until the server has written the new registry out, a test could read a stale one.
wineserver -w
