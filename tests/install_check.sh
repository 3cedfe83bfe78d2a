#!/bin/sh
# Installs the build into a fresh folder and checks what a desktop needs is there.
set -eu
build="$1"
source="$2"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/quillet share/applications/quillet.desktop share/metainfo/quillet.metainfo.xml \
         share/man/man1/quillet.1.gz share/doc/quillet/copyright share/doc/quillet/changelog.gz share/icons/hicolor/scalable/apps/quillet.svg share/doc/quillet/LICENSE \
         share/quillet/help/Overview.htm; do
  test -s "$prefix/$f" || { echo "missing: $f"; exit 1; }
done
for size in 16 22 24 32 48 64 128 256; do
  f="$prefix/share/icons/hicolor/${size}x${size}/apps/quillet.png"
  test -s "$f" || { echo "missing: $f"; exit 1; }
  # A PNG of that very size.
  dims=$(od -An -tu1 -j16 -N8 "$f" | awk '{print $3*256+$4 "x" $7*256+$8}')
  test "$dims" = "${size}x${size}" || { echo "$f is $dims"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$prefix/share/applications/quillet.desktop"; fi
if command -v appstreamcli >/dev/null; then appstreamcli validate --no-net --explain "$prefix/share/metainfo/quillet.metainfo.xml"; fi
grep -q "^Categories=Utility;" "$prefix/share/applications/quillet.desktop"
grep -q "GPL-3.0-or-later" "$prefix/share/metainfo/quillet.metainfo.xml"
"$prefix/bin/quillet" --version | grep -q "^quillet "
echo "install ok"
