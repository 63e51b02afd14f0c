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
            share/doc/velmora/README.md share/doc/velmora/copyright; do
  [ -e "$root/$file" ] || fail "$file is not installed"
done
[ -x "$root/bin/velmora" ] && [ -x "$root/bin/velmora-cli" ] || fail "the programs are not executable"

desktop=$root/share/applications/velmora.desktop
grep -qx 'Exec=velmora %f' "$desktop" || fail "the menu entry does not pass the double-clicked file"
grep -qx 'Icon=velmora' "$desktop" || fail "the menu entry names another icon"
mime=$root/share/mime/packages/velmora.xml
for type in application/x-velmora-recording application/x-velmora-marks application/x-edf application/x-bdf \
            application/x-gdf; do
  grep -q "MimeType=.*$type;" "$desktop" || fail "the menu entry does not open $type"
  grep -q "type=\"$type\"" "$mime" || fail "$type is not described"
done
grep -q '^Files: \*$' "$root/share/doc/velmora/copyright" || fail "the copyright file names no files"

# Every numbered recording and mark file gets its type from the MIME database built from the
# installed description, as a desktop builds it.
if command -v update-mime-database >/dev/null; then
  update-mime-database "$root/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
  for expected in rec.E00:velmora-recording rec.E37:velmora-recording rec.e99:velmora-recording \
                  rec.M00:velmora-marks rec.M42:velmora-marks rec.m07:velmora-marks rec.Mxt:velmora-marks \
                  run.edf:edf RUN.EDF:edf Run.Bdf:bdf run.bdf:bdf run.gdf:gdf RUN.GDF:gdf; do
    name=${expected%%:*}
    types=$(bash "$(dirname "$0")/mime-types-of.sh" "$root/share/mime/globs2" "$name")
    grep -qx "application/x-${expected#*:}" <<<"$types" || fail "$name is not recognised"
  done
  # A file's first bytes tell the formats apart, as a desktop looks at them.
  grep -q 'value="BIOSEMI" offset="1"' "$mime" || fail "a BDF recording is not told by its header"
  for other in rec.E1 rec.E100 rec.txt rec.edf2 rec.xdf; do
    [ -z "$(bash "$(dirname "$0")/mime-types-of.sh" "$root/share/mime/globs2" "$other")" ] ||
      fail "$other is taken for a recording or mark file"
  done
else
  grep -q 'pattern="\*.E\[0-9\]\[0-9\]"' "$mime" || fail "recordings (*.E00 to *.E99) are not recognised"
fi

if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop" || fail "desktop-file-validate"; fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime" "$root/share/icons/hicolor/scalable/apps/velmora.svg" || fail "xmllint"
fi
echo "install layout ok"
