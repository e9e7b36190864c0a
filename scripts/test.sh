#!/usr/bin/env bash
# The test command: set-up, configure the ci preset, build, run every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
cmake --preset ci >/dev/null
cmake --build --preset ci
export QT_QPA_PLATFORM=offscreen
ctest --preset ci --output-on-failure
