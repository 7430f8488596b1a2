#!/usr/bin/env bash
# Runs a test executable as the unprivileged user nobody when started as root, since root ignores
# file modes, a serial port's exclusive use and device permissions; otherwise runs it as it is.
# The executable is copied into a temporary folder that nobody owns, so the build folder need
# not be open to nobody and the program can write its INI file beside itself; whatever else it
# starts (q7xsim) must be readable by nobody.
# Usage: unprivileged.sh EXECUTABLE [ARGUMENTS...]
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  exec "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
install -m 755 "$1" "$work/"
exe=$work/$(basename "$1")
shift
chown -R nobody:nogroup "$work"
cd "$work"
setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env HOME="$work" TMPDIR="$work" XDG_RUNTIME_DIR="$work" "$exe" "$@"
