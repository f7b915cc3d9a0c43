#!/usr/bin/env bash
# Runs build/leafsong under a private Xvfb on an album of 24-megapixel photos, turns three pages
# and reports each turn's wall time, the frames presented and the program's peak resident memory.
# Usage: bench/measure_turns.sh   (after a build; needs Xvfb, xdotool)
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
cleanup() {
    [[ -n ${album_pid:-} ]] && kill "$album_pid" 2>/dev/null || true
    [[ -n ${xvfb_pid:-} ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

QT_QPA_PLATFORM=offscreen build/tools/leafsong_samplegen "$work/sample" 2>/dev/null
mkdir "$work/album"
for i in 1 2 3 4; do cp "$work/sample/01 Dawn.jpg" "$work/album/photo$i.jpg"; done

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -wr -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
mkdir -m 0700 "$work/run"

XDG_RUNTIME_DIR=$work/run QT_LOGGING_RULES="leafsong.flip.debug=true" \
    QT_MESSAGE_PATTERN='%{time process} %{message}' \
    build/leafsong "$work/album" 2>"$work/log" &
album_pid=$!
sleep 3
xdotool mousemove 700 500 click 1
for n in 1 2 3; do
    xdotool key Left
    for _ in $(seq 500); do (($(grep -c 'turn end' "$work/log") >= n)) && break; sleep 0.02; done
    sleep 0.5
done
peak=$(awk '/VmHWM/ {print $2}' "/proc/$album_pid/status")
xdotool key Escape
wait "$album_pid" || true
album_pid=

awk '/turn start/ {s=$1} /FlipPos=/ {f++} /turn end/ {printf "turn %d: %.0f ms, %d frames\n", ++n, ($1-s)*1000, f; f=0}' "$work/log"
echo "peak resident memory: $((peak / 1024)) MB"
