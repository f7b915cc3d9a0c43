#!/usr/bin/env bash
# Installs a built tree into a fresh folder and checks what the desktop sees there: exactly the
# expected files, a launcher entry and AppStream metadata that their validators accept, icons of
# the sizes named, a manual page that renders without warnings, and a program that starts.
#
#   bash scripts/check-install.sh BUILD_DIR VERSION
set -euo pipefail
build=${1:?usage: check-install.sh BUILD_DIR VERSION}
version=${2:?usage: check-install.sh BUILD_DIR VERSION}
app_id=org.harrowfen.Leafsong

for tool in desktop-file-validate appstreamcli groff man lexgrog; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL: $tool is missing (bash scripts/install-deps.sh --test)"
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/leafsong-install-XXXXXX")
prefix=$work/prefix
# The build's manifest lists what the user's own last install put where, for uninstalling; the
# install made here must not replace it.
manifest=$build/install_manifest.txt
if [[ -f $manifest ]]; then
    cp "$manifest" "$work/manifest"
fi
restore() {
    if [[ -f $work/manifest ]]; then
        cp "$work/manifest" "$manifest"
    else
        rm -f "$manifest"
    fi
    rm -rf "$work"
}
trap restore EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

# Exactly these files: a missing one breaks the desktop, an extra one is a stray install rule.
expected=(
    bin/leafsong
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    share/man/man1/leafsong.1
)
for size in 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
diff -u <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | cut -c3- | sort) ||
    fail "the installed files differ from the expected ones (- expected, + installed)"

if [[ -x $prefix/bin/leafsong ]]; then
    out=$("$prefix/bin/leafsong" --version 2>&1) || fail "leafsong --version failed: $out"
    [[ $out == "leafsong $version" ]] || fail "leafsong --version printed '$out'"
else
    fail "bin/leafsong is not executable"
fi

# Each icon is a PNG of its folder's size: the 16-byte signature and IHDR, then width and height.
for size in 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [[ -f $icon ]] || continue
    header=$(od -An -tx1 -N24 "$icon" | tr -d ' \n')
    want=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
    [[ $header == "$want" ]] || fail "$icon is not a ${size}x${size} PNG"
done

desktop=$prefix/share/applications/$app_id.desktop
if [[ -f $desktop ]]; then
    # Hints are advice only; errors and warnings fail.
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    grep -E 'error|warning' <<<"$out" && fail "desktop-file-validate complained"
    grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry names another icon"
    grep -qx "Exec=leafsong %f" "$desktop" || fail "the desktop entry runs another command"
fi

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if [[ -f $metainfo ]]; then
    # The whole tree, so that the desktop entry the metadata launches is looked for too.
    # Info-level notes are fine (AppStream before 1.0 does not know <developer>); errors and
    # warnings are not.
    out=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || fail "appstreamcli: $out"
    grep -E '^ *[EW]: ' <<<"$out" && fail "appstreamcli found errors or warnings"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo has another id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo launches another desktop entry"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
fi

page=$prefix/share/man/man1/leafsong.1
if [[ -f $page ]]; then
    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
    [[ -z $warnings ]] || fail "groff warns about the manual page: $warnings"
    # Read as a user would; lexgrog is how mandb reads the NAME line for whatis and apropos.
    text=$(MANWIDTH=80 MANPAGER=cat PAGER=cat man -l "$page" 2>&1)
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS ARGUMENTS 'KEYS AND MOUSE' FILES ENVIRONMENT \
        'EXIT STATUS' 'SEE ALSO'; do
        grep -qx "$section" <<<"$text" || fail "the manual page has no $section section"
    done
    grep -q "Leafsong $version" <<<"$text" || fail "the manual page is not for version $version"
    lexgrog "$page" >/dev/null || fail "whatis cannot read the manual page's NAME line"
fi

if ((failed)); then
    exit 1
fi
echo "The installed tree in a fresh folder is complete and valid."
