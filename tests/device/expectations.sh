# What the inspection checks expect of the device build: one place to edit.
# Sourced by inspect-binary.sh and inspect-package.sh.

# Objective-C classes each deliverable defines, as RUNTIME_NAME:SUPERCLASS. The runtime names
# are those the platform looks up (the menu entry, the "Root" resource) or the product's own
# class names.
library_classes=(VXFab:UIButton VXPassthroughWindow:UIWindow)
bundle_classes=(VXPRootListController:PSListController
                VXPApplicationsController:ATLApplicationListSubcontrollerController)

# The libraries an undefined symbol may be bound to (llvm-nm's short names).
library_dylibs=(Foundation CoreFoundation UIKit QuartzCore CoreGraphics CoreMotion libobjc
                libSystem libc++ CydiaSubstrate)
bundle_dylibs=("${library_dylibs[@]}" Preferences AltList)

# Install names, by layout.
library_install_name_rootful=/Library/MobileSubstrate/DynamicLibraries/Gyrowhirl.dylib
library_install_name_rootless=@rpath/Gyrowhirl.dylib
framework_prefix_rootful=/Library/Frameworks
framework_prefix_rootless=@rpath
rootless_rpaths=(/var/jb/Library/Frameworks /var/jb/usr/lib
                 @loader_path/.jbroot/Library/Frameworks @loader_path/.jbroot/usr/lib)

# The package.
package_name=com.gyrowhirl.gyrowhirl
package_depends="mobilesubstrate (>= 0.9.5000), preferenceloader, com.opa334.altlist"
architecture_rootful=iphoneos-arm
architecture_rootless=iphoneos-arm64
prefix_rootful=
prefix_rootless=/var/jb
image_folder=/var/mobile/Library/Preferences/GyrowhirlPrefs
# Regular files of the package, below its layout's prefix.
package_files=(
  Library/MobileSubstrate/DynamicLibraries/Gyrowhirl.dylib
  Library/MobileSubstrate/DynamicLibraries/Gyrowhirl.plist
  Library/PreferenceBundles/gyrowhirlprefs.bundle/gyrowhirlprefs
  Library/PreferenceBundles/gyrowhirlprefs.bundle/Info.plist
  Library/PreferenceBundles/gyrowhirlprefs.bundle/Root.plist
  Library/PreferenceBundles/gyrowhirlprefs.bundle/SettingsBannerGWH.png
  Library/PreferenceBundles/gyrowhirlprefs.bundle/icon.png
  Library/PreferenceBundles/gyrowhirlprefs.bundle/icon@2x.png
  Library/PreferenceBundles/gyrowhirlprefs.bundle/icon@3x.png
  Library/PreferenceLoader/Preferences/gyrowhirlprefs.plist
)
# The images the product reads from the image folder.
images=(lock.png SettingsBannerGWH.png)
# Where the rootless package ships them before its postinst copies them out.
rootless_image_source=/var/jb/usr/share/gyrowhirl/GyrowhirlPrefs
