#!/usr/bin/env bash
# Builds the workbench and the command-line tool (not the tests or benchmarks), makes the
# sample recording (once) and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --build build -j "$(nproc)" --target velmora velmora-cli
if [ ! -f sample/sample.E00 ]; then
  build/src/velmora-cli sample sample
fi
exec build/src/velmora --matrix sample/sample-matrix.txt sample/sample.E00
