#!/usr/bin/env bash
# Unpacks the package into a temporary root and runs the installed program there under Xvfb with
# HOME and XDG_CONFIG_HOME in a temporary folder: its settings start from the shipped defaults,
# its language libraries are found (the window caption and the message box speak the stored
# language), and a language picked in the window is stored under XDG_CONFIG_HOME while nothing
# else is written, neither in the installation nor in HOME. As root, the same runs again as an
# unprivileged user. The language is picked by real input, at the place the probe reports. The
# installed q7xctl finds the same libraries and settings.
# Usage: install-test.sh PACKAGE.deb SELECTLANG_PROBE LANG_SOURCE_DIR
set -euo pipefail
deb=$1
probe=$2
langsrc=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

root=$work/root
dpkg-deb -x "$deb" "$root"
# Beside the program, the probe reads the same files and settings.
install -m 755 "$probe" "$root/usr/bin/q7x_selectlang_probe"
snapshot() { (cd "$1" && find . -printf '%p %s %T@ %m\n' | sort); }
root_before=$(snapshot "$root")

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$work/display")

text_of() { sed -n "s/^$2[= ] *//p" "$langsrc/$1"; } # a translation's text by key or number
english_caption=$(text_of texts/english.txt rsMainForm_Caption)
russian_box=$(text_of messages/russian.txt 1099)
english_box=$(text_of messages/english.txt 1099)

# As the given user (empty: as we are) with its own HOME, XDG_CONFIG_HOME and runtime folder,
# and a D-Bus session bus of its own, as a desktop session has one. Without a bus, the D-Bus
# library that Qt loads starts one itself through X11 autolaunch where dbus-x11 is installed:
# that writes ~/.dbus/session-bus/ into HOME (the library does it, not the program) and leaves a
# bus daemon running after the program has ended.
as_user() {
  local user=$1
  shift
  local env=(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb
    HOME="$home" XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$runtime"
    XDG_DATA_DIRS="$root/usr/share:/usr/share" dbus-run-session --)
  if [ -n "$user" ]; then
    setpriv --reuid="$user" --regid=nogroup --clear-groups "${env[@]}" "$@"
  else
    "${env[@]}" "$@"
  fi
}

# Starts the program, checks its caption, picks a language in the selector by mouse and
# keyboard, confirms the message box with the expected title and waits for the program to end.
pick_language() {
  local user=$1 caption=$2 key=$3 box=$4
  as_user "$user" "$root/usr/bin/q7xconf" >>"$work/q7xconf.log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --classname '^q7xconf$') ||
    fail "no window appeared"
  window=${window%%$'\n'*}
  local name
  name=$(xdotool getwindowname "$window")
  if [ -n "$caption" ]; then
    [ "$name" = "$caption" ] || fail "caption '$name', expected '$caption'"
  fi
  # Whole outputs are matched: grep -q stops reading early, which pipefail takes for a failure.
  local icon
  icon=$(xprop -id "$window" _NET_WM_ICON)
  grep -q 'Icon (' <<<"$icon" || fail "the window has no icon"
  local at
  at=$(as_user "$user" "$root/usr/bin/q7x_selectlang_probe" 2>>"$work/q7xconf.log")
  [ -n "$at" ] || fail "the probe reported no position"
  # The list opens as a window of its own; the keys go to it once it is there.
  local windows
  windows=$(xdotool search --onlyvisible --classname '^q7xconf$' | wc -l)
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" $at click 1
  for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --classname '^q7xconf$' | wc -l)" -gt "$windows" ] && break
    sleep 0.1
  done
  xdotool type "$key"
  xdotool key Return
  local dialog
  dialog=$(timeout 30 xdotool search --sync --onlyvisible --name "^$box\$") ||
    fail "no message box titled '$box'"
  dialog=${dialog%%$'\n'*}
  xdotool windowfocus --sync "$dialog" key Return
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$pid" 2>/dev/null || fail "the program did not close after the language change"
  wait "$pid" || true
}

run_as() {
  local user=$1
  home=$work/home-${user:-self}
  config=$work/config-${user:-self}
  runtime=$work/runtime-${user:-self}
  mkdir -p "$home" "$config" "$runtime"
  chmod 700 "$runtime"
  [ -z "$user" ] || chown "$user" "$home" "$config" "$runtime"
  local ini=$config/q7xconf/q7xconf.INI
  local shipped=$root/usr/share/q7xconf/q7xconf.INI
  local home_before
  home_before=$(snapshot "$home")

  # First start: the shipped defaults (Russian) become the user's settings.
  pick_language "$user" "" e "$russian_box"
  grep -qx 'Default=English' "$ini" || fail "English was not stored in $ini"
  diff <(sed 's/^Default=English$/Default=Russian/' "$ini") "$shipped" >/dev/null ||
    fail "the user's settings do not keep the shipped defaults"

  # Second start: English texts from the installed libraries; back to Russian.
  pick_language "$user" "$english_caption" r "$english_box"
  diff "$ini" "$shipped" >/dev/null || fail "Russian was not stored back in $ini"

  # The command line finds the same libraries and settings: English texts when asked for, the
  # stored language (Russian again) otherwise.
  local out=$work/ctl-${user:-self}
  mkdir -p "$out"
  [ -z "$user" ] || chown "$user" "$out"
  as_user "$user" "$root/usr/bin/q7xctl" --lang en preset --model q72 --mode 1 -o "$out/p.cfg" \
    >/dev/null || fail "q7xctl preset failed"
  [ "$(as_user "$user" "$root/usr/bin/q7xctl" --lang en show "$out/p.cfg" | head -n1)" = \
    "$(text_of texts/english.txt rsMainForm_TabSheet1_Caption)" ] ||
    fail "q7xctl show does not name the page in English"
  [ "$(as_user "$user" "$root/usr/bin/q7xctl" check "$out/p.cfg")" = \
    "$(text_of messages/russian.txt 1824)" ] || fail "q7xctl does not speak the stored language"

  [ "$(cd "$config" && find . -type f)" = ./q7xconf/q7xconf.INI ] ||
    fail "other files written under XDG_CONFIG_HOME: $(cd "$config" && find . -type f)"
  [ "$(snapshot "$home")" = "$home_before" ] || fail "files written under HOME"
  [ "$(snapshot "$root")" = "$root_before" ] || fail "files written in the installation"
  echo "installed program as ${user:-$(id -un)}: ok"
}

run_as ""
if [ "$(id -u)" -eq 0 ]; then
  run_as nobody
fi
