#!/usr/bin/env bash
# Runs one fuzz target for a given time: fuzz/run.sh TARGET SECONDS [libFuzzer options...]
# TARGET is one of: prefs_read color_from_string root_specifiers scenario_parser trace_reader
# xml_depth.
#
# Builds the target with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) into
# $GW_FUZZ_BUILD_DIR (default: build-fuzz at the top of the project) when needed. New inputs
# go to $GW_FUZZ_BUILD_DIR/fuzz-corpus/TARGET (the seeds in fuzz/corpus/TARGET are only read);
# a crashing input is written to $GW_FUZZ_BUILD_DIR/fuzz-artifacts/TARGET/ and the script exits
# non-zero. One fuzzing process, one job.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  echo "usage: fuzz/run.sh TARGET SECONDS [libFuzzer options...]" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
limits=()
case "$target" in
  prefs_read | root_specifiers) dict=plist ;;
  xml_depth)
    dict=xml
    # Depth hides in long inputs: up to 4 MB, beyond the 3 MB of the attack it guards against.
    limits=(-max_len=4194304)
    ;;
  color_from_string) dict=color ;;
  scenario_parser) dict=scenario ;;
  trace_reader) dict=trace ;;
  *)
    echo "fuzz/run.sh: unknown target '$target'" >&2
    exit 2
    ;;
esac

build=${GW_FUZZ_BUILD_DIR:-build-fuzz}
if [ ! -f "$build/build.ninja" ]; then
  command -v clang++ >/dev/null || { echo "fuzz/run.sh: clang++ is needed" >&2; exit 1; }
  cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGW_FUZZ=ON -DGW_BUILD_TESTS=OFF -DGW_BUILD_BENCH=OFF \
    >/dev/null
fi
cmake --build "$build" --target "fuzz_$target" -j"${GW_FUZZ_BUILD_JOBS:-$(nproc)}" >/dev/null

corpus="$build/fuzz-corpus/$target"
artifacts="$build/fuzz-artifacts/$target"
mkdir -p "$corpus" "$artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
  -print_final_stats=1 -dict="fuzz/dict/$dict.dict" -artifact_prefix="$artifacts/" "${limits[@]}" "$@" \
  "$corpus" "fuzz/corpus/$target"
