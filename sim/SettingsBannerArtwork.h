// Draws the settings pane's header banner, "SettingsBannerGWH.png": a dark gradient with a
// phone turning from portrait to landscape. The simulator installs it into the preferences
// image folder of a fresh device, where the pane's header loads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DeviceFileSystem;

namespace sim {

class SettingsBannerArtwork {
 public:
  static constexpr const char* kBannerPath =
      "/var/mobile/Library/Preferences/GyrowhirlPrefs/SettingsBannerGWH.png";
  // The banner fills a 375 × 150 point strip at 2 pixels per point.
  static constexpr int kDefaultWidthPixels = 750;
  static constexpr int kDefaultHeightPixels = 300;

  // A PNG of the given size; empty when a side is not positive or drawing fails.
  static std::vector<std::uint8_t> bannerPng(int widthPixels = kDefaultWidthPixels,
                                             int heightPixels = kDefaultHeightPixels);
  // Writes the banner to kBannerPath. False with a reason in `error`.
  static bool install(DeviceFileSystem& files, std::string& error);
};

}  // namespace sim
