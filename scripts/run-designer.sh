#!/bin/sh
# Starts the designer in examples/ when there is a display; otherwise renders an example to a
# PNG with lapwerk-cli and says where it went.
# Usage: scripts/run-designer.sh BUILD_DIR
set -e

if [ $# -ne 1 ]; then
  echo "Usage: $0 BUILD_DIR" >&2
  exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
designer="$build/ui/lapwerk"
cli="$build/cli/lapwerk-cli"

if [ -n "$DISPLAY$WAYLAND_DISPLAY" ] && [ -x "$designer" ]; then
  echo "Starting $designer in $root/examples"
  cd "$root/examples"
  exec "$designer"
fi

out="$build/oval.png"
if [ -n "$DISPLAY$WAYLAND_DISPLAY" ]; then
  echo "No designer at $designer: rendering examples/oval.tr2 to $out instead"
else
  echo "No display: rendering examples/oval.tr2 to $out instead"
fi
if [ ! -x "$cli" ]; then
  echo "No lapwerk-cli at $cli either; build first (make build)" >&2
  exit 1
fi
cd "$root/examples"
"$cli" render oval.tr2 "$out"
echo "Wrote $out (1000 x 800 pixels, zoom 13): the oval on its board with ruler and grid"
"$cli" lengths oval.tr2
