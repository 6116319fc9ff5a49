// The settings banner the simulator installs, as the pane's header loads it.
#include <gtest/gtest.h>

#include "CoreGraphics/CGGeometry.h"
#include "Device/DeviceFileSystem.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UITableView.h"
#include "sim/PreferenceBundleInstaller.h"
#include "sim/pictures/SettingsBannerArtwork.h"
#include "sim/pictures/ViewTreePainter.h"
#include "support/ScopedTestDevice.h"

namespace {

bool overlap(const CGRect& a, const CGRect& b) {
  return CGRectGetMinX(a) < CGRectGetMaxX(b) && CGRectGetMinX(b) < CGRectGetMaxX(a) &&
         CGRectGetMinY(a) < CGRectGetMaxY(b) && CGRectGetMinY(b) < CGRectGetMaxY(a);
}

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

// The header's title and subtitle lie over the banner; on every phone width the glyphs, as
// laid out for drawing, stay clear of everything the artwork draws.
TEST(SettingsBannerArtworkTest, HeaderTextStaysClearOfTheArtwork) {
  for (const double screenWidth : {320.0, 375.0, 414.0, 428.0}) {
    SCOPED_TRACE(screenWidth);
    ScopedTestDevice device("Preferences");
    UIScreenHardware::of(device.device()).setBoundsSize(CGSizeMake(screenWidth, 700));
    std::string error;
    ASSERT_TRUE(sim::PreferenceBundleInstaller::install(
        device.device(), sim::PreferenceBundleInstaller::builtResourceFolder(),
        sim::PreferenceBundleInstaller::builtModuleFile(), error))
        << error;
    ASSERT_TRUE(sim::SettingsBannerArtwork::install(device.device().fileSystem(), error)) << error;
    PreferencesPaneHost host(device.device().process(PreferencesPaneHost::kSettingsProcessName),
                             sim::PreferenceBundleInstaller::kBundlePath);
    ASSERT_TRUE(host.open(&error)) << error;
    const auto header = host.rootController()->table()->tableHeaderView();
    ASSERT_TRUE(header);

    std::vector<CGRect> artwork;
    std::vector<CGRect> text;
    for (const auto& view : header->subviews()) {
      const CGRect frame = view->frame();
      if (const auto* banner = dynamic_cast<const UIImageView*>(view.get())) {
        ASSERT_TRUE(banner->image()) << "the header shows no banner";
        for (const auto& area : sim::SettingsBannerArtwork::artworkAreas()) {
          artwork.push_back(CGRectMake(frame.origin.x + area.x * frame.size.width,
                                       frame.origin.y + area.y * frame.size.height,
                                       area.width * frame.size.width,
                                       area.height * frame.size.height));
        }
      } else if (const auto* label = dynamic_cast<const UILabel*>(view.get())) {
        const auto lines = sim::ViewTreePainter::labelInkLines(*label);
        ASSERT_FALSE(lines.empty()) << label->text();
        for (const CGRect& ink : lines) {
          text.push_back(CGRectMake(ink.origin.x + frame.origin.x - label->bounds().origin.x,
                                    ink.origin.y + frame.origin.y - label->bounds().origin.y,
                                    ink.size.width, ink.size.height));
        }
      }
    }
    ASSERT_EQ(text.size(), 3u);  // the title; the subtitle and the credit under it
    ASSERT_FALSE(artwork.empty());
    for (const CGRect& glyphs : text) {
      for (const CGRect& drawn : artwork) {
        EXPECT_FALSE(overlap(glyphs, drawn))
            << "text " << glyphs.origin.x << "," << glyphs.origin.y << " " << glyphs.size.width
            << "x" << glyphs.size.height << " over artwork " << drawn.origin.x << ","
            << drawn.origin.y << " " << drawn.size.width << "x" << drawn.size.height;
      }
    }
  }
}

}  // namespace
