#!/usr/bin/env bash
# Builds everything in ./build (the tests, benchmarks and the trace generator too; a fresh
# clone is set up first) and runs the tests. Arguments go to ctest:
#
#   ./test.sh                                 every test
#   ./test.sh -R VXOrientationClassifierTest  the tests whose names match
#
# A selection that matches no test is an error, not a silent success.
set -euo pipefail
cd "$(dirname "$0")"

if [ ! -f build/build.ninja ]; then
  ./setup.sh
fi
cmake --build build -j"$(nproc)"
exec ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)" "$@"
