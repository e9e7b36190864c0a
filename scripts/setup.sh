#!/usr/bin/env bash
# Installs what the build, the tests and the screenshots need, and fetches the database engine.
# Idempotent: quiet when everything is already present.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n qt6-svg-dev
  breeze-icon-theme
  libjpeg62-turbo-dev libbenchmark-dev libxlsxwriter-dev libicu-dev python3-openpyxl
  sqlcipher python3 python3-aiosmtpd openssl
  libxcb-xkb-dev
  xvfb xauth fonts-noto-cjk locales poppler-utils
  xdotool openbox x11-xserver-utils
)
# npm fetches the engine; a machine that already has it (from any source) keeps its own.
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# zh_CN.UTF-8 makes Han glyphs take their simplified shapes in screenshots.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi

# The encrypted engine: the amalgamation shipped inside a pinned npm package.
engine_pkg="better-sqlite3-multiple-ciphers"
engine_ver="12.11.1"
engine_sha256="670d8d053176b53a68073b168f8e68fb72db67bdf964a0eb130338e9391198b9"
engine_dir="$root/third_party/sqlite3mc"

if [ -f "$engine_dir/sqlite3.c" ] && [ -f "$engine_dir/.sha256" ] && [ "$(cat "$engine_dir/.sha256")" = "$engine_sha256" ]; then
  exit 0
fi

echo "setup: fetching ${engine_pkg}@${engine_ver}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "${engine_pkg}@${engine_ver}" >/dev/null)
tar -xzf "$work/${engine_pkg}-${engine_ver}.tgz" -C "$work" \
  package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h package/deps/sqlite3/sqlite3ext.h
got="$(sha256sum "$work/package/deps/sqlite3/sqlite3.c" | cut -d' ' -f1)"
if [ "$got" != "$engine_sha256" ]; then
  echo "setup: FATAL: sqlite3.c checksum mismatch" >&2
  echo "  expected $engine_sha256" >&2
  echo "  got      $got" >&2
  exit 1
fi
mkdir -p "$engine_dir"
cp "$work"/package/deps/sqlite3/sqlite3.c "$work"/package/deps/sqlite3/sqlite3.h "$work"/package/deps/sqlite3/sqlite3ext.h "$engine_dir/"
echo "$engine_sha256" > "$engine_dir/.sha256"
echo "setup: engine ready in third_party/sqlite3mc"
