#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A Windows player's life with the game, under Wine, every installer silent (/S):
#
#   - the installer puts the program, the control (registered), the data and a
#     start-menu entry for all users in place, and clears what an earlier installer
#     copied into the installing user's folder;
#   - the entry starts the game, which reads its data from the install folder and keeps
#     the best score in the player's own folder, %APPDATA%\Lemmaro;
#   - a newer installer with another dictionary upgrades in place: the game then reads
#     the new dictionary and still has the player's record;
#   - the uninstaller takes away everything installed (the install folder too, even
#     with a record an older game wrote into it) and keeps the player's record.
#
#   installer_under_wine.sh INSTALLER NEWER_INSTALLER NEWER_DATI_RCX
set -euo pipefail

installer=$(realpath "$1") newer=$(realpath "$2") newerDati=$(realpath "$3")
if [ -z "${DISPLAY:-}" ]; then
  # A Wine server still running from a command without a display would serve this
  # game's windows too, and it has nowhere to show them.
  WINEDEBUG=-all wineserver -k 2>/dev/null || true
  WINEDEBUG=-all wineserver -w
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
: "${WINEPREFIX:?}"
export WINEDEBUG=-all
log=$(mktemp)
trap 'wineserver -k 2>/dev/null || true; rm -f "$log"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
drive=$WINEPREFIX/drive_c
# Installed where the player chose, which the upgrade has to find again.
program="$drive/Giochi/Lemmaro"
profile=$(find "$drive/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
player="$profile/AppData/Roaming/Lemmaro"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Lemmaro"
ownMenu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Lemmaro"
uninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lemmaro'
registered() { wine reg query 'HKCR\Echodet.Cards\CLSID' >/dev/null 2>&1; }
installedVersion() {
  wine reg query "$uninstallKey" /v DisplayVersion 2>/dev/null | tr -d '\r' |
    awk '/DisplayVersion/ {print $NF}'
}
# The game from its start-menu entry, its file opens traced, until its window shows.
play() {
  WINEDEBUG=trace+file wine start /unix "$menu/Lemmaro.lnk" >"$log" 2>&1
  local window=
  for _ in $(seq 1 60); do
    window=$(xdotool search --name '^LEMMARO' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || fail "the installed game opened no window"
  sleep 1
  echo "the installed game started: \"$(xdotool getwindowname "$window")\""
  wineserver -k
  wineserver -w
}
# Whether the traced game opened FILE (a Windows path, backslashes doubled as traced).
opened() { grep -qiF "$1" "$log"; }

# What an earlier installer left the installing user: copies of the data and an entry.
mkdir -p "$player" "$ownMenu"
for f in Dati.RCX FX01.wav; do echo "old copy" >"$player/$f"; done
touch "$ownMenu/Lemmaro.lnk"

wine "$installer" /S '/D=C:\Giochi\Lemmaro'
wineserver -w
for f in lemmaro.exe Echodet.ocx Dati.RCX FX01.wav FX06.wav it_IT.aff it_IT.dic uninstall.exe; do
  [ -f "$program/$f" ] || fail "$f was not installed"
done
echo "installed $(installedVersion): $(ls "$program" | tr '\n' ' ')"
[ -f "$menu/Lemmaro.lnk" ] || fail "no start-menu entry for all users"
[ ! -e "$ownMenu" ] || fail "the installing user's own entry is still there"
[ ! -e "$player/Dati.RCX" ] && [ ! -e "$player/FX01.wav" ] ||
  fail "the copies of an earlier installer are still in the player's folder"
registered || fail "Echodet.Cards is not registered"
# Stripped: a program with its debug information is three times the size.
size=$(stat -c %s "$program/lemmaro.exe")
[ "$size" -lt 8000000 ] || fail "lemmaro.exe is $size bytes: not stripped"

play
opened 'Giochi\\Lemmaro\\Dati.RCX' || fail "the game did not read the installed Dati.RCX"
[ -f "$player/Record.RCX" ] || fail "the game keeps no record in the player's folder"
[ ! -e "$program/Record.RCX" ] || fail "the game wrote its record into the install folder"
[ "$(ls -A "$player")" = Record.RCX ] || fail "the player's folder holds $(ls -A "$player")"

# The player's best score, as a game that ended with one leaves it.
/usr/bin/python3 -c 'import sys; open(sys.argv[1], "wb").write(bytes(b ^ 0xFF for b in b"MARIO 3250 "))' \
  "$player/Record.RCX"
record=$(sha256sum <"$player/Record.RCX")

before=$(installedVersion)
wine "$newer" /S
wineserver -w
after=$(installedVersion)
[ "$after" != "$before" ] || fail "the upgrade left version $before"
echo "upgraded from $before to $after"
cmp -s "$program/Dati.RCX" "$newerDati" || fail "the upgrade did not replace Dati.RCX"
registered || fail "Echodet.Cards is not registered after the upgrade"
[ "$(sha256sum <"$player/Record.RCX")" = "$record" ] || fail "the upgrade changed the record"
play
opened 'Giochi\\Lemmaro\\Dati.RCX' || fail "the upgraded game did not read the installed Dati.RCX"
[ ! -e "$drive/Program Files/Lemmaro" ] || fail "the upgrade went to Program Files, not to the older install"
opened 'Roaming\\Lemmaro\\Record.RCX' || fail "the upgraded game did not read the player's record"
[ "$(sha256sum <"$player/Record.RCX")" = "$record" ] || fail "the game changed the record"

# A record an older game wrote into its install folder goes with the folder.
echo "old record" >"$program/Record.RCX"
wine "$program/uninstall.exe" /S
wineserver -w  # the uninstaller runs on from a copy of itself; wait for it
[ ! -e "$program" ] || fail "left behind: $(ls -A "$program")"
[ ! -e "$menu" ] || fail "the start-menu entry is still there"
registered && fail "Echodet.Cards is still registered"
wine reg query "$uninstallKey" >/dev/null 2>&1 && fail "the uninstall entry is still there"
[ "$(sha256sum <"$player/Record.RCX" 2>/dev/null)" = "$record" ] ||
  fail "the silent uninstall did not keep the player's record"
[ "$(ls -A "$player")" = Record.RCX ] || fail "the player's folder holds $(ls -A "$player")"
echo "PASS: installed, played, upgraded, uninstalled; the record kept throughout"
