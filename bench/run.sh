#!/usr/bin/env bash
# Builds the benchmarks in a Release tree and runs them all: bench/run.sh [benchmark options...]
# (for instance --benchmark_filter=Prefs). Prints the machine, the command, every benchmark's
# median over its repetitions, and the full output into $GW_BENCH_BUILD_DIR/bench-results.txt.
#
# The Release tree (default: build-bench) is built without -Werror: GCC 12 at -O3 reports a
# false -Wrestrict in libstdc++'s string code.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${GW_BENCH_BUILD_DIR:-build-bench}
repetitions=${GW_BENCH_REPETITIONS:-5}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGW_BUILD_TESTS=OFF \
  -DGW_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target gyrowhirl_bench -j"$(nproc)" >/dev/null

command=("$build/bench/gyrowhirl_bench" "--benchmark_repetitions=$repetitions"
         "--benchmark_report_aggregates_only=true" "$@")
results="$build/bench-results.txt"
{
  echo "machine: $(nproc) CPUs, $(lscpu | sed -n 's/^Model name:[[:space:]]*//p' | head -n 1)"
  echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "command: ${command[*]}"
} | tee "$results"
"${command[@]}" 2>&1 | tee -a "$results" >/dev/null

echo
echo "medians (Time is wall-clock time, CPU is this process's CPU time):"
# The header, then the median rows; a benchmark run once has no aggregate row of its own.
awk '/^Benchmark/ {print; next}
     /_median / {print; next}
     /repeats:1 |\/iterations:1 / && !/_(mean|stddev|cv) / {print}' "$results"
