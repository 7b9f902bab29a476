#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# in_wine.sh PROGRAM [ARGS...]: runs a Windows program under Wine, then stops its
# prefix's server. What the program started there (an out-of-process server that was
# never released, and the system's processes that served it) would otherwise live on
# and hold the test's output open after the program has ended.
wine "$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w
exit $status
