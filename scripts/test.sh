#!/usr/bin/env bash
# Builds everything and runs every test (the Qt tests run offscreen); then the same suite
# again under the sanitizers, and each fuzz harness for a short while (test-sanitizers.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --build build -j "$(nproc)"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
# grep reads the whole list: with -q it stops at the first match and, under pipefail,
# fc-list's broken pipe would fail the check on a machine with many fonts.
fc-list | grep -i dejavu >/dev/null || { echo "no DejaVu font installed: text would draw as boxes" >&2; exit 1; }
ctest --test-dir build --output-on-failure -j "$(nproc)"
bash scripts/test-sanitizers.sh
