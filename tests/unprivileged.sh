#!/usr/bin/env bash
# Runs a test executable as the unprivileged user nobody when started as root, since root ignores
# file modes; otherwise runs it as it is. The executable is copied to a temporary folder first, so
# the build folder need not be open to nobody.
# Usage: unprivileged.sh EXECUTABLE [ARGUMENTS...]
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  exec "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
install -m 755 "$1" "$work/"
exe=$work/$(basename "$1")
shift
cd "$work"
setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work" "$exe" "$@"
