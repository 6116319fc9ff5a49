// The home screen's view of the device, a device service that the simulator and tests set
// (the state survives a respring, as the device's does): the installed apps, the front-most
// app and its interface orientation, the device lock, and the user's orientation lock. The
// home-screen process's objects (SpringBoard, SBOrientationLockManager) read and change it.
//
// Auto-rotation: while the orientation lock is off, the front-most app follows the device's
// physical attitude (MotionHardware) by InterfaceAutoRotation's rule, limited to the
// orientations the app supports. The rule is evaluated whenever the attitude changes and when
// the lock goes off; while the lock is on, the app stays where it is. The home screen itself
// (no app in front) does not turn.
//
// The device's idiom, which decides the default orientations of an app that declares none,
// is UIDevice's (UIKit/UIDevice.h); the attitude is MotionHardware's (CoreMotion/).
//
// Events: every change of the orientation lock is emitted as device event "lock" with "on"
// (boolean) and "by" ("user" or "tweak").
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "SpringBoard/SBApplication.h"

class Device;

enum class OrientationLockActor { User, Tweak };

class HomeScreenState {
 public:
  static constexpr const char* kApplicationsFolder = "/var/containers/Bundle/Application";
  static constexpr int kMaxSupportedOrientationCount = 4;

  // The service of `device` / of the current process's device.
  static HomeScreenState& of(Device& device);
  static HomeScreenState& current();

  // ---- installed apps ----------------------------------------------------------------------
  // Installs (or reinstalls) an app: writes its bundle folder
  // "/var/containers/Bundle/Application/<UUID>/<Name>.app" with an XML Info.plist
  // (CFBundleIdentifier, CFBundleName, CFBundleExecutable, CFBundlePackageType and, when
  // `supportedOrientationCount` N > 0, "UISupportedInterfaceOrientations" listing the first N
  // of portrait, landscape left, landscape right, upside down). N = 0 leaves the key out; such
  // an app turns to every orientation but upside down on a phone, to all four on a pad. The
  // UUID is derived from the bundle identifier, so reinstalling reuses the folder; <Name> is
  // the identifier's last dot-separated part, limited to letters, digits, "-" and "_".
  // Returns null, installing nothing, for an empty identifier, one with "/" or a control
  // character, N outside 0...4, or a failed write.
  std::shared_ptr<SBApplication> installApplication(const std::string& bundleIdentifier,
                                                    int supportedOrientationCount = 4);
  // The installed app, or null.
  std::shared_ptr<SBApplication> application(std::string_view bundleIdentifier) const;
  // The UIInterfaceOrientationMask the app turns to: what its Info.plist declares, else every
  // orientation but upside down on a phone and all four on a pad.
  unsigned effectiveSupportedOrientations(const SBApplication& app) const;
  // In order of first installation.
  const std::vector<std::shared_ptr<SBApplication>>& applications() const { return apps_; }

  // ---- front-most app ----------------------------------------------------------------------
  // Brings the installed app to the front with the interface orientation given (1-4). False,
  // changing nothing, when the app is not installed or the orientation is not 1-4.
  bool setFrontApplication(std::string_view bundleIdentifier, long long interfaceOrientation = 1);
  // No app in front: the home screen is shown.
  void showHomeScreen();
  std::shared_ptr<SBApplication> frontApplication() const { return front_; }
  // The front app's interface orientation; 1 (portrait) when the home screen is shown.
  long long frontApplicationOrientation() const { return front_ ? frontOrientation_ : 1; }

  // ---- device lock -------------------------------------------------------------------------
  void setDeviceLocked(bool locked) { deviceLocked_ = locked; }
  bool isDeviceLocked() const { return deviceLocked_; }

  // ---- orientation lock (off by default) -----------------------------------------------------
  bool isOrientationLocked() const { return orientationLocked_; }
  // Emits "lock" when the state changes; turning it off lets the front app follow the device.
  void setOrientationLocked(bool locked, OrientationLockActor by);

 private:
  void attach(Device& device);
  void followAttitude();

  Device* device_ = nullptr;  // the service lives inside its device
  std::vector<std::shared_ptr<SBApplication>> apps_;
  std::shared_ptr<SBApplication> front_;
  long long frontOrientation_ = 1;
  bool deviceLocked_ = false;
  bool orientationLocked_ = false;
};
