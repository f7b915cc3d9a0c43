#!/usr/bin/env bash
# Start to first picture, next picture and peak memory of Leafsong beside feh and qimgv, measured
# in one run on one album of 6000 x 4000 photo-like JPEGs, under a private Xvfb (1920 x 1080).
# A picture counts as shown when a screen pixel at 80 % of its width and half its height comes
# within a small distance of that picture's colour there (leafsong_pixel_poll: a tight 1 x 1
# GetImage loop). The programs take turns run by run; medians and ratios are printed.
#
#   bench/side_by_side.sh [RUNS]     (default 7; installs feh and qimgv when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}

missing=()
for p in feh qimgv; do command -v "$p" >/dev/null || missing+=("$p"); done
if ((${#missing[@]})); then
    sudo=()
    ((EUID == 0)) || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEAFSONG_TESTS=OFF -DLEAFSONG_BENCH=ON >/dev/null
cmake --build "$build" --target leafsong leafsong_samplegen leafsong_pixel_poll >/dev/null
poll=$PWD/$build/bench/leafsong_pixel_poll

source scripts/private-xvfb.sh

# Four photos: one smooth landscape made noisy like a camera's, in four hues.
QT_QPA_PLATFORM=offscreen "$build/tools/leafsong_samplegen" "$work/sample" 2>/dev/null
mkdir "$work/album"
hues=(100 135 65 170)
for i in 0 1 2 3; do
    convert "$work/sample/01 Dawn.jpg" -attenuate 0.6 +noise Gaussian -modulate "100,100,${hues[i]}" \
        -quality 90 "$work/album/p$((i + 1)).jpg"
done
# Each photo's colour at the measured spot, as any viewer shows it fitted to its area.
colour() {
    convert "$1" -resize '750x500!' -crop 15x15+593+243 +repage -resize '1x1!' \
        -format '%[hex:u.p{0,0}]' info: | cut -c1-6
}
c1=$(colour "$work/album/p1.jpg")
c2=$(colour "$work/album/p2.jpg")
tolerance=60
echo "photos: 4 x 6000x4000 JPEG, $(du -sh "$work/album" | cut -f1); spot colours $c1 then $c2"

start_xvfb
mkdir -m 0700 "$work/run"

# name: program, spot x y, key for the next picture, how it is ended.
run_one() {
    local name=$1 x y key pid
    rm -rf "$work/home"
    mkdir -p "$work/home"
    local t0
    t0=$(date +%s%N)
    case $name in
        leafsong)
            x=1185 y=615 key=Left
            HOME=$work/home XDG_RUNTIME_DIR=$work/run "$build/leafsong" "$work/album" 2>/dev/null &
            ;;
        feh)
            x=1536 y=540 key=Right
            HOME=$work/home feh -F -Z "$work/album" 2>/dev/null &
            ;;
        qimgv)
            x=820 y=400 key=Right
            HOME=$work/home qimgv "$work/album/p1.jpg" >/dev/null 2>&1 &
            ;;
    esac
    pid=$!
    album_pid=$pid
    local t1 start next rss
    t1=$("$poll" "$x" "$y" "$c1" "$tolerance" 20000) || t1=0
    start=$(((t1 - t0) / 1000000))
    sleep 1.5  # time to decode the neighbours ahead
    xdotool mousemove "$x" "$y"
    t0=$(date +%s%N)
    xdotool key "$key"
    t1=$("$poll" "$x" "$y" "$c2" "$tolerance" 20000) || t1=0
    next=$(((t1 - t0) / 1000000))
    sleep 1
    rss=$(($(awk '/VmHWM/ {print $2}' "/proc/$pid/status") / 1024))
    if [[ $name == leafsong ]]; then xdotool key Escape; else kill "$pid"; fi
    wait "$pid" 2>/dev/null || true
    album_pid=
    ((start > 0 && next > 0)) || echo "  $name: a picture did not show in 20 s" >&2
    echo "$name $start $next $rss" >>"$work/results"
}

programs=(leafsong feh qimgv)
for ((r = 0; r < runs; r++)); do
    for ((k = 0; k < 3; k++)); do
        run_one "${programs[(r + k) % 3]}"
    done
done

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
declare -A med
printf '%-9s %14s %14s %10s   (medians of %d runs)\n' program "first picture" "next picture" "peak RSS" "$runs"
for p in "${programs[@]}"; do
    for col in 2 3 4; do
        med[$p,$col]=$(awk -v p="$p" -v c="$col" '$1 == p && $2 > 0 && $3 > 0 {print $c}' "$work/results" | median)
    done
    printf '%-9s %11s ms %11s ms %7s MB\n' "$p" "${med[$p,2]}" "${med[$p,3]}" "${med[$p,4]}"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0) ? a / b : 0}'; }
for other in feh qimgv; do
    echo "leafsong / $other: first picture $(ratio "${med[leafsong,2]}" "${med[$other,2]}")," \
        "next picture $(ratio "${med[leafsong,3]}" "${med[$other,3]}")," \
        "peak RSS $(ratio "${med[leafsong,4]}" "${med[$other,4]}")"
done
