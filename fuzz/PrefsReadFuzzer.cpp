// The preferences read as the running tweak makes it: the input is the whole preferences file;
// it is written to the device, read by readPrefs() (file bytes -> typed dictionary), broadcast
// to the tweak manager, the alert helper and the button class, and then a suggestion is put up
// and taken down with whatever appearance the file gave (colour, size, origin, feedback style,
// animation), so the consumers' handling of every converted value is exercised too.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "CoreGraphics/CGGeometry.h"
#include "Device/DeviceFileSystem.h"
#include "FuzzDevice.h"
#include "SpringBoard/SimulatedSpringBoard.h"
#include "VXCommon/VXAlertHelper.h"
#include "VXCommon/VXFab.h"
#include "VXCommon/VXPrefsLoader.h"
#include "VXCommon/VXTweakManager.h"

namespace {

FuzzDevice* device = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  device = new FuzzDevice("SpringBoard");
  if (!device->process().loadLibrary("Gyrowhirl") || !SimulatedSpringBoard::finishLaunching())
    std::abort();
  // Past the first broadcast, 2 s after load: from now on every read posts at once.
  device->device().runFor(2.5);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  device->device().fileSystem().writeAtomically(VXPrefsLoader::kPrefsPath,
                                                std::span<const std::uint8_t>(data, size));
  readPrefs();

  const std::shared_ptr<VXTweakManager> manager = VXTweakManager::sharedInstance();
  const double interval = manager->fabDisappearInterval();
  if (std::isnan(interval)) __builtin_trap();
  const std::shared_ptr<VXAlertHelper> alert = manager->alertHelper();
  alert->displayAlertWithBlock([] {});
  alert->resetState();
  // Let the fade-in's work run, then leave nothing behind for the next input.
  device->device().runFor(0.3);
  alert->resetState();
  return 0;
}
