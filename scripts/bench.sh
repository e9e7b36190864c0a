#!/usr/bin/env bash
# Builds the release preset and runs every benchmark; prints one TARGET line per target.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
status=0
log="build/release/bench.log"
: > "$log"
for b in build/release/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  "$b" --benchmark_color=false "$@" >> "$log" 2>&1 || status=1
done
grep '^TARGET ' "$log" || true
exit $status
