#include "SpringBoard/HomeScreenState.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Foundation/PropertyList.h"
#include "SpringBoard/InterfaceAutoRotation.h"
#include "UIKit/UIDeviceHardware.h"
#include "UIKit/UIInterfaceOrientation.h"

namespace {

struct DeclaredOrientation {
  const char* name;
  UIInterfaceOrientation orientation;
};

// The order in which an app's Info.plist lists its orientations: the first N are declared.
constexpr std::array<DeclaredOrientation, HomeScreenState::kMaxSupportedOrientationCount>
    kDeclarationOrder = {{
        {"UIInterfaceOrientationPortrait", UIInterfaceOrientationPortrait},
        {"UIInterfaceOrientationLandscapeLeft", UIInterfaceOrientationLandscapeLeft},
        {"UIInterfaceOrientationLandscapeRight", UIInterfaceOrientationLandscapeRight},
        {"UIInterfaceOrientationPortraitUpsideDown", UIInterfaceOrientationPortraitUpsideDown},
    }};

bool isValidBundleIdentifier(std::string_view identifier) {
  if (identifier.empty()) return false;
  for (char c : identifier) {
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  }
  return true;
}

std::uint64_t fnv1a(std::string_view text, std::uint64_t seed) {
  std::uint64_t hash = seed;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

// A stable, UUID-shaped folder name for the app.
std::string bundleFolderUUID(std::string_view identifier) {
  const std::uint64_t high = fnv1a(identifier, 0xcbf29ce484222325ull);
  const std::uint64_t low = fnv1a(identifier, 0x84222325cbf29ce4ull);
  char text[37];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(high >> 32),
                static_cast<unsigned>((high >> 16) & 0xffff), static_cast<unsigned>(high & 0xffff),
                static_cast<unsigned>(low >> 48),
                static_cast<unsigned long long>(low & 0xffffffffffffull));
  return text;
}

std::string bundleName(std::string_view identifier) {
  auto dot = identifier.rfind('.');
  std::string_view last = dot == std::string_view::npos ? identifier : identifier.substr(dot + 1);
  std::string name;
  for (char c : last) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_') {
      name += c;
    }
  }
  return name.empty() ? "App" : name;
}

}  // namespace

HomeScreenState& HomeScreenState::of(Device& device) {
  auto& state = device.service<HomeScreenState>();
  if (!state.device_) state.attach(device);
  return state;
}

HomeScreenState& HomeScreenState::current() {
  return of(Device::current());
}

void HomeScreenState::attach(Device& device) {
  device_ = &device;
  MotionHardware::of(device).addAttitudeObserver([this](const CMAttitude&) { followAttitude(); });
}

std::shared_ptr<SBApplication> HomeScreenState::installApplication(
    const std::string& bundleIdentifier, int supportedOrientationCount) {
  if (!device_ || !isValidBundleIdentifier(bundleIdentifier)) return nullptr;
  if (supportedOrientationCount < 0 || supportedOrientationCount > kMaxSupportedOrientationCount) {
    return nullptr;
  }
  const std::string name = bundleName(bundleIdentifier);
  const std::string bundlePath = std::string(kApplicationsFolder) + "/" +
                                 bundleFolderUUID(bundleIdentifier) + "/" + name + ".app";

  Foundation::Dictionary info{
      {"CFBundleIdentifier", Foundation::Value::string(bundleIdentifier)},
      {"CFBundleName", Foundation::Value::string(name)},
      {"CFBundleExecutable", Foundation::Value::string(name)},
      {"CFBundlePackageType", Foundation::Value::string("APPL")},
  };
  unsigned declared = 0;
  if (supportedOrientationCount > 0) {
    Foundation::Array names;
    for (int i = 0; i < supportedOrientationCount; ++i) {
      names.push_back(Foundation::Value::string(kDeclarationOrder[i].name));
      declared |= 1u << kDeclarationOrder[i].orientation;
    }
    info.set("UISupportedInterfaceOrientations", Foundation::Value::array(std::move(names)));
  }
  const std::string xml =
      Foundation::PropertyList::toXML(Foundation::Value::dictionary(std::move(info)));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(xml.data());
  if (!device_->fileSystem().writeAtomically(bundlePath + "/Info.plist", {bytes, xml.size()})) {
    return nullptr;
  }

  auto app = std::make_shared<SBApplication>(bundleIdentifier, bundlePath, declared);
  bool replaced = false;
  for (auto& existing : apps_) {
    if (existing->bundleIdentifier() == bundleIdentifier) {
      if (front_ == existing) front_ = app;
      existing = app;
      replaced = true;
    }
  }
  if (!replaced) apps_.push_back(app);
  return app;
}

std::shared_ptr<SBApplication> HomeScreenState::application(
    std::string_view bundleIdentifier) const {
  for (const auto& app : apps_) {
    if (app->bundleIdentifier() == bundleIdentifier) return app;
  }
  return nullptr;
}

bool HomeScreenState::setFrontApplication(std::string_view bundleIdentifier,
                                          long long interfaceOrientation) {
  auto app = application(bundleIdentifier);
  if (!app ||
      !UIInterfaceOrientationMaskContains(UIInterfaceOrientationMaskAll, interfaceOrientation)) {
    return false;
  }
  front_ = std::move(app);
  frontOrientation_ = interfaceOrientation;
  return true;
}

void HomeScreenState::showHomeScreen() {
  front_.reset();
  frontOrientation_ = UIInterfaceOrientationPortrait;
}

void HomeScreenState::setOrientationLocked(bool locked, OrientationLockActor by) {
  if (locked == orientationLocked_) return;
  orientationLocked_ = locked;
  if (device_) {
    device_->emit(
        "lock", EventFields{
                    {"on", EventValue::boolean(locked)},
                    {"by", EventValue::string(by == OrientationLockActor::User ? "user" : "tweak")},
                });
  }
  if (!locked) followAttitude();
}

unsigned HomeScreenState::effectiveSupportedOrientations(const SBApplication& app) const {
  if (unsigned declared = app.supportedInterfaceOrientations()) return declared;
  const bool pad =
      device_ && UIDeviceHardware::of(*device_).userInterfaceIdiom() == UIUserInterfaceIdiomPad;
  return pad ? UIInterfaceOrientationMaskAll : UIInterfaceOrientationMaskAllButUpsideDown;
}

void HomeScreenState::followAttitude() {
  if (orientationLocked_ || !front_ || !device_) return;
  frontOrientation_ = InterfaceAutoRotation::nextOrientation(
      frontOrientation_, MotionHardware::of(*device_).attitude(),
      effectiveSupportedOrientations(*front_));
}
