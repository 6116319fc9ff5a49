#!/usr/bin/env bash
# Inspects one .deb of the device build, reporting every failed check (not only the first):
# control fields, the file tree, the filter plist, the Settings menu entry, the bundle's
# Info.plist and "Root" resource (the very files the simulator installs), the images, and the
# signed files of the build folder inside it.
#
#   inspect-package.sh rootful|rootless DEVICE_BUILD_FOLDER VERSION
#
# Exit status: 0 all checks pass, 1 some fail, 77 the package is absent (./package.sh writes
# it), 64 usage.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/expectations.sh"

if [ "$#" -ne 3 ]; then
  echo "usage: $0 rootful|rootless DEVICE_BUILD_FOLDER VERSION" >&2
  exit 64
fi
layout=$1 build=$2 version=$3
case "$layout" in
  rootful | rootless) ;;
  *) echo "inspect-package.sh: unknown layout '$layout'" >&2; exit 64 ;;
esac
architecture_var=architecture_$layout prefix_var=prefix_$layout
architecture=${!architecture_var} prefix=${!prefix_var}
deb=$build/packages/${package_name}_${version}_${architecture}.deb
if [ ! -f "$deb" ]; then
  echo "SKIP: $deb is not built (./package.sh writes it)"
  exit 77
fi

failures=0
check() {  # check DESCRIPTION CONDITION-EXIT-STATUS [DETAIL]
  if [ "$2" -eq 0 ]; then
    echo "ok:   $1"
  else
    echo "FAIL: $1${3:+ ($3)}"
    failures=$((failures + 1))
  fi
}
# A property list's text without the white space between its elements.
compact() { tr -d '\n\t' <"$1" | sed -e 's/> *</></g'; }

field() { dpkg-deb -f "$deb" "$1" 2>/dev/null; }
for expected in "Package=$package_name" "Name=Gyrowhirl" "Version=$version" \
  "Architecture=$architecture" "Depends=$package_depends" "Section=Tweaks"; do
  name=${expected%%=*} value=${expected#*=}
  actual=$(field "$name")
  check "control $name: $value" "$([ "$actual" = "$value" ]; echo $?)" "'$actual'"
done
for name in Maintainer Description; do
  check "control $name present" "$([ -n "$(field "$name")" ]; echo $?)"
done

# The regular files, exactly.
image_home=$image_folder
[ "$layout" = rootless ] && image_home=$rootless_image_source
expected_files=$(
  for f in "${package_files[@]}"; do echo "$prefix/$f"; done
  for f in "${images[@]}"; do echo "$image_home/$f"; done
)
actual_files=$(dpkg-deb --fsys-tarfile "$deb" | tar -tvf - | awk '$1 ~ /^-/ {print $NF}' | sed 's|^\.||')
missing=$(comm -23 <(sort <<<"$expected_files") <(sort <<<"$actual_files") | tr '\n' ' ')
extra=$(comm -13 <(sort <<<"$expected_files") <(sort <<<"$actual_files") | tr '\n' ' ')
check "file tree: every file present" "$([ -z "$missing" ]; echo $?)" "missing: $missing"
check "file tree: nothing else" "$([ -z "$extra" ]; echo $?)" "extra: $extra"
owners=$(dpkg-deb --fsys-tarfile "$deb" | tar -tvf - | awk '$2 != "root/root"' | head -3)
check "files owned by root" "$([ -z "$owners" ]; echo $?)" "$owners"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
dpkg-deb -e "$deb" "$tree/DEBIAN"
base=$tree$prefix
bundle=$base/Library/PreferenceBundles/gyrowhirlprefs.bundle

filter=$base/Library/MobileSubstrate/DynamicLibraries/Gyrowhirl.plist
check "filter plist loads the library into the home screen only" \
  "$([ "$(tr -d ' \n\t' <"$filter" 2>/dev/null)" = '{Filter={Bundles=("com.apple.springboard");};}' ]; echo $?)"

entry=$(compact "$base/Library/PreferenceLoader/Preferences/gyrowhirlprefs.plist" 2>/dev/null)
for pair in "entry</key><dict>" "<key>bundle</key><string>gyrowhirlprefs</string>" \
  "<key>cell</key><string>PSLinkCell</string>" \
  "<key>detail</key><string>VXPRootListController</string>" "<key>isController</key><true/>" \
  "<key>label</key><string>Gyrowhirl</string>"; do
  check "menu entry has $pair" "$([[ "$entry" == *"$pair"* ]]; echo $?)"
done
icon=$(sed -n 's|.*<key>icon</key><string>\([^<]*\)</string>.*|\1|p' <<<"$entry")
check "menu entry's icon '$icon' is in the bundle" "$([ -n "$icon" ] && [ -f "$bundle/$icon" ]; echo $?)"

info=$(compact "$bundle/Info.plist" 2>/dev/null)
for pair in "<key>NSPrincipalClass</key><string>VXPRootListController</string>" \
  "<key>CFBundleExecutable</key><string>gyrowhirlprefs</string>"; do
  check "Info.plist has $pair" "$([[ "$info" == *"$pair"* ]]; echo $?)"
done
for resource in "$root"/gyrowhirlprefs/Resources/*; do
  name=$(basename "$resource")
  check "bundle's $name is the one the simulator installs" \
    "$(cmp -s "$resource" "$bundle/$name"; echo $?)"
done

check "the library is the signed build" \
  "$(cmp -s "$build/$layout/Gyrowhirl.dylib" "$base/Library/MobileSubstrate/DynamicLibraries/Gyrowhirl.dylib"; echo $?)"
check "the bundle's executable is the signed build" \
  "$(cmp -s "$build/$layout/gyrowhirlprefs" "$bundle/gyrowhirlprefs"; echo $?)"
for f in "$base/Library/MobileSubstrate/DynamicLibraries/Gyrowhirl.dylib" "$bundle/gyrowhirlprefs"; do
  check "$(basename "$f") is executable" "$([ -x "$f" ]; echo $?)"
done

for image in "${images[@]}"; do
  shipped=$tree$image_home/$image
  check "$image is the repository's picture" \
    "$(cmp -s "$root/device/package/images/$image" "$shipped"; echo $?)"
  check "$image is a PNG" "$([ "$(head -c 8 "$shipped" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; echo $?)"
done

if [ "$layout" = rootless ]; then
  # The image folder lies outside the jailbreak root: the maintainer scripts put the images
  # there and take them back on purge.
  for script in postinst postrm; do
    check "$script present and executable" "$([ -x "$tree/DEBIAN/$script" ]; echo $?)"
  done
  for image in "${images[@]}"; do
    check "postinst copies $image from $rootless_image_source to $image_folder" \
      "$(grep -q "$rootless_image_source" "$tree/DEBIAN/postinst" && grep -q "$image_folder" "$tree/DEBIAN/postinst" && grep -q "$image" "$tree/DEBIAN/postinst"; echo $?)"
    check "postrm removes $image on purge" \
      "$(grep -q purge "$tree/DEBIAN/postrm" && grep -q "$image" "$tree/DEBIAN/postrm"; echo $?)"
  done
fi

echo "$deb: $failures failed"
[ "$failures" -eq 0 ]
