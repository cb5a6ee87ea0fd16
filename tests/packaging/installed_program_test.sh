#!/usr/bin/env bash
# Checks an installed Mensura as a user meets it: the program starts from
# another directory, with and without stray arguments, and opens its window;
# with HELP_CHECK (installed_help_check, built beside the tests), the Help
# command finds the installed help from anywhere, prefers one in the current
# directory, and says so when there is none. Run on a throwaway install tree
# by install_tree_test.sh, and on /usr of a fresh system by the fresh-machine
# check after the package is installed there (as root: it moves
# PREFIX/share/mensura away for a moment).
#
# Usage: installed_program_test.sh PREFIX HELP_CHECK|none
set -uo pipefail

prefix=$1
help_check=${2:-none}

failures=0
passes=0
pass() { passes=$((passes + 1)); }
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

work=$(mktemp -d "${TMPDIR:-/tmp}/installed-program-test.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

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
else
    echo "note: the help window is not built; the installed help is not looked up"
fi

echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
