#!/usr/bin/env bash
# Installs what the build needs (Debian packages, as root through sudo, only when missing),
# then configures ./build and builds what the main job needs: the simulator and the two
# libraries it loads. The tests, benchmarks and the trace generator are built by ./test.sh.
#
#   ./setup.sh [extra cmake options]     packages, then configure and build ./build
#   ./setup.sh --packages-only           packages only (CI builds into folders of its own)
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config libplist-dev libplist++-dev libgtest-dev libgmock-dev
          googletest libbenchmark-dev libcairo2-dev libpango1.0-dev libpng-dev clang
          libclang-rt-14-dev clang-format libcli11-dev nlohmann-json3-dev libcpp-httplib-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
if [ "${1:-}" = "--packages-only" ]; then
  exit 0
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j"$(nproc)" --target gyrowhirl-sim Gyrowhirl gyrowhirlprefs
