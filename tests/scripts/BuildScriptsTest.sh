#!/usr/bin/env bash
# The start script builds only the programs it starts (a first start should not wait for
# every test and benchmark); the test script builds everything before it runs the tests, then
# builds and runs the suite again under the sanitizers.
# The scripts run on a copy of themselves with cmake, ctest and the programs replaced by
# stubs that write down how they were called.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
repo=$work/repo
log=$work/calls.log
mkdir -p "$repo/scripts" "$repo/build/src" "$work/stubs"
cp "$source_dir"/scripts/*.sh "$repo/scripts/"

stub() {  # stub PATH NAME: a program that only logs its name and arguments
  printf '#!/bin/sh\necho "%s $*" >> "%s"\n' "$2" "$log" > "$1"
  chmod +x "$1"
}
stub "$work/stubs/cmake" cmake
stub "$work/stubs/ctest" ctest
stub "$repo/build/src/velmora" velmora
stub "$repo/build/src/velmora-cli" velmora-cli
printf '#!/bin/sh\nprintf "install ok installed"\n' > "$work/stubs/dpkg-query"
printf '#!/bin/sh\necho /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\n' > "$work/stubs/fc-list"
chmod +x "$work/stubs/dpkg-query" "$work/stubs/fc-list"

fail() {
  echo "FAIL: $1" >&2
  sed 's/^/  /' "$log" >&2
  exit 1
}

PATH="$work/stubs:$PATH" bash "$repo/scripts/start.sh" > /dev/null
builds=$(grep '^cmake --build' "$log" || true)
[ "$(printf '%s\n' "$builds" | grep -c .)" -eq 1 ] || fail "start.sh should build once"
printf '%s\n' "$builds" | grep -Eq -- '--target velmora velmora-cli$' || fail "start.sh should build only velmora and velmora-cli"
grep -q '^velmora --matrix sample/sample-matrix.txt sample/sample.E00$' "$log" || fail "start.sh should open the sample"

: > "$log"
VELMORA_FUZZ_SECONDS=0 PATH="$work/stubs:$PATH" bash "$repo/scripts/test.sh" > /dev/null
builds=$(grep '^cmake --build build ' "$log" || true)
[ "$(printf '%s\n' "$builds" | grep -c .)" -eq 1 ] || fail "test.sh should build once"
printf '%s\n' "$builds" | grep -q -- '--target' && fail "test.sh should build every target"
line_of() { grep -n -- "$1" "$log" | head -n 1 | cut -d: -f1; }
[ "$(line_of '^cmake --build build ')" -lt "$(line_of '^ctest --test-dir build ')" ] ||
  fail "test.sh should build before it tests"
grep -q -- '-B build-asan .*-DCMAKE_CXX_COMPILER=clang++ .*-DVELMORA_BUILD_FUZZ=ON -DVELMORA_BUILD_GUI=OFF' "$log" ||
  fail "test.sh should configure a sanitizer build with clang, without the window toolkit"
[ -n "$(line_of '^ctest --test-dir build-asan')" ] &&
  [ "$(line_of '^ctest --test-dir build ')" -lt "$(line_of '^cmake --build build-asan')" ] &&
  [ "$(line_of '^cmake --build build-asan')" -lt "$(line_of '^ctest --test-dir build-asan')" ] ||
  fail "test.sh should run the sanitizer suite after the normal one"
echo "build scripts: ok"
