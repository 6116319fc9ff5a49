#!/usr/bin/env bash
# Installs what the build needs (Debian packages, as root through sudo, only when missing),
# then configures ./build and builds what the main job needs: the simulator and the two
# libraries it loads. The tests, benchmarks and the trace generator are built by ./test.sh.
#
#   ./setup.sh [extra cmake options]     packages, then configure and build ./build
#   ./setup.sh --packages-only           packages only (CI builds into folders of its own)
#   ./setup.sh --packages-only --with-browser
#                                        also what the browser tests need (chromium, Node.js)
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config libplist-dev libplist++-dev libgtest-dev libgmock-dev
          googletest libbenchmark-dev libcairo2-dev libpango1.0-dev libpng-dev clang
          libclang-rt-14-dev clang-format libcli11-dev nlohmann-json3-dev libcpp-httplib-dev)
# The browser tests of `gyrowhirl-sim serve` (tests/browser, run by .ci/run): Debian's chromium,
# and Node.js with npm for playwright-core (npm comes with some builds of nodejs).
if [ "${1:-}" = "--packages-only" ] && [ "${2:-}" = "--with-browser" ]; then
  packages+=(chromium nodejs)
  command -v npm >/dev/null || packages+=(npm)
fi
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
