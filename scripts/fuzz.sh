#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 30).
# New inputs land in build-fuzz/corpus/<target>; the committed seeds and
# regression inputs are in tests/fuzz/corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
scripts/install-deps.sh clang libclang-rt-14-dev
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLET_CORE_ONLY=ON -DQUILLET_FUZZ=ON -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-fuzz -j2 >/dev/null
status=0
for target in datafile recyclebin translation transfer; do
  mkdir -p "build-fuzz/corpus/$target"
  log="build-fuzz/fuzz-$target.log"
  if build-fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="build-fuzz/crash-$target-" \
      "build-fuzz/corpus/$target" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    speed=$(grep -m1 'stat::average_exec_per_sec' "$log" | awk '{print $2}')
    echo "fuzz $target: ${runs:-?} runs in ${seconds}s, ${speed:-?}/s, no faults"
  else
    echo "fuzz $target: FAULT (see $log and build-fuzz/crash-$target-*)"
    tail -40 "$log"
    status=1
  fi
done
exit $status
