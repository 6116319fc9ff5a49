// The settings banner the simulator installs, as the pane's header loads it.
#include <gtest/gtest.h>

#include "Device/DeviceFileSystem.h"
#include "UIKit/UIImage.h"
#include "sim/PreferenceBundleInstaller.h"
#include "sim/SettingsBannerArtwork.h"
#include "support/ScopedTestDevice.h"

namespace {

TEST(SettingsBannerArtworkTest, InstalledBannerLoadsWhereTheHeaderLooks) {
  ScopedTestDevice device("Preferences");
  std::string error;
  ASSERT_TRUE(sim::SettingsBannerArtwork::install(device.device().fileSystem(), error)) << error;
  auto image =
      UIImage::imageNamed("/var/mobile/Library/Preferences/GyrowhirlPrefs/SettingsBannerGWH.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixelWidth(), sim::SettingsBannerArtwork::kDefaultWidthPixels);
  EXPECT_EQ(image->pixelHeight(), sim::SettingsBannerArtwork::kDefaultHeightPixels);
  EXPECT_NE(image->pixelAt(10, 10) >> 24, 0u);  // an opaque background, not an empty image
  EXPECT_TRUE(sim::SettingsBannerArtwork::bannerPng(0, 10).empty());
}

TEST(SettingsBannerArtworkTest, BundleInstallsFromTheSourceTree) {
  ScopedTestDevice device("Preferences");
  std::string error;
  ASSERT_TRUE(sim::PreferenceBundleInstaller::install(
      device.device(), sim::PreferenceBundleInstaller::builtResourceFolder(),
      sim::PreferenceBundleInstaller::builtModuleFile(), error))
      << error;
  DeviceFileSystem& files = device.device().fileSystem();
  for (const char* name : {"Info.plist", "Root.plist"}) {
    EXPECT_TRUE(files.exists(std::string(sim::PreferenceBundleInstaller::kBundlePath) + "/" + name))
        << name;
  }
  EXPECT_EQ(device.device().libraryLocation("gyrowhirlprefs"),
            sim::PreferenceBundleInstaller::builtModuleFile());
  EXPECT_FALSE(
      sim::PreferenceBundleInstaller::install(device.device(), "/nonexistent/folder", {}, error));
}

}  // namespace
