#!/usr/bin/env bash
# Builds everything and runs every test (the Qt tests run offscreen); then the same suite
# again under the sanitizers, and each fuzz harness for a short while (test-sanitizers.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --build build -j "$(nproc)"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
fc-list | grep -qi dejavu || { echo "no DejaVu font installed: text would draw as boxes" >&2; exit 1; }
ctest --test-dir build --output-on-failure -j "$(nproc)"
bash scripts/test-sanitizers.sh
