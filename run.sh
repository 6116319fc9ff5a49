#!/usr/bin/env bash
# The main job: builds the simulator where needed and plays the showcase on a simulated phone,
# printing its timeline and drawing its pictures into build/showcase/ (storyboard.png there).
#
#   ./run.sh                    the showcase, with pictures
#   ./run.sh ARGUMENTS...       gyrowhirl-sim with these arguments instead (see --help)
#
# A fresh clone is set up first (./setup.sh: packages, then the simulator and the libraries it
# loads); afterwards only those are brought up to date. The tests build with ./test.sh.
set -euo pipefail
cd "$(dirname "$0")"

if [ ! -f build/build.ninja ]; then
  ./setup.sh
else
  targets=(--target gyrowhirl-sim Gyrowhirl gyrowhirlprefs)
  cmake --build build "${targets[@]}" >/dev/null || cmake --build build "${targets[@]}"
fi

if [ "$#" -eq 0 ]; then
  rm -rf build/showcase
  set -- --render build/showcase
fi
exec ./build/gyrowhirl-sim "$@"
