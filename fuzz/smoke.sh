#!/usr/bin/env bash
# A short run of every fuzz target, so that a regression shows in CI: builds them with clang
# into build-fuzz (see run.sh), then fuzzes each from its seed corpus with a fixed seed for a
# fixed number of inputs (about half a minute each here), one after another, so that the
# same tree gives the same verdict on every run. Exits non-zero when a target fails to build
# or crashes. Long, randomly seeded runs to look for new faults: fuzz/run.sh.
# GW_FUZZ_SMOKE_SCALE multiplies the input counts (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."

scale=${GW_FUZZ_SMOKE_SCALE:-1}
# Inputs per target, from the rates measured on a CI machine (executions per second).
declare -A runs=(
  [prefs_read]=60000
  [color_from_string]=4000000
  [root_specifiers]=60000
  [scenario_parser]=1000000
  [trace_reader]=800000
  [xml_depth]=20000
)
# An upper bound on each target's time, should a machine be much slower.
seconds_cap=300
build=${GW_FUZZ_BUILD_DIR:-build-fuzz}
export GW_FUZZ_BUILD_DIR=$build
command -v clang++ >/dev/null || { echo "fuzz/smoke.sh: clang++ is needed" >&2; exit 1; }
# clang's libFuzzer and sanitizer runtimes come in a package of their own (libclang-rt-dev).
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' \
  >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
  >"$probe/log" 2>&1; then
  echo "fuzz/smoke.sh: clang++ cannot link a libFuzzer program (is libclang-rt-dev installed?)" >&2
  cat "$probe/log" >&2
  exit 1
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGW_FUZZ=ON -DGW_BUILD_TESTS=OFF -DGW_BUILD_BENCH=OFF \
  >/dev/null
cmake --build "$build" --target fuzzers -j"$(nproc)"

failed=()
for target in prefs_read color_from_string root_specifiers scenario_parser trace_reader xml_depth; do
  if [ ! -x "$build/fuzz/fuzz_$target" ]; then
    echo "== fuzz smoke: $target is not part of this build, skipped =="
    continue
  fi
  count=$((runs[$target] * scale))
  echo "== fuzz smoke: $target, $count inputs =="
  log="$build/fuzz-smoke-$target.log"
  # A corpus left by an earlier run would change the inputs tried; start from the seeds.
  rm -rf "$build/fuzz-corpus/$target"
  if fuzz/run.sh "$target" "$seconds_cap" -seed=1 -runs="$count" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done ' "$log" || true
  else
    echo "fuzz smoke: $target FAILED; its log ($log) ends:" >&2
    tail -n 60 "$log" >&2
    failed+=("$target")
  fi
done
if ((${#failed[@]})); then
  echo "fuzz smoke: crashes in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz smoke: all targets ran clean"
