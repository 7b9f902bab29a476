#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, silent (/S): it installs the program, the control
# (registered), the data and a start-menu entry; the entry starts the game in the
# player's data folder; the silent uninstaller then leaves nothing behind.
#
#   installer_under_wine.sh INSTALLER
set -euo pipefail

installer=$(realpath "$1")
if [ -z "${DISPLAY:-}" ]; then
  # A Wine server still running from a command without a display would serve this
  # game's windows too, and it has nowhere to show them.
  WINEDEBUG=-all wineserver -k 2>/dev/null || true
  WINEDEBUG=-all wineserver -w
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
: "${WINEPREFIX:?}"
export WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
drive=$WINEPREFIX/drive_c
program="$drive/Program Files/Lemmaro"
profile=$(find "$drive/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
player="$profile/AppData/Roaming/Lemmaro"
menu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Lemmaro"
registered() { wine reg query 'HKCR\Echodet.Cards\CLSID' >/dev/null 2>&1; }
uninstallKey() { wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lemmaro' >/dev/null 2>&1; }

wine "$installer" /S
wineserver -w
for f in lemmaro.exe Echodet.ocx Dati.RCX FX01.wav FX06.wav uninstall.exe; do
  [ -f "$program/$f" ] || fail "$f was not installed"
done
[ -f "$menu/Lemmaro.lnk" ] || fail "no start-menu entry"
[ -f "$player/Dati.RCX" ] || fail "the player's folder has no Dati.RCX"
registered || fail "Echodet.Cards is not registered"
uninstallKey || fail "no uninstall entry"
echo "installed: $(ls "$program" | tr '\n' ' ')"

# Started from its start-menu entry, the game opens its window in the player's folder
# (where it creates the record file) and finds its sound-card control.
wine start /unix "$menu/Lemmaro.lnk" >/dev/null 2>&1
window=
for _ in $(seq 1 60); do
  window=$(xdotool search --name '^LEMMARO' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "the installed game opened no window"
sleep 1
[ -f "$player/Record.RCX" ] || fail "the game did not start in the player's folder"
echo "the installed game started: \"$(xdotool getwindowname "$window")\""
wineserver -k
wineserver -w

wine "$program/uninstall.exe" /S
wineserver -w  # the uninstaller runs on from a copy of itself; wait for it
[ ! -e "$program" ] || fail "left behind: $(ls -A "$program")"
[ ! -e "$player" ] || fail "the player's folder is still there"
[ ! -e "$menu" ] || fail "the start-menu entry is still there"
registered && fail "Echodet.Cards is still registered"
uninstallKey && fail "the uninstall entry is still there"
echo "PASS: installed, started, uninstalled without a trace"
