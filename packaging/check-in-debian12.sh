#!/usr/bin/env bash
# Checks the Debian package on a fresh Debian 12: debootstraps a minimal
# system into a folder under /tmp, installs the package there with apt (as a
# user would, recommended packages included), starts the installed program
# offscreen from another directory and through its desktop entry under Xvfb,
# opens its help with the keyboard, then removes and purges the package and
# looks for anything of it left behind. Needs root, debootstrap and the
# network to a Debian mirror; not part of `make test`.
#
# Usage: packaging/check-in-debian12.sh [PATH/TO/mensura_10.4.0_amd64.deb]
# KEEP=1 keeps the chroot (its path is printed); MIRROR picks the mirror.
set -euo pipefail

deb=$(realpath "${1:-build/mensura_10.4.0_amd64.deb}")
mirror=${MIRROR:-http://deb.debian.org/debian}
[[ -f $deb ]] || { echo "no $deb: run make package first" >&2; exit 1; }
[[ $(id -u) -eq 0 ]] || { echo "needs root (debootstrap, chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "needs debootstrap" >&2; exit 1; }

root=$(mktemp -d /tmp/mensura-deb12.XXXXXX)
mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done
    if [[ ${KEEP:-0} == 1 ]]; then echo "chroot kept: $root"; else rm -rf "$root"; fi
}
trap cleanup EXIT
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive bash -euo pipefail -c "$1"; }

echo "== debootstrap bookworm (minbase) into $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { cat "$root.debootstrap.log" >&2; exit 1; }
rm -f "$root.debootstrap.log"
cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
SOURCES
cp /etc/resolv.conf "$root/etc/resolv.conf"
for fs in proc dev dev/pts; do
    if [[ $fs == proc ]]; then mount -t proc proc "$root/proc"; else mount --bind "/$fs" "$root/$fs"; fi
    mounted+=("$root/$fs")
done
cp "$deb" "$root/root/"
name=$(basename "$deb")

echo "== apt install ./$name"
in_root "apt-get update -qq && cd /root && apt install -y ./$name" >"$root/root/install.log" 2>&1 ||
    { tail -n 30 "$root/root/install.log" >&2; exit 1; }
grep -E 'newly installed' "$root/root/install.log"
in_root "dpkg -L mensura" >"$root/root/files"
in_root "dpkg-query -W -f='\${Depends}\n' mensura"

echo "== offscreen, from another directory, with a stray argument"
in_root "mkdir -p /tmp/elsewhere && cd /tmp/elsewhere &&
    QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES=qt.widgets.painting=true \
        timeout 5 mensura --stray >/tmp/offscreen.log 2>&1 || [ \$? -eq 124 ]
    grep -q 'Drawing .* of mensura::Form1(' /tmp/offscreen.log && echo 'window drawn, still running after 5 s'"

echo "== from the desktop entry under Xvfb, then Help with the keyboard"
in_root "apt-get install -y -qq --no-install-recommends xvfb xauth xdotool x11-apps" >/dev/null 2>&1
in_root "cd /tmp/elsewhere
    Xvfb :57 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 & xvfb=\$!
    trap 'kill \$xvfb' EXIT
    export DISPLAY=:57
    sleep 1
    gtk-launch io.github.mensura.Mensura
    win=\$(timeout 20 xdotool search --sync --onlyvisible --name '^Mensura\$' | head -n1)
    pid=\$(xdotool getwindowpid \$win)
    echo \"window \$(xdotool getwindowname \$win), program \$(readlink /proc/\$pid/exe), in \$(readlink /proc/\$pid/cwd)\"
    if [ -f /usr/share/mensura/MnsHlp.chm ]; then
        xdotool windowfocus --sync \$win
        xdotool key --delay 200 alt+h p
        help=\$(timeout 20 xdotool search --sync --onlyvisible --name '^Mensura Help\$' | head -n1)
        sleep 1
        echo \"help window: \$(xdotool getwindowname \$help)\"
        xwd -silent -id \$help >/root/help.xwd
        echo \"file the program holds open: \$(ls -l /proc/\$pid/fd | grep -o '/[^ ]*MnsHlp.chm' || echo none)\"
    else
        echo 'the package has no help file; help not checked'
    fi
    kill \$pid"
if [[ -f $root/root/help.xwd ]]; then
    cp "$root/root/help.xwd" /tmp/mensura-deb12-help.xwd
    echo "picture of the help window: /tmp/mensura-deb12-help.xwd"
fi

echo "== apt remove, then apt purge"
check_gone() {
    local left
    left=$(while read -r f; do if [[ -e $root$f && ! -d $root$f ]]; then echo "$f"; fi; done <"$root/root/files")
    [[ -z $left ]] || { echo "left behind after $1: $left" >&2; exit 1; }
    echo "$1: no file of the package left"
}
in_root "apt-get remove -y mensura" >/dev/null
check_gone "apt remove"
in_root "cd /root && apt-get install -y ./$name && apt-get purge -y mensura" >/dev/null
check_gone "apt purge"
in_root "! dpkg-query -W mensura 2>/dev/null" && echo "dpkg knows no mensura any more"
left=$(cd "$root" && find . -xdev -iname '*mensura*' -not -path './root/*' -not -path './tmp/*')
[[ -z $left ]] || { echo "found after purge: $left" >&2; exit 1; }
echo "nothing named mensura left outside /root and /tmp"
