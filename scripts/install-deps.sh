#!/usr/bin/env bash
# Installs the Debian 12 packages that q7xconf needs to build, run and test.
# Idempotent: packages already present are left alone; apt-get update runs first
# only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev qt6-translations-l10n
  libftdi1-dev libcli11-dev g++-mingw-w64-x86-64-posix
  llvm lld clang libclang-rt-14-dev
  xvfb xauth imagemagick fonts-dejavu-core poppler-utils
  dpkg-dev file lintian desktop-file-utils appstream librsvg2-bin xdotool x11-utils dbus-daemon
  mandoc bash-completion python3-jsonschema
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
