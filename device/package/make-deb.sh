#!/usr/bin/env bash
# Stages one layout of the package and writes its .deb (run by the device build's "packages"
# target). Every file comes from the build or from the repository; nothing is generated here
# but the control file's version, architecture and size.
#
#   make-deb.sh LAYOUT VERSION LIBRARY BUNDLE_EXECUTABLE STAGE_FOLDER OUT_FOLDER
#
# LAYOUT is rootful (/Library..., iphoneos-arm) or rootless (/var/jb/Library...,
# iphoneos-arm64). Prints the path of the .deb written.
set -euo pipefail
if [ "$#" -ne 6 ]; then
  echo "usage: $0 rootful|rootless VERSION LIBRARY BUNDLE_EXECUTABLE STAGE_FOLDER OUT_FOLDER" >&2
  exit 64
fi
layout=$1 version=$2 library=$3 executable=$4 stage=$5 out=$6
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
resources=$root/gyrowhirlprefs/Resources
images=$here/images

case "$layout" in
  rootful) prefix= architecture=iphoneos-arm ;;
  rootless) prefix=/var/jb architecture=iphoneos-arm64 ;;
  *) echo "make-deb.sh: unknown layout '$layout'" >&2; exit 64 ;;
esac

rm -rf "$stage"
mkdir -p "$stage/DEBIAN" "$out"
tree=$stage$prefix

# The tweak library and the filter that loads it into the home-screen process only.
substrate=$tree/Library/MobileSubstrate/DynamicLibraries
install -D -m 755 "$library" "$substrate/Gyrowhirl.dylib"
install -m 644 "$here/Gyrowhirl.plist" "$substrate/Gyrowhirl.plist"

# The settings bundle: its executable, the resources the simulator installs (Info.plist, the
# "Root" specifier list) byte for byte, the banner and the menu icon.
bundle=$tree/Library/PreferenceBundles/gyrowhirlprefs.bundle
install -D -m 755 "$executable" "$bundle/gyrowhirlprefs"
for resource in "$resources"/*; do
  [ -f "$resource" ] && install -m 644 "$resource" "$bundle/"
done
install -m 644 "$images/SettingsBannerGWH.png" "$images"/icon*.png "$bundle/"

# The Settings app's menu entry.
install -D -m 644 "$here/PreferenceLoaderEntry.plist" \
  "$tree/Library/PreferenceLoader/Preferences/gyrowhirlprefs.plist"

# The images the product reads from /var/mobile/Library/Preferences/GyrowhirlPrefs. A rootless
# package may only write inside the jailbreak root: it ships them there and its postinst copies
# them out (its postrm takes them back on purge).
if [ "$layout" = rootful ]; then
  image_folder=$stage/var/mobile/Library/Preferences/GyrowhirlPrefs
else
  image_folder=$tree/usr/share/gyrowhirl/GyrowhirlPrefs
  install -m 755 "$here/rootless/postinst" "$here/rootless/postrm" "$stage/DEBIAN/"
fi
install -D -m 644 "$images/lock.png" "$image_folder/lock.png"
install -m 644 "$images/SettingsBannerGWH.png" "$image_folder/SettingsBannerGWH.png"

size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCHITECTURE@/$architecture/" \
  -e "s/@INSTALLED_SIZE@/$size/" "$here/control.in" >"$stage/DEBIAN/control"

package=$(sed -n 's/^Package: //p' "$stage/DEBIAN/control")
deb=$out/${package}_${version}_${architecture}.deb
dpkg-deb --root-owner-group -Zxz -b "$stage" "$deb" >/dev/null
echo "$deb"
