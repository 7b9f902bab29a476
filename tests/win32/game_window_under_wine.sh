#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real game under Wine, on a virtual X display, looked at and clicked as a player
# would: the window's size and title, the lamp's colour, a raster-operation pixel against
# the artwork under it, a tile click moving its letter up and back, "Conferma" giving a
# verdict, the spell checkers asked, the sound-card control found through COM; a word
# typed on the keyboard scoring as a clicked one; and a screen reader's view from another
# process (MSAA_CLIENT): the tree, a word played by default actions, the verdict
# announced. The window's pictures are kept for whoever wants to look at them.
#
#   game_window_under_wine.sh LEMMARO_EXE BOARD_PNG OUTPUT_DIR MSAA_CLIENT
#
# Runs itself under xvfb-run when there is no display. WINEPREFIX defaults to a prefix in
# OUTPUT_DIR; it is made on first use.
set -euo pipefail

exe=$1 board=$2 out=$3 client=$4
if [ -z "${DISPLAY:-}" ]; then
  # A Wine server still running from a command without a display would serve this
  # game's windows too, and it has nowhere to show them.
  WINEDEBUG=-all wineserver -k 2>/dev/null || true
  WINEDEBUG=-all wineserver -w
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
mkdir -p "$out"
exe=$(realpath "$exe") board=$(realpath "$board") out=$(realpath "$out") client=$(realpath "$client")
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$out/wine}
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1

fail() { echo "FAIL: $*" >&2; exit 1; }

# A data directory of the game's own: three words and one phrase, so the deal is known.
play=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$play"' EXIT
/usr/bin/python3 - "$play/Dati.RCX" <<'PY'
import sys
# Entries end with CR LF; the phrase carries the line feed and one mark before its
# seven letters, which makes it nine characters long.
text = "CASA\r\nBAR\r\nERBA\r\n-ALBERGO\r\n"
open(sys.argv[1], "wb").write(bytes(b ^ 0xFF for b in text.encode("cp1252")))
PY

(cd "$play" && LEMMARO_NO_DIALOGS=1 wine "$exe" >"$out/lemmaro-wine.log" 2>&1) &
window=
for _ in $(seq 1 120); do
  window=$(xdotool search --name '^LEMMARO' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "no LEMMARO window appeared"
sleep 1.5  # the first paint and the first tick

title=$(xdotool getwindowname "$window")
geometry=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
echo "window: \"$title\" $geometry"
case $title in LEMMARO*) ;; *) fail "title is \"$title\"" ;; esac
# Without a window manager the X window is the client area.
[ "$geometry" = "538x388" ] || fail "client area is $geometry, not 538x388"

