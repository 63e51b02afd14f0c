#!/usr/bin/env bash
# Builds the Debian package and tries it on a fresh Debian 12 made here from the
# distribution's mirror: installs it with apt as a user would, then makes a sample recording,
# reads it, draws it, starts the workbench on it for the first time on a virtual screen and
# offscreen, and checks that numbered recordings and mark files are the workbench's. Takes
# several minutes and needs root and the mirror, so it is run by hand before a release, not
# by CI.
#   bash scripts/test-package.sh [BUILD_DIR]     (default build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "test-package.sh: run as root (it builds a chroot)" >&2; exit 1; }
build=${1:-build-package}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
jobs=${JOBS:-2}

for tool in mmdebstrap dpkg-shlibdeps cpack; do
  command -v "$tool" >/dev/null || { echo "test-package.sh: $tool is missing (apt-get install mmdebstrap dpkg-dev cmake)" >&2; exit 1; }
done

echo "== building the package in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs"
rm -f "$build"/velmora_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/velmora_*.deb)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends Recommends

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$deb" tests/scripts/mime-types-of.sh "$work/"

# What a newcomer does on the fresh system, as an ordinary user where it matters.
cat > "$work/try.sh" <<'TRY'
set -eux
cd /root
apt-get update -q
# As on a desktop, recommended packages come along (the menu and MIME databases).
DEBIAN_FRONTEND=noninteractive apt install -y -q -o APT::Install-Recommends=true ./velmora_*.deb
# A virtual screen to watch the first start on, and a way to list its windows.
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends xvfb xauth x11-utils
useradd --create-home researcher
su researcher -c 'set -eux
  cd ~
  velmora-cli sample s
  # The very first start on a double-clicked recording (no matrix known yet) shows no message
  # before the matrix is settled: no message box (titled "Velmora", of the class "Velmora") is
  # open while the workbench waits.
  xvfb-run -a sh -c "velmora s/sample.E00 & sleep 10; xwininfo -root -tree > windows.txt; kill \$!"
  cat windows.txt
  if grep -q "\"Velmora\": (\"velmora\"" windows.txt; then echo "a message box opened at the first start" >&2; exit 1; fi
  velmora-cli info s/sample.E00 --matrix s/sample-matrix.txt
  velmora-cli render s/sample.E00 --matrix s/sample-matrix.txt --size 400x300 --out s/pane.png
  test -s s/pane.png
  QT_QPA_PLATFORM=offscreen velmora --version
  # The workbench opens the recording given to it and keeps running until stopped.
  status=0
  QT_QPA_PLATFORM=offscreen timeout 10 velmora s/sample.E00 || status=$?
  test "$status" -eq 124'
grep x-velmora-recording /usr/share/mime/globs2
grep -q "application/x-velmora-recording=velmora.desktop" /usr/share/applications/mimeinfo.cache
test -f /usr/share/icons/hicolor/scalable/apps/velmora.svg
test -f /usr/share/doc/velmora/README.md
test -f /usr/share/doc/velmora/copyright
# Recordings are numbered .E00 to .E99 and their marks .M00 to .M99.
for expected in rec.E00:recording rec.E37:recording rec.e99:recording rec.M00:marks rec.M42:marks rec.m07:marks; do
  bash /root/mime-types-of.sh /usr/share/mime/globs2 "${expected%%:*}" | grep -qx "application/x-velmora-${expected#*:}"
done
# Recordings of acquisition systems, under any case of their extension.
for expected in run.edf:edf RUN.EDF:edf Run.Bdf:bdf run.gdf:gdf; do
  bash /root/mime-types-of.sh /usr/share/mime/globs2 "${expected%%:*}" | grep -qx "application/x-${expected#*:}"
done
echo "PACKAGE WORKS ON A FRESH DEBIAN 12"
TRY

echo "== fresh Debian 12 from $mirror"
start=$(date +%s)
mmdebstrap --variant=apt --quiet \
  --customize-hook="copy-in $work/try.sh $work/mime-types-of.sh $work/$(basename "$deb") /root" \
  --customize-hook='chroot "$1" bash /root/try.sh' \
  bookworm "$work/fresh.tar" "$mirror"
echo "== done in $(( $(date +%s) - start )) s"
