#!/usr/bin/env bash
# Installs what is missing, checks the include layers and the formatting, builds Leafsong once with
# warnings as errors, AddressSanitizer and UBSan, runs clang-tidy on src/ and every test.
# As root, the tests run as the unprivileged user nobody, so that permission checks are real.
#
#   bash scripts/test.sh          the full check (what CI runs)
#   bash scripts/test.sh --quick  edit-build-test loop: a plain build, unit tests only
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
quick=0
[[ ${1:-} == --quick ]] && quick=1

bash scripts/install-deps.sh --test

# Test trees must be reachable by the unprivileged user.
builds=$src
if ((EUID == 0)) && ! setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$src"; then
    builds=${TMPDIR:-/tmp}/leafsong-test-builds
    mkdir -p "$builds"
fi

run_tests() {
    local dir=$1
    shift
    if ((EUID != 0)); then
        ctest --test-dir "$dir" --no-tests=error --output-on-failure -j2 "$@"
        return
    fi
    local home
    home=$(mktemp -d "${TMPDIR:-/tmp}/leafsong-tester-XXXXXX")
    mkdir -p "$home/run" "$home/tmp" "$home/.config" "$home/.local/state"
    chmod 0700 "$home/run"
    chmod 0755 "$home"
    chown -R 65534:65534 "$home" "$dir"
    # The checks that read the source tree (the include layers, the install) run as root: the
    # unprivileged user may not enter a source tree under /root.
    local sourced='^(IncludeLayers|DesktopIntegration)$'
    env -i PATH="$PATH" LANG=C HOME="$home" TMPDIR="$home/tmp" XDG_RUNTIME_DIR="$home/run" \
        XDG_CONFIG_HOME="$home/.config" XDG_STATE_HOME="$home/.local/state" \
        setpriv --reuid=65534 --regid=65534 --clear-groups \
        ctest --test-dir "$dir" --no-tests=error --output-on-failure -j2 -E "$sourced" "$@"
    rm -rf "$home"
    ctest --test-dir "$dir" --output-on-failure -R "$sourced" "$@"
}

if ((quick)); then
    cmake -S "$src" -B "$builds/build-quick" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DLEAFSONG_BENCH=OFF >/dev/null
    cmake --build "$builds/build-quick"
    run_tests "$builds/build-quick" -LE 'e2e|playback'
    exit 0
fi

echo "== Include layers"
bash scripts/check-layers.sh

echo "== Formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# The build runs the tests: one unity build (files joined into a few large ones), which halves the
# time spent on Qt's headers. clang-tidy checks every file of src/ on its own, so an include a
# file forgot is still found; it needs only compile commands, from a configuration of its own.
build=$builds/build-ci
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEAFSONG_WERROR=ON \
    -DLEAFSONG_SANITIZE=ON -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 >/dev/null
cmake -S "$src" -B "$builds/build-tidy" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEAFSONG_TESTS=OFF \
    -DLEAFSONG_BENCH=OFF >/dev/null

# It runs beside the build and is done before the tests start, some of which measure time.
echo "== clang-tidy on src/ (beside the build)"
tidy_log=$(mktemp)
run-clang-tidy -p "$builds/build-tidy" -quiet -j 2 "$src/src/" >"$tidy_log" 2>&1 &
tidy_pid=$!

echo "== Build (warnings are errors, AddressSanitizer and UBSan)"
cmake --build "$build"

wait "$tidy_pid" || true
sed -i 's/\x1b\[[0-9;]*m//g' "$tidy_log"
if grep -E "^$src/.*: (warning|error):" "$tidy_log"; then
    echo "clang-tidy found the problems above"
    exit 1
fi
rm -f "$tidy_log"

echo "== Tests"
run_tests "$build"
echo "All checks passed."
