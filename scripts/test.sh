#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds Leafsong with warnings as errors, runs
# clang-tidy and every test; then builds with AddressSanitizer and UBSan and runs the tests again.
# As root, the tests run as the unprivileged user nobody, so that permission checks are real.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD

bash scripts/install-deps.sh --test

# Test trees must be reachable by the unprivileged user.
builds=$src
if ((EUID == 0)) && ! setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$src"; then
    builds=${TMPDIR:-/tmp}/leafsong-test-builds
    mkdir -p "$builds"
fi

echo "== Formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

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
    env -i PATH="$PATH" LANG=C HOME="$home" TMPDIR="$home/tmp" XDG_RUNTIME_DIR="$home/run" \
        XDG_CONFIG_HOME="$home/.config" XDG_STATE_HOME="$home/.local/state" \
        setpriv --reuid=65534 --regid=65534 --clear-groups \
        ctest --test-dir "$dir" --no-tests=error --output-on-failure -j2 "$@"
    rm -rf "$home"
}

echo "== Build (warnings are errors)"
cmake -S "$src" -B "$builds/build-ci" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLEAFSONG_WERROR=ON
cmake --build "$builds/build-ci"
echo "== clang-tidy"
# The compile commands of the build above; any warning fails the run.
tidy_log=$(mktemp)
run-clang-tidy -p "$builds/build-ci" -quiet -j 2 "$src/(src|tests|bench)/" 2>&1 |
    sed 's/\x1b\[[0-9;]*m//g' >"$tidy_log" || true
if grep -E "^$src/.*: warning:|: error:" "$tidy_log"; then
    echo "clang-tidy found the problems above"
    exit 1
fi
rm -f "$tidy_log"

echo "== Tests"
run_tests "$builds/build-ci"

echo "== Build with AddressSanitizer and UBSan"
cmake -S "$src" -B "$builds/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEAFSONG_WERROR=ON \
    -DLEAFSONG_SANITIZE=ON -DLEAFSONG_BENCH=OFF
cmake --build "$builds/build-asan"
echo "== Tests with sanitizers"
# libfaketime does not mix with AddressSanitizer.
run_tests "$builds/build-asan" -LE faketime
echo "All tests passed."
