// Draws the settings pane's header banner, "SettingsBannerGWH.png": a dark gradient with a
// phone turning from portrait to landscape, drawn clear of where the header's title and
// subtitle lie over it. The simulator installs it into the preferences
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

  // A rectangle as fractions of the picture's width and height (0..1 from the top left).
  struct Area {
    double x = 0, y = 0, width = 0, height = 0;
  };
  // Where the artwork draws; the rest of the banner is its plain background.
  static std::vector<Area> artworkAreas();

  // A PNG of the given size; empty when a side is not positive or drawing fails.
  static std::vector<std::uint8_t> bannerPng(int widthPixels = kDefaultWidthPixels,
                                             int heightPixels = kDefaultHeightPixels);
  // Writes the banner to kBannerPath. False with a reason in `error`.
  static bool install(DeviceFileSystem& files, std::string& error);
};

}  // namespace sim
