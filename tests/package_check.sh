#!/bin/sh
# Builds the Debian package and checks its file list and, where lintian is, that it finds no error.
set -eu
build="$1"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb="$out/quillet_"*"_amd64.deb"
deb=$(echo $deb)
test -s "$deb" || { echo "no package made"; exit 1; }
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/quillet ./usr/share/applications/quillet.desktop ./usr/share/metainfo/quillet.metainfo.xml \
         ./usr/share/man/man1/quillet.1.gz ./usr/share/doc/quillet/copyright ./usr/share/doc/quillet/changelog.gz \
         ./usr/share/icons/hicolor/scalable/apps/quillet.svg ./usr/share/icons/hicolor/48x48/apps/quillet.png \
         ./usr/share/quillet/help/Overview.htm; do
  echo "$files" | grep -qx "$f" || { echo "missing from the package: $f"; exit 1; }
done
# Nothing from the build tree (tests, benchmarks) in it.
extra=$(echo "$files" | grep "/bin/" | grep -vx "./usr/bin/" | grep -vx "./usr/bin/quillet" || true)
test -z "$extra" || { echo "unexpected programs: $extra"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6
if command -v lintian >/dev/null; then
  report=$(lintian "$deb" 2>&1 | grep -v "running with root privileges" || true)
  echo "$report"
  if echo "$report" | grep -q "^E:"; then exit 1; fi
fi
echo "package ok"
