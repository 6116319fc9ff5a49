#include "sim/DeviceSetup.h"

#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Device/Process.h"
#include "Foundation/NSFileManager.h"
#include "SpringBoard/HomeScreenState.h"
#include "UIKit/UIDeviceHardware.h"
#include "UIKit/UIScreenHardware.h"

namespace sim {
namespace {

// Bytes that no image decoder accepts: a PNG signature cut short, then text.
constexpr std::string_view kCorruptImageBytes = "\x89PNG\r\nthis is not an image at all";

}  // namespace

bool DeviceSetup::apply(Device& device, Process& hand, const Scenario& scenario,
                        const DeviceArtwork& artwork, std::string& error) {
  ProcessScope scope(hand);
  UIScreenHardware::of(device).setBoundsSize(
      CGSizeMake(scenario.screenWidthPoints, scenario.screenHeightPoints));
  UIDeviceHardware::of(device).setUserInterfaceIdiom(
      scenario.idiom == Idiom::Pad ? UIUserInterfaceIdiomPad : UIUserInterfaceIdiomPhone);
  MotionHardware& motion = MotionHardware::of(device);
  motion.setGyroAvailable(scenario.gyroAvailable);
  motion.setDeviceMotionAvailable(scenario.deviceMotionAvailable);

  HomeScreenState& home = HomeScreenState::of(device);
  for (const auto& app : scenario.apps) {
    if (!home.installApplication(app.bundleId, app.orientationCount)) {
      error = scenario.fileName + ":" + std::to_string(app.line) + ": app '" + app.bundleId +
              "' could not be installed on the device";
      return false;
    }
  }

  if (scenario.hasPrefs &&
      !NSDictionary::writeToFile(scenario.prefs, kPreferencesPath, /*atomically=*/true)) {
    error = std::string("cannot write the preferences file ") + kPreferencesPath +
            " under the device root";
    return false;
  }

  DeviceFileSystem& files = device.fileSystem();
  switch (scenario.lockImage) {
    case LockImage::Ok: {
      std::vector<std::uint8_t> png;
      if (artwork.lockImagePng) png = artwork.lockImagePng();
      std::string reason;
      if (png.empty() || !files.writeAtomically(kLockImagePath, png, &reason)) {
        error = std::string("cannot write the lock image ") + kLockImagePath + ": " + reason;
        return false;
      }
      break;
    }
    case LockImage::Missing:
      // The button looks for the folder, not the file: take the folder away.
      if (files.exists(kImageFolder) && !files.remove(kImageFolder, &error)) return false;
      break;
    case LockImage::Corrupt: {
      const auto* begin = reinterpret_cast<const std::uint8_t*>(kCorruptImageBytes.data());
      std::string reason;
      if (!files.writeAtomically(kLockImagePath, std::span(begin, kCorruptImageBytes.size()),
                                 &reason)) {
        error = std::string("cannot write the lock image ") + kLockImagePath + ": " + reason;
        return false;
      }
      break;
    }
  }
  return true;
}

}  // namespace sim
