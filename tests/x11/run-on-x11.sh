#!/usr/bin/env bash
# Runs a program on a virtual X server of its own with a window manager, as on a desktop:
# starts Xvfb on a free display and openbox on it, runs the program with Qt's xcb platform,
# and stops what it started. Every wait is bounded.
set -euo pipefail

for tool in Xvfb openbox xprop xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "$0: $tool is missing (scripts/install-deps installs it)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to thirty seconds for a command to succeed: a loaded machine (a parallel build or
# test run) can take several seconds to start the window manager.
await() {
  for _ in $(seq 300); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  echo "$0: gave up waiting for: $*" >&2
  return 1
}

# Xvfb chooses a free display number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
await test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
if ! await sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'; then
  cat "$work/openbox.log" >&2
  exit 1
fi

QT_QPA_PLATFORM=xcb HOME="$work" XDG_RUNTIME_DIR="$work" timeout 120 "$@"
