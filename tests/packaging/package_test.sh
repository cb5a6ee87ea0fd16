#!/usr/bin/env bash
# Builds the Debian package the way `make package` does, into a throwaway
# folder, and checks what apt will see: the file name, the control fields,
# dependencies that are the program's run-time needs and nothing needed only
# to build, no maintainer scripts, a stripped program, exactly the install
# tree under /usr, and nothing lintian objects to, hardening included.
#
# Usage: package_test.sh BUILD_DIR VERSION
set -uo pipefail

build_dir=$1
version=$2

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1; shift
    if "$@"; then passes=$((passes + 1)); else echo "FAIL: $what" >&2; failures=$((failures + 1)); fi
}

work=$(mktemp -d "$build_dir/package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

if ! (cd "$build_dir" && cpack --config CPackConfig.cmake -B "$work/out") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
fi

deb=$work/out/mensura_${version}_$(dpkg --print-architecture).deb
if [[ ! -f $deb ]]; then
    echo "FAIL: no $(basename "$deb"); cpack made: $(cd "$work/out" && ls ./*.deb)" >&2
    exit 1
fi

field() { dpkg-deb -f "$deb" "$1"; }
check "Package is $(field Package)" test "$(field Package)" = mensura
check "Version is $(field Version)" test "$(field Version)" = "$version"
check "Section is '$(field Section)'" test "$(field Section)" = utils
check "Priority is '$(field Priority)'" test "$(field Priority)" = optional
# The project has no site of its own, so the package names none.
check "Homepage '$(field Homepage)' names a site the project does not have" test -z "$(field Homepage)"
check "Maintainer '$(field Maintainer)' is no name with an address" \
    grep -qE '^[^<]+ <[^@ ]+@[^> ]+>$' <<<"$(field Maintainer)"
check "Description has no extended part" test "$(field Description | wc -l)" -gt 2

# Depends: for each library the program links, the package that holds it on
# this system, as dpkg-shlibdeps finds it (the names follow the release:
# libqt6core6 on Debian 12, libqt6core6t64 on 13), plus the fonts its layout
# needs; nothing that only building or testing needs.
depends=$(field Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
owner() {  # the package holding a file, under either of its /usr-merged paths
    local alt=/usr$1
    [[ $1 == /usr/* ]] && alt=${1#/usr}
    dpkg-query -S "$1" "$alt" 2>/dev/null | sed -n '1s/:.*//p'
}
program=$build_dir/bin/mensura
linked=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
check "the program links no Qt Widgets: $(tr '\n' ' ' <<<"$linked")" grep -qx 'libQt6Widgets.so.6' <<<"$linked"
for library in $linked; do
    path=$(ldd "$program" | sed -n "s|^[[:space:]]*$library => \(/[^ ]*\).*|\1|p")
    package=$(owner "$path")
    check "no package holds $library ($path)" test -n "$package"
    check "Depends lacks $package, which holds $library: $depends" grep -qx "$package" <<<"$names"
done
check "Depends lacks fonts-liberation: $depends" grep -qx fonts-liberation <<<"$names"
check "Depends names a package only needed to build or test: $depends" \
    bash -c "! grep -E -- '-dev$|^(cmake|g\\+\\+|gcc|make|dpkg-dev|desktop-file-utils|appstream|libgtest|libbenchmark|googletest|nlohmann)' <<<'$names'"
check "Depends names a package twice: $depends" test -z "$(sort <<<"$names" | uniq -d)"

# Caches are refreshed by dpkg triggers of the packages that own them.
dpkg-deb -e "$deb" "$work/control"
check "maintainer scripts in the package: $(ls "$work/control")" \
    test "$(ls "$work/control" | tr '\n' ' ')" = "control md5sums "

# The files: the install tree under /usr, the program stripped.
dpkg-deb -x "$deb" "$work/root"
DESTDIR=$work/tree cmake --install "$build_dir" --prefix /usr >/dev/null
check "package files differ from the install tree (< tree, > package):
$(diff <(cd "$work/tree" && find . -type f | sort) <(cd "$work/root" && find . -type f | sort))" \
    diff -q <(cd "$work/tree" && find . -type f | sort) <(cd "$work/root" && find . -type f | sort)
if command -v readelf >/dev/null; then
    check "usr/bin/mensura keeps its debugging sections" \
        bash -c "! readelf -S '$work/root/usr/bin/mensura' | grep -q '\\.debug_'"
fi
check "a file in the package is not root's or has odd permissions:
$(dpkg-deb -c "$deb" | grep -vE '^(drwxr-xr-x|-rw-r--r--|-rwxr-xr-x) root/root ')" \
    bash -c "! dpkg-deb -c '$deb' | grep -vqE '^(drwxr-xr-x|-rw-r--r--|-rwxr-xr-x) root/root '"

# Debian's own checks: no error or warning, and the programs built with
# Debian's hardening flags (lintian reports missing ones at its info level).
# The metainfo's validation is the install-tree test's, which knows the one
# warning Debian 13's validator gives (no homepage) from any other.
# A Debug build (the sanitizers') has no fortified calls: glibc wants
# optimisation for them.
unfortified='^$'
if grep -qx 'CMAKE_BUILD_TYPE:[A-Z]*=Debug' "$build_dir/CMakeCache.txt"; then
    unfortified=': hardening-no-fortify-functions '
fi
if command -v lintian >/dev/null; then
    tags=$(lintian --display-info "$deb" 2>/dev/null | grep -E '^[EW]: |hardening-' |
        grep -v ': appstream-metadata-validation-failed ' | grep -v "$unfortified" || true)
    check "lintian reports:
$tags" test -z "$tags"
else
    echo "note: lintian not installed; the package's hardening is not checked"
fi

echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
