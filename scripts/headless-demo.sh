#!/usr/bin/env bash
# Runs build/leafsong on ALBUM under a private Xvfb, saves screenshots to build/demo/ and ends
# the album in order (Esc).
set -euo pipefail
cd "$(dirname "$0")/.."
album=${1:?usage: headless-demo.sh ALBUM}
out=$PWD/build/demo
mkdir -p "$out"
source scripts/private-xvfb.sh

start_xvfb

shot() { import -window root "$out/$1"; }
QT_LOGGING_RULES="leafsong.flip.debug=true" build/leafsong "$album" 2>"$work/log" &
album_pid=$!
# The first spread is up once the book's middle is neither the white root (seen through the
# window) nor the window's key colour.
for _ in $(seq 200); do
    px=$(import -window root -crop 1x1+960+615 txt:- 2>/dev/null | tail -1 || true)
    [[ -n $px && $px != *"#070727"* && $px != *"#FFFFFF"* ]] && break
    sleep 0.1
done
sleep 0.3
shot first-spread.png
# A page turn: a screenshot while the leaf is lifted, then the next spread.
xdotool mousemove 700 500 click 1 key Left
for _ in $(seq 200); do grep -q 'FlipPos=650' "$work/log" && break; sleep 0.01; done
shot mid-turn.png
for _ in $(seq 300); do grep -q 'turn end' "$work/log" && break; sleep 0.01; done
sleep 0.2
shot second-spread.png
xdotool key Escape
wait "$album_pid" && status=0 || status=$?
album_pid=
echo "The album ended with status $status."
echo "Screenshots: $out/"
ls -1 "$out"
