#!/usr/bin/env bash
# Installs the build into a throwaway prefix and checks the tree as a user's
# machine would see it: every file in its place and nothing else, icons of
# the sizes their folders promise, a desktop entry and metainfo that validate
# and agree with each other, a man page that formats cleanly, and the
# installed program starting and finding its help (installed_program_test.sh).
#
# Usage: install_tree_test.sh BUILD_DIR APP_ID HELP(ON|OFF) HELP_CHECK|none
set -uo pipefail

build_dir=$1
app_id=$2
help=$3
help_check=${4:-none}

failures=0
passes=0
pass() { passes=$((passes + 1)); }
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() {  # check DESCRIPTION COMMAND...
    local what=$1; shift
    if "$@"; then pass; else fail "$what"; fi
}

work=$(mktemp -d "$build_dir/install-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/usr

if ! cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi

# --- Every file in place, and nothing else ----------------------------------
sizes=(16 24 32 48 64 128 256)
expected=(
    bin/mensura
    libexec/mensura/mensura-help
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$app_id.svg"
    share/man/man1/mensura.1.gz
    share/doc/mensura/copyright
    share/doc/mensura/changelog.gz
)
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
[[ $help == ON ]] && expected+=(share/mensura/MnsHlp.chm)

diff <(printf '%s\n' "${expected[@]}" | sort) \
     <(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/files.diff"
check "installed files differ from the expected list (< expected, > installed):
$(cat "$work/files.diff")" test ! -s "$work/files.diff"
check "bin/mensura is not executable" test -x "$prefix/bin/mensura"
check "libexec/mensura/mensura-help is not executable" test -x "$prefix/libexec/mensura/mensura-help"

# The installed program must not lean on the build tree.
if command -v readelf >/dev/null; then
    for program in bin/mensura libexec/mensura/mensura-help; do
        check "$program keeps an RPATH/RUNPATH" \
            bash -c "! readelf -d '$prefix/$program' | grep -qE 'RPATH|RUNPATH'"
    done
fi

# --- Icons: each PNG has the size of its folder -------------------------------
png_size() {  # prints WIDTHxHEIGHT from the PNG header
    local -a b
    read -ra b < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))x$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}
for size in "${sizes[@]}"; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [[ -f $icon ]] || continue
    check "$icon is $(png_size "$icon"), not ${size}x${size}" test "$(png_size "$icon")" = "${size}x${size}"
done
check "the SVG icon is no SVG" grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"

# --- Desktop entry and metainfo ---------------------------------------------------
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
entry() { sed -n "s/^$1=//p" "$desktop"; }
check "desktop entry: Exec is not the installed program" test "$(entry Exec)" = mensura
check "desktop entry: Icon is not the installed icon name" test "$(entry Icon)" = "$app_id"
check "desktop entry: Categories lack Utility" grep -q '^Categories=\(.*;\)\?Utility;' "$desktop"
check "metainfo: id is not $app_id" grep -q "<id>$app_id</id>" "$metainfo"
check "metainfo: launchable is not $app_id.desktop" \
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"
version=$(sed -n 's/^mensura (\([^)]*\)).*/\1/p' <(gzip -dc "$prefix/share/doc/mensura/changelog.gz") | head -n1)
check "metainfo: no release $version, the changelog's" grep -q "<release version=\"$version\"" "$metainfo"

if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$desktop" 2>&1)
    check "desktop-file-validate: $out" test $? -eq 0
else
    echo "note: desktop-file-validate not installed; desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    # The project has no site of its own, so the metainfo names no homepage;
    # AppStream 1.0 (Debian 13) warns of that, and the warning alone is let pass.
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1)
    status=$?
    others=$(grep -E '^[EW]: ' <<<"$out" | grep -vE '^W: [^ ]+: url-homepage-missing$')
    check "appstreamcli validate: $out" test $status -eq 0 -o -z "$others"
else
    echo "note: appstreamcli not installed; metainfo not validated"
fi

# --- Man page: formats without a warning --------------------------------------
if command -v groff >/dev/null; then
    warnings=$(gzip -dc "$prefix/share/man/man1/mensura.1.gz" | groff -man -ww -z 2>&1)
    check "man page: groff warns: $warnings" test -z "$warnings"
else
    echo "note: groff not installed; the man page is not formatted"
fi
check "man page: no NAME line for mensura" \
    bash -c "gzip -dc '$prefix/share/man/man1/mensura.1.gz' | grep -q '^mensura \\\\- '"

# --- The installed program: started, and its help found ------------------------
if out=$(bash "$(dirname "$0")/installed_program_test.sh" "$prefix" "$help_check" 2>&1); then
    pass
else
    fail "the installed program:
$out"
fi
echo "$out" | grep '^note:' || true

echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
