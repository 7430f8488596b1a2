#!/usr/bin/env bash
# Checks the Debian package's contents and runs lintian on it.
# Usage: check-package.sh PACKAGE.deb
set -euo pipefail
deb=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

listing=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||; s|/$||')
has() { grep -qxF "$1" <<<"$listing" || fail "the package lacks $1"; }

data=usr/share/q7xconf
for lib in ruslng rusmess englng engmess turklng turkmess; do has "$data/$lib.dll"; done
has "$data/q7xconf.INI"
has usr/share/applications/org.example.q7xconf.desktop
has usr/share/metainfo/org.example.q7xconf.metainfo.xml
has usr/share/icons/hicolor/scalable/apps/org.example.q7xconf.svg
has usr/lib/udev/rules.d/70-q7xconf-ftdi.rules
has usr/share/doc/q7xconf/copyright
has usr/share/doc/q7xconf/changelog.gz
has usr/share/bash-completion/completions/q7xctl

# Every program has its manual page; nothing lies outside /usr, nothing but the programs in bin.
programs=$(grep '^usr/bin/.' <<<"$listing" | sed 's|^usr/bin/||')
[ -n "$programs" ] || fail "the package holds no program"
for p in $programs; do has "usr/share/man/man1/$p.1.gz"; done
grep -qx 'usr/bin/q7xconf' <<<"$listing" || fail "the package lacks usr/bin/q7xconf"
outside=$(grep -v '^usr' <<<"$listing" | grep -vx '\.' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"

# The shipped settings choose Russian and name a manual for each language, which is there with
# a section for every page of the window.
grep -qx 'Default=Russian' "$unpacked/$data/q7xconf.INI" || fail "the shipped language is not Russian"
for key in RU EN TR; do
  manual=$(sed -n "s/^$key=//p" "$unpacked/$data/q7xconf.INI" | tr -d '\r')
  [ -n "$manual" ] || fail "the shipped settings name no $key manual"
  has "$data/help/$manual"
  for page in main recipients names periods remote tone relay commands; do
    grep -q "id=\"$page\"" "$unpacked/$data/help/$manual" || fail "$manual has no section $page"
  done
done

# The rendered icons have the size their folder names.
for png in "$unpacked"/usr/share/icons/hicolor/*/apps/*.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  grep -q "PNG image data, ${size/x/ x }," <<<"$(file "$png")" || fail "$png is not $size"
done
[ "$(ls "$unpacked"/usr/share/icons/hicolor/*/apps/*.png | wc -l)" -ge 5 ] ||
  fail "too few icon sizes"

# The desktop entry starts an installed program and names an installed icon.
desktop=$unpacked/usr/share/applications/org.example.q7xconf.desktop
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon=$(sed -n 's/^Icon=//p' "$desktop")
has "usr/bin/$exec"
has "usr/share/icons/hicolor/scalable/apps/$icon.svg"

# Dependencies come from the programs' libraries; the scripts reload the udev rules.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libftdi1-2 libc6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Section)" = electronics ] || fail "wrong section"
for script in postinst postrm; do
  grep -q 'udevadm control --reload-rules' <<<"$(dpkg-deb -I "$deb" "$script")" ||
    fail "$script does not reload the udev rules"
done

# No errors and no warnings (lintian warns only as root that it runs as root).
lintian --fail-on error,warning "$deb"
echo "package contents and lintian: ok"
