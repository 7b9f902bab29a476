# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that play the Windows game under Wine: each runs on a virtual X
# display of its own and finds the game's window by its title.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the calling script again on a display of its own when it has none:
#   onOwnDisplay "$0" "$@"
onOwnDisplay() {
  [ -z "${DISPLAY:-}" ] || return 0
  # A Wine server still running from a command without a display would serve this
  # game's windows too, and it has nowhere to show them.
  WINEDEBUG=-all wineserver -k 2>/dev/null || true
  WINEDEBUG=-all wineserver -w
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
}

# Prints the game window's id once it shows (within a minute); fails if it never does:
#   window=$(gameWindow) || exit 1
gameWindow() {
  local window
  for _ in $(seq 1 120); do
    window=$(xdotool search --name '^LEMMARO' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && { echo "$window"; return 0; }
    sleep 0.5
  done
  fail "no LEMMARO window appeared"
}
