#!/usr/bin/env bash
# Builds the installable packages for a jailbroken iPhone (arm64) into build-device/packages/:
# one rootful (iphoneos-arm) and one rootless (iphoneos-arm64) .deb. Installs the Debian
# packages it needs first (as root through sudo, only when missing), like ./setup.sh.
#
#   ./package.sh [extra cmake options]
#
# GW_IOS_SDK      the iPhoneOS SDK folder (default ../shared/ios-sdk/iPhoneOS15.6.sdk); without
#                 one the script stops with exit status 2
# GW_LDID_SOURCE  ldid's source folder, built to sign (default ../shared/tools/ldid); else an
#                 ldid on PATH, else the linker's ad-hoc signature
set -euo pipefail
cd "$(dirname "$0")"
started=$(date +%s)

sdk=${GW_IOS_SDK:-}
if [ -z "$sdk" ] && [ -d ../shared/ios-sdk/iPhoneOS15.6.sdk ]; then
  sdk=../shared/ios-sdk/iPhoneOS15.6.sdk
fi
if [ -z "$sdk" ] || [ ! -d "$sdk/System/Library/Frameworks" ]; then
  echo "package.sh: no iPhoneOS SDK found: set GW_IOS_SDK to an iPhoneOS*.sdk folder" \
    "(default ../shared/ios-sdk/iPhoneOS15.6.sdk; now '${sdk}')" >&2
  exit 2
fi
sdk=$(cd "$sdk" && pwd)

packages=(cmake ninja-build make pkg-config g++ clang-14 lld-14 llvm-14 libplist-dev libssl-dev
          dpkg-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "package.sh: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

options=(-DGW_IOS_SDK="$sdk")
if [ -n "${GW_LDID_SOURCE:-}" ]; then
  options+=(-DGW_LDID_SOURCE="$(cd "$GW_LDID_SOURCE" && pwd)")
fi
if command -v ccache >/dev/null; then
  options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_OBJCXX_COMPILER_LAUNCHER=ccache)
fi
cmake --preset ios "${options[@]}" "$@"
if ! cmake --build build-device --target packages -j"$(nproc)"; then
  echo "package.sh: the device build failed (a link error lists the symbols the adapter in" \
    "device/ does not provide yet; 'cmake --build build-device --target gw_device_objects'" \
    "compiles without linking)" >&2
  exit 1
fi

echo "package.sh: signed with $(cat build-device/signer.txt)"
ls -l build-device/packages/*.deb
echo "package.sh: done in $(($(date +%s) - started)) s"
