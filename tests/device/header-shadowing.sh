#!/usr/bin/env bash
# A header added to device/include/ replaces the face header of the same name for every file of
# the device build, including those built before it existed: they are compiled again and not
# served from ccache's memory of the face header. Builds a copy of the sources with a probe
# header in platform/, then adds the device's version of it.
#
#   header-shadowing.sh SDK
set -euo pipefail
if [ "$#" -ne 1 ]; then
  echo "usage: $0 SDK" >&2
  exit 64
fi
sdk=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
nm=${LLVM_NM:-llvm-nm-14}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/src"
tar -C "$root" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$work/src" -xf -
mkdir -p "$work/src/platform/GwProbe" "$work/src/device/face/GwProbe"
echo '#define GW_PROBE_FUNCTION gw_probe_face' >"$work/src/platform/GwProbe/GwProbe.h"
printf '#include "GwProbe/GwProbe.h"\nextern "C" int GW_PROBE_FUNCTION() { return 0; }\n' \
  >"$work/src/device/face/GwProbe/GwProbe.cpp"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_OBJCXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/ios-arm64.toolchain.cmake" -DGW_IOS_SDK="$sdk" \
  -DGW_LDID_SOURCE= "${launcher[@]}" >/dev/null
object=device/CMakeFiles/gw_device_adapter_common.dir/face/GwProbe/GwProbe.cpp.o
probe() {
  cmake --build "$work/build" --target "$object" >/dev/null
  "$nm" -g "$work/build/$object" | awk '$3 ~ /^_gw_probe_/ {sub(/^_/, "", $3); print $3}'
}

first=$(probe)
mkdir -p "$work/src/device/include/GwProbe"
echo '#define GW_PROBE_FUNCTION gw_probe_device' >"$work/src/device/include/GwProbe/GwProbe.h"
second=$(probe)
echo "before the device header: $first; after: $second"
[ "$first" = gw_probe_face ] && [ "$second" = gw_probe_device ]
