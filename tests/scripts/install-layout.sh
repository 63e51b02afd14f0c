#!/usr/bin/env bash
# `cmake --install` of a build lays the programs, the menu entry, the icon, the MIME type of
# the recordings and the README out in the usual places, and the menu entry is valid.
#   install-layout.sh BUILD_DIR
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $1" >&2; exit 1; }

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
root=$dest/usr
for file in bin/velmora bin/velmora-cli share/applications/velmora.desktop \
            share/icons/hicolor/scalable/apps/velmora.svg share/mime/packages/velmora.xml \
            share/doc/velmora/README.md; do
  [ -e "$root/$file" ] || fail "$file is not installed"
done
[ -x "$root/bin/velmora" ] && [ -x "$root/bin/velmora-cli" ] || fail "the programs are not executable"

desktop=$root/share/applications/velmora.desktop
grep -qx 'Exec=velmora %f' "$desktop" || fail "the menu entry does not pass the double-clicked file"
grep -qx 'Icon=velmora' "$desktop" || fail "the menu entry names another icon"
mime=$root/share/mime/packages/velmora.xml
for type in application/x-velmora-recording application/x-velmora-marks; do
  grep -q "MimeType=.*$type;" "$desktop" || fail "the menu entry does not open $type"
  grep -q "type=\"$type\"" "$mime" || fail "$type is not described"
done
grep -q 'pattern="\*.E00"' "$mime" || fail "recordings (*.E00) are not recognised"

if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop" || fail "desktop-file-validate"; fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime" "$root/share/icons/hicolor/scalable/apps/velmora.svg" || fail "xmllint"
fi
echo "install layout ok"
