#!/usr/bin/env bash
# Unpacks the built Debian package into a scratch root and checks what a
# desktop needs of it: a valid menu entry whose program, icon and the other
# installed files it relies on are all there.
# usage: check-package.sh DEB
set -euo pipefail
deb=${1:?usage: check-package.sh DEB}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "package-test: $*" >&2; exit 1; }

dpkg -x "$deb" "$root"
entry=$root/usr/share/applications/pelmark.desktop
[ -f "$entry" ] || fail "no desktop entry at /usr/share/applications/pelmark.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the desktop entry"

value() { sed -n "s/^$1=//p" "$entry" | head -n1; }
grep -qx 'Categories=Office;Finance;' "$entry" || fail "Categories is not Office;Finance;"
exec_line=$(value Exec)
program=${exec_line%% *}
[ -x "$root/usr/bin/$program" ] || fail "Exec names $program, not installed in /usr/bin"
[ "$exec_line" = "$program --open" ] || fail "Exec is '$exec_line', expected '$program --open'"
try_exec=$(value TryExec)
[ -z "$try_exec" ] || [ -x "$root/usr/bin/$try_exec" ] || fail "TryExec names $try_exec, not installed"
icon=$(value Icon)
for icon_file in "48x48/apps/$icon.png" "128x128/apps/$icon.png" "scalable/apps/$icon.svg"; do
  [ -s "$root/usr/share/icons/hicolor/$icon_file" ] || fail "icon $icon_file missing from hicolor"
done
for size in 48 128; do
  file "$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" | grep -q "$size x $size" ||
    fail "the ${size}x${size} icon is not $size pixels square"
done

for needed in usr/bin/pelmark-data usr/share/man/man1/pelmark-data.1.gz \
              usr/share/man/man1/pelmark.1.gz usr/share/doc/pelmark/html/contents.html; do
  [ -e "$root/$needed" ] || fail "/$needed missing"
done
zcat "$root/usr/share/man/man1/pelmark-data.1.gz" | grep -q '^\.TH PELMARK-DATA 1' ||
  fail "the pelmark-data manual page is not a manual page"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6printsupport6 libc6 qt6-qpa-plugins; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
echo "package-test: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) passed"
