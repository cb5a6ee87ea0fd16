#!/usr/bin/env bash
# Installs the build into a throwaway prefix and checks the tree as a user's
# machine would see it: every file in its place and nothing else, icons of
# the sizes their folders promise, a desktop entry and metainfo that validate
# and agree with each other, a man page that formats cleanly, and the
# installed program starting from another directory, with and without stray
# arguments, and opening its window.
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
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
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
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1)
    check "appstreamcli validate: $out" test $? -eq 0
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

# --- The installed program starts from another directory -----------------------
# Qt's painting log shows when the top-level window Form1 is drawn, which only
# happens once it is shown: the log is Qt's, so the program needs no option
# of its own for this. Every argument set must give the same start: Mensura
# ignores what it does not know, and Qt takes its own options (-platform).
elsewhere=$work/elsewhere
mkdir -p "$elsewhere"
run_program() {  # run_program NAME ENV-ASSIGNMENT... -- ARG...
    local name=$1; shift
    local -a envs=()
    while [[ $1 != -- ]]; do envs+=("$1"); shift; done
    shift
    local log=$work/run-$name.log
    (cd "$elsewhere" && exec env -u QT_QPA_PLATFORM "${envs[@]}" \
        QT_LOGGING_RULES=qt.widgets.painting=true "$prefix/bin/mensura" "$@") >"$log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    local drawn=no
    for _ in $(seq 200); do  # 20 s at most; it takes well under a second
        if grep -q 'Drawing .* of mensura::Form1(' "$log"; then drawn=yes; break; fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    sleep 0.3
    if [[ $drawn != yes ]]; then
        fail "mensura $* ($name): no window drawn; output:
$(grep -v '^qt.widgets.painting' "$log" | head -n 20)"
    elif ! kill -0 "$pid" 2>/dev/null; then
        fail "mensura $* ($name): ended after opening its window"
    elif grep -v '^qt.widgets.painting' "$log" | grep -qiE 'cannot|could not|failed'; then
        fail "mensura $* ($name): complains: $(grep -v '^qt.widgets.painting' "$log" | grep -iE 'cannot|could not|failed')"
    else
        pass
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}
run_program plain QT_QPA_PLATFORM=offscreen --
run_program help-and-version QT_QPA_PLATFORM=offscreen -- --help --version -h -v
run_program file-names QT_QPA_PLATFORM=offscreen -- MnsHlp.chm /nonexistent/file.txt ''
run_program unknown-options QT_QPA_PLATFORM=offscreen -- -x --unknown=1 -- -
run_program qt-platform-option -- -platform offscreen
run_program qt-style-option QT_QPA_PLATFORM=offscreen -- -style Windows
run_program german-numbers QT_QPA_PLATFORM=offscreen LC_ALL=de_DE.UTF-8 -- FEET 12

# --- The installed program finds its help through the data folder ------------
# installed_help_check, copied beside the installed program, chooses Help >
# Help as a user would, so the lookup runs with <prefix>/bin as the program's
# folder and the installed viewer is started; it prints the file the viewer
# holds open and the page it shows.
if [[ $help_check != none ]]; then
    cp "$help_check" "$prefix/bin/mensura-help-check"
    installed_help=$(realpath "$prefix/share/mensura/MnsHlp.chm")
    help_from() {  # help_from DIRECTORY EXPECTED-STATUS EXPECTED-FILE WHAT
        local out status
        out=$(cd "$1" && QT_QPA_PLATFORM=offscreen "$prefix/bin/mensura-help-check" 2>&1)
        status=$?
        if [[ $status -ne $2 ]] || ! grep -qx "opened: $3" <<<"$out"; then
            fail "help $4: status $status (expected $2), expected opened: $3; got:
$out"
        else
            pass
        fi
    }
    # From elsewhere: the installed data folder.
    help_from "$elsewhere" 0 "$installed_help" "from another directory"
    # A help file in the current directory comes first.
    mkdir -p "$work/own-help" && cp "$installed_help" "$work/own-help/MnsHlp.chm"
    help_from "$work/own-help" 0 "$(realpath "$work/own-help/MnsHlp.chm")" "with one in the current directory"
    # Without the data folder the help window says so: the check can fail.
    mv "$prefix/share/mensura" "$prefix/share/mensura.away"
    help_from "$elsewhere" 1 none "without the data folder"
    mv "$prefix/share/mensura.away" "$prefix/share/mensura"
    rm -f "$prefix/bin/mensura-help-check"
elif [[ $help == ON ]]; then
    echo "note: the help window is not built; the installed help is not looked up"
fi

echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
