#!/bin/sh
# Runs a command on a display of its own with a window manager (openbox) on it, as a user's
# desktop has one: focus, stacking and popups behave there as users see them.
set -e
if [ -z "$WITH_WINDOW_MANAGER_INNER" ]; then
  WITH_WINDOW_MANAGER_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
openbox >/dev/null 2>&1 &
manager=$!
# The window manager is ready once it has announced itself on the root window.
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ]; then
    echo "openbox did not start" >&2
    exit 1
  fi
  sleep 0.1
done
status=0
QT_QPA_PLATFORM=xcb "$@" || status=$?
kill "$manager" 2>/dev/null || true
exit "$status"
