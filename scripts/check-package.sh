#!/bin/sh
# Checks the Debian package that `make package` built: its contents and dependencies, then
# unpacks it into a temporary folder, runs the unpacked lapwerk-cli on the packaged examples and
# renders both manual pages, with any warning counted as a failure.
# Usage: scripts/check-package.sh BUILD_DIR
set -eu

if [ $# -ne 1 ]; then
  echo "Usage: $0 BUILD_DIR" >&2
  exit 2
fi
package=$(ls -t "$1"/lapwerk_*.deb 2>/dev/null | head -n 1)
if [ -z "$package" ]; then
  echo "No lapwerk_*.deb in $1: run make package first" >&2
  exit 1
fi
echo "Checking $package"

fail() {
  echo "check-package: $*" >&2
  exit 1
}

contents=$(dpkg-deb --contents "$package")
for path in usr/bin/lapwerk usr/bin/lapwerk-cli \
  usr/share/applications/lapwerk.desktop \
  usr/share/icons/hicolor/scalable/apps/lapwerk.svg \
  usr/share/mime/packages/lapwerk.xml \
  usr/share/doc/lapwerk/help/index.html \
  usr/share/man/man1/lapwerk.1.gz usr/share/man/man1/lapwerk-cli.1.gz \
  usr/share/lapwerk/examples/parts.def usr/share/lapwerk/examples/sections.own \
  usr/share/lapwerk/examples/oval.tr2 usr/share/lapwerk/examples/figure-eight.tr2 \
  usr/share/lapwerk/examples/grouped.tr2 usr/share/lapwerk/examples/example.trk; do
  echo "$contents" | grep -q " \./$path\$" || fail "the package lacks /$path"
done

# The dependencies come from the libraries the programs link, not from a list of our own.
depends=$(dpkg-deb --field "$package" Depends)
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6; do
  echo "$depends" | grep -q "\b$library\b" || fail "Depends lacks $library: $depends"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
cli="$unpacked/usr/bin/lapwerk-cli"
"$cli" --help | grep -q "^Usage: lapwerk-cli" || fail "lapwerk-cli --help printed no usage"
examples="$unpacked/usr/share/lapwerk/examples"
for design in oval.tr2 figure-eight.tr2 grouped.tr2 example.trk; do
  lengths=$(cd "$examples" && "$cli" lengths "$design") || fail "lengths $design failed"
  echo "$lengths" | grep -q "^Track 1	[0-9.]* m	[0-9.]* m\$" ||
    fail "lengths $design printed: $lengths"
  echo "  lengths $design: $(echo "$lengths" | tr '\t\n' '  ')"
done

# Started from an empty folder with empty user folders, both programs find the shipped part
# library and copy it into the user data folder, and lapwerk-cli own lists its parts.
empty="$unpacked/empty"
mkdir "$empty"
export XDG_DATA_HOME="$unpacked/data" XDG_CONFIG_HOME="$unpacked/config"
(cd "$empty" && QT_QPA_PLATFORM=offscreen timeout 3 "$unpacked/usr/bin/lapwerk" >/dev/null 2>&1) || true
cmp -s "$XDG_DATA_HOME/lapwerk/parts.def" "$examples/parts.def" ||
  fail "the designer did not copy the shipped part library into the user data folder"
rm -r "$XDG_DATA_HOME"
owned=$(cd "$empty" && "$cli" own) || fail "own failed"
echo "$owned" | head -n 1 | grep -q "^Library	$XDG_DATA_HOME/lapwerk/parts.def\$" ||
  fail "own did not use the shipped library: $(echo "$owned" | head -n 1)"
[ "$(echo "$owned" | wc -l)" -eq 22 ] || fail "own listed $(echo "$owned" | wc -l) lines"
echo "  own from an empty folder: $(echo "$owned" | head -n 1)"

for page in lapwerk.1 lapwerk-cli.1; do
  warnings="$unpacked/$page.warnings"
  MANWIDTH=80 man --warnings -l "$unpacked/usr/share/man/man1/$page.gz" >/dev/null 2>"$warnings" ||
    fail "man could not render $page"
  if [ -s "$warnings" ]; then
    cat "$warnings" >&2
    fail "$page renders with warnings"
  fi
done
echo "The package holds what it should, its lapwerk-cli runs and its manual pages render."
