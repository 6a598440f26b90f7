#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, address and undefined-behaviour sanitizers) in
# build-fuzz: one per file reader (the tool's JSON form and the Wine path lookup too) and one for
# the map view and its renderer. Runs each for
# SECONDS (default 60) on its committed seed corpus. Prints the
# executions and findings per target; exits non-zero when any target found something.
#   ./fuzz.sh [SECONDS]        FUZZ_TARGETS="fuzz_mapbin fuzz_faction" ./fuzz.sh 20
set -euo pipefail
cd "$(dirname "$0")"

# All in one function, so that the whole script is read before anything runs.
main() {
local SECONDS_PER_TARGET=${1:-60}
case "$SECONDS_PER_TARGET" in
  ''|*[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac

scripts/ensure-packages.sh clang-14 libclang-rt-14-dev llvm-14 cmake make qt6-base-dev libgl-dev

BUILD_DIR=${BUILD_DIR:-build-fuzz}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 \
  -DSABLEMAP_FUZZ=ON -DSABLEMAP_GUI=OFF -DSABLEMAP_BENCHMARKS=OFF -DBUILD_TESTING=OFF >/dev/null
targets=(${FUZZ_TARGETS:-fuzz_mapbin fuzz_template fuzz_objectslist fuzz_terrain fuzz_sectors fuzz_routes fuzz_faction fuzz_settings fuzz_mapwindow fuzz_wineregistry fuzz_winepath fuzz_json})
cmake --build "$BUILD_DIR" -j"$(nproc)" --target "${targets[@]}"

# The sanitizers stop at the first fault; leaks count as findings too.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

failed=0
summary=()
for t in "${targets[@]}"; do
  work="$BUILD_DIR/corpus/$t"       # grows between runs; the committed seeds stay as they are
  artifacts="$BUILD_DIR/findings/$t"
  mkdir -p "$work" "$artifacts"
  log="$BUILD_DIR/fuzz-$t.log"
  echo "== $t: ${SECONDS_PER_TARGET}s"
  set +e
  "$BUILD_DIR/fuzz/$t" -max_total_time="$SECONDS_PER_TARGET" -print_final_stats=1 \
    -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=16384 -artifact_prefix="$artifacts/" \
    "$work" "fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  found=$(find "$artifacts" -type f | wc -l)
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    echo "   FINDING (exit $rc): $(ls "$artifacts" | head -5 | tr '\n' ' ')"
    grep -m8 -E "ERROR: |SUMMARY: |property failed|runtime error" "$log" | sed 's/^/   /' || true
    echo "   full log: $log"
  fi
  line=$(printf '%-18s %12s execs %8s/s  findings %s' "$t" "${execs:-?}" "${rate:-?}" "$found")
  summary+=("$line")
  echo "   $line"
done

echo
echo "Fuzzing summary (${SECONDS_PER_TARGET}s per target):"
printf '  %s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
  echo "Findings: reproduce with $BUILD_DIR/fuzz/<target> <file> (files in $BUILD_DIR/findings/)"
  exit 1
fi
echo "No findings."
}

main "$@"
