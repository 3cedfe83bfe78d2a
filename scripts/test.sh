#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite as built,
# the suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# each fuzzer briefly (30 seconds each in CI, QUILLET_FUZZ_SECONDS to change).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang libclang-rt-14-dev xvfb openbox trayer xdotool imagemagick x11-utils xclip fluxbox python3 desktop-file-utils appstream lintian qt6-translations-l10n
export QT_QPA_PLATFORM=offscreen

echo "== Build and test"
scripts/build.sh
# The desktop tests start their own X servers; everything else runs offscreen.
ctest --test-dir build --output-on-failure -j2

echo "== Sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=address,undefined \
  -DQUILLET_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2 -LE "desktop|package"

echo "== Fuzzing"
if [ -n "${CI:-}" ]; then default_seconds=30; else default_seconds=5; fi
scripts/fuzz.sh "${QUILLET_FUZZ_SECONDS:-$default_seconds}"
