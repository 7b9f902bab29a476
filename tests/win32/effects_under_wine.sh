#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game's effects under Wine, heard through a stand-in media player control (which
# logs its settings and each URL written) and a stand-in winmm.dll with one sound
# device beside the program; both registered or placed only in this test's own prefix
# and folder. A letter played up and back plays its two effects; with the speaker
# switched off nothing plays; switched on again, the next letter plays.
#
#   effects_under_wine.sh LEMMARO_EXE ECHODET_OCX WINMM_STAND_IN MEDIA_PLAYER_STAND_IN
set -euo pipefail

exe=$(realpath "$1") ocx=$(realpath "$2") winmm=$(realpath "$3") player=$(realpath "$4")
if [ -z "${DISPLAY:-}" ]; then
  WINEDEBUG=-all wineserver -k 2>/dev/null || true
  WINEDEBUG=-all wineserver -w
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
: "${WINEPREFIX:?}"
export WINEDEBUG=-all
play=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$play"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wine reg add 'HKLM\Software\Classes\CLSID\{6BF52A52-394A-11D3-B153-00C04F79FAA6}\InprocServer32' \
  /ve /d "Z:$player" /f >/dev/null
wine reg add 'HKLM\Software\Classes\CLSID\{6BF52A52-394A-11D3-B153-00C04F79FAA6}\InprocServer32' \
  /v ThreadingModel /d Apartment /f >/dev/null
wine regsvr32 /s "Z:$ocx"
cp "$exe" "$winmm" "$play/"
/usr/bin/python3 - "$play/Dati.RCX" <<'PY'
import sys
text = "CASA\r\n-ALBERGO\r\n"
open(sys.argv[1], "wb").write(bytes(b ^ 0xFF for b in text.encode("cp1252")))
PY

log=$play/player.log
(cd "$play" && LEMMARO_STAND_IN_LOG="Z:$log" LEMMARO_NO_DIALOGS=1 WINEDLLOVERRIDES=winmm=n \
  wine lemmaro.exe >"$play/lemmaro.log" 2>&1) &
window=
for _ in $(seq 1 120); do
  window=$(xdotool search --name '^LEMMARO' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "no LEMMARO window appeared"
sleep 1.5
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.7; }
urls() { grep -c '^player.URL=' "$log" 2>/dev/null || true; }

click 36 348  # a letter up
click 36 300  # and back
click 32 248  # the speaker off
click 36 348
click 36 300
click 32 248  # and on again
click 84 348

echo "the stand-in's log:"
sed 's/^/  /' "$log" || fail "the stand-in logged nothing: $(cat "$play/lemmaro.log")"
grep -q "sound is off" "$play/lemmaro.log" && fail "no sound device: $(cat "$play/lemmaro.log")"
settings=$(grep '^settings\.' "$log" | tr '\n' ' ')
[ "$settings" = "settings.autoStart=true settings.playCount=1 settings.volume=50 settings.balance=0 settings.rate=1 settings.mute=false settings.enableErrorDialogs=false " ] ||
  fail "settings: $settings"
heard=$(sed -n 's/^player\.URL=.*\\//p' "$log" | tr '\n' ' ')
[ "$heard" = "FX03.wav FX02.wav FX03.wav " ] || fail "the effects heard were: $heard"
case $(grep '^player\.URL=' "$log" | head -1) in
  "player.URL=Z:${play//\//\\}\\FX03.wav") ;;
  *) fail "the effect's path is not the data folder's: $(grep '^player\.URL=' "$log" | head -1)" ;;
esac
echo "PASS: every effect through the media player control, none with the speaker off"
