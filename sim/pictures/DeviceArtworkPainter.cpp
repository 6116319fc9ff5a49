#include "sim/pictures/DeviceArtworkPainter.h"

#include "Device/DeviceFileSystem.h"
#include "sim/pictures/LockImagePainter.h"
#include "sim/pictures/SettingsBannerArtwork.h"

namespace sim {

DeviceArtwork DeviceArtworkPainter::artwork() {
  DeviceArtwork artwork;
  artwork.lockImagePng = [] { return LockImagePainter::padlockPng(); };
  artwork.installSettingsBanner = [](DeviceFileSystem& files, std::string& error) {
    if (files.exists(SettingsBannerArtwork::kBannerPath)) return true;
    return SettingsBannerArtwork::install(files, error);
  };
  return artwork;
}

}  // namespace sim
