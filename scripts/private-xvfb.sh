# Sourced by scripts that show the album to a private X server. Sets up $work (a temporary
# folder removed at exit, with whatever runs as $album_pid), then start_xvfb starts a
# 1920x1080 Xvfb with a white root on a free display and exports DISPLAY.
work=$(mktemp -d)
cleanup() {
    [[ -n ${album_pid:-} ]] && kill "$album_pid" 2>/dev/null || true
    [[ -n ${xvfb_pid:-} ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb() {
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -wr -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$work/display")
}
