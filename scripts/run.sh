#!/usr/bin/env bash
# The run command: set-up, release build, a demo database beside the program when none
# is there, then the program. Log in as "Admin" with the password "482716".
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
appdir="$root/build/release"
if [ ! -f "$appdir/Data/QLM30.qdb" ]; then
  mkdir -p "$appdir/Data"
  "$appdir/tools/qlmdb" create "$appdir/Data/QLM30.qdb"
  "$appdir/tools/qlmdb" demo "$appdir/Data/QLM30.qdb"
fi
export LANG="${LANG:-zh_CN.UTF-8}"
case "$LANG" in C|POSIX|C.UTF-8) export LANG=zh_CN.UTF-8 ;; esac
exec "$appdir/brimwell" "$@"