shot() { import -window "$window" "$out/$1.png"; }
pixel() { convert "$out/$1.png" -format "%[fx:round(255*p{$2,$3}.r)],%[fx:round(255*p{$2,$3}.g)],%[fx:round(255*p{$2,$3}.b)]" info:; }
# The share of dark pixels inside a tile, its border left out: a letter inks 5 % or more.
ink() {
  convert "$out/$1.png" -crop "35x35+$(($2 + 3))+$(($3 + 3))" +repage -colorspace gray \
    -threshold 50% -format "%[fx:int(1000*(1-mean))]" info:
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
# Takes the window's picture until the check holds for it, for up to ten seconds: the
# game answers a click within a frame or two, a busy machine may take longer.
settle() {
  local name=$1
  shift
  for _ in $(seq 1 20); do
    shot "$name"
    if "$@" "$name"; then return 0; fi
    sleep 0.5
  done
  return 1
}
# lettera(0) at (16, 328), scelta(0) at (16, 280), each 41 x 41.
letterUp() { [ "$(ink "$1" 16 280)" -ge 50 ] && [ "$(ink "$1" 16 328)" -lt 10 ]; }
letterHome() { [ "$(ink "$1" 16 328)" -ge 50 ] && [ "$(ink "$1" 16 280)" -lt 10 ]; }
# The message line at the top left changed from the picture before the confirmation.
verdictShown() {
  local changed
  changed=$(compare -metric AE -fuzz 10% "$out/before-confirm.png[320x120+20+26]" \
    "$out/$1.png[320x120+20+26]" null: 2>&1 || true)
  [ "${changed%%.*}" -ge 100 ]
}

settle lemmaro-wine letterHome || fail "the first letter tile shows no letter, or the word tile one"
lamp=$(pixel lemmaro-wine 465 218)
echo "lamp: $lamp"
[ "$lamp" = "192,0,0" ] || fail "the lamp is $lamp, not 192,0,0"

# Shape15 is black in not-xor-pen mode: where nothing else is drawn it inverts the board.
read -r r g b < <(convert "$board" -format "%[fx:round(255*p{395,176}.r)] %[fx:round(255*p{395,176}.g)] %[fx:round(255*p{395,176}.b)]" info:) || true
inverted="$((255 - r)),$((255 - g)),$((255 - b))"
tinted=$(pixel lemmaro-wine 395 176)
echo "not-xor pixel: board $r,$g,$b -> $tinted"
[ "$tinted" = "$inverted" ] || fail "not-xor-pen gave $tinted over $r,$g,$b, not $inverted"

click 36 348
settle after-letter-click letterUp || fail "the letter did not move up"
click 36 300
settle after-word-click letterHome || fail "the letter did not come home"

# One letter confirmed: the verdict goes to the message line.
click 36 348
settle before-confirm letterUp || fail "the letter did not move up again"
click 166 257
settle after-confirm verdictShown || fail "Conferma showed no verdict"

# Three letters the game's own list lacks go to the spell checkers: neither the word
# processor nor the system's checker is on this machine, so Hunspell, with the Italian
# dictionary beside the program, answers; no message says a checker is missing.
click 84 348
click 132 348
click 166 257
for _ in $(seq 1 20); do
  grep -q "no word processor" "$out/lemmaro-wine.log" && break
  sleep 0.5
done
grep -q "no word processor" "$out/lemmaro-wine.log" || fail "the spell checkers were not asked"
sleep 1
if grep -q "correttore ortografico non" "$out/lemmaro-wine.log"; then
  fail "Hunspell did not answer: $(grep correttore "$out/lemmaro-wine.log")"
fi
# The control was registered before the game started: the window found it through COM.
if grep -q "Echodet.Cards control cannot be created" "$out/lemmaro-wine.log"; then
  fail "Cards1 was not created: $(grep Echodet "$out/lemmaro-wine.log")"
fi

# The keyboard: Escape sends the word home, then BAR is typed and confirmed with Enter,
# as X sends real key events to the window that has the focus.
points() { wine "$client" read | head -1 | tr -d '\r' | awk '{print $2 + 0}'; }
before=$(points)
xdotool mousemove --window "$window" 300 60 click 1  # the message line: the board's focus
xdotool key --delay 80 Escape b a r Return
for _ in $(seq 1 20); do
  [ "$(points)" -eq $((before + 30)) ] && break
  sleep 0.5
done
shot after-keys
after=$(points)
echo "keys: BAR scored $before -> $after"
[ "$after" -eq $((before + 30)) ] || fail "BAR typed on the keyboard scored $before -> $after, not 30"

# A screen reader in another process: the tree, then ERBA played by default actions.
wine "$client" tree >"$out/msaa-tree.txt" 2>&1 || { cat "$out/msaa-tree.txt"; fail "the tree"; }
cat "$out/msaa-tree.txt"
wine "$client" play ERBA >"$out/msaa-play.txt" 2>&1 || { cat "$out/msaa-play.txt"; fail "ERBA by default actions"; }
cat "$out/msaa-play.txt"
shot after-reader
cat "$out/lemmaro-wine.log"
echo "PASS: pictures in $out"
