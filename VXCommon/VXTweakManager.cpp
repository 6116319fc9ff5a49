// The tweak manager.
#include "VXCommon/VXTweakManager.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "Device/Process.h"
#include "Foundation/NSBundle.h"
#include "SpringBoard/SBApplication.h"
#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIDevice.h"
#include "VXCommon/VXLogger.h"

namespace {

constexpr const char* kPanStartNotification = "VXFab_Pan_Start";
constexpr const char* kPanEndNotification = "VXFab_Pan_End";
constexpr const char* kPrefsUpdatedNotification = "VXPREFSUPDATED";
constexpr std::string_view kFileURLScheme = "file://";
constexpr std::string_view kSupportedOrientationsKey = "UISupportedInterfaceOrientations";
constexpr std::string_view kQuitFormat = "quiting state: disabled %d, locked %d, topapp %d";

// The current process's slot for its manager; empty until the first sharedInstance().
std::shared_ptr<VXTweakManager>& managerOfProcess();

// The process's home-screen application object, or null outside the home-screen process.
std::shared_ptr<SpringBoard> homeScreenApplication() {
  return std::dynamic_pointer_cast<SpringBoard>(UIApplication::sharedApplication());
}

}  // namespace

std::shared_ptr<VXTweakManager> VXTweakManager::sharedInstance() {
  std::shared_ptr<VXTweakManager>& manager = managerOfProcess();
  if (!manager) manager = init();
  return manager;
}

VXTweakManager::VXTweakManager(Passkey) : process_(Process::current().weak_from_this()) {}

VXTweakManager::~VXTweakManager() {
  if (auto process = process_.lock()) NSNotificationCenter::of(*process).removeObserver(this);
}

std::shared_ptr<VXTweakManager> VXTweakManager::init() {
  VX_LOG(49, "-[VXTweakManager init]", "VXTweakManager initialized");
  auto manager = std::make_shared<VXTweakManager>(Passkey());
  manager->alertHelper_ = VXAlertHelper::init();
  manager->motionHelper_ = VXMotionHelper::initWithDelegate(manager);
  // Held weakly: the centre does not own its observers.
  std::weak_ptr<VXTweakManager> weakManager = manager;
  auto observe = [&](const char* name, void (VXTweakManager::*handler)(const NSNotification&)) {
    auto forward = [weakManager, handler](const NSNotification& notification) {
      if (auto self = weakManager.lock()) ((*self).*handler)(notification);
    };
    NSNotificationCenter::defaultCenter().addObserver(manager.get(), forward, name);
  };
  observe(kPanStartNotification, &VXTweakManager::fabButtonPanStart);
  observe(kPanEndNotification, &VXTweakManager::fabButtonPanEnd);
  observe(kPrefsUpdatedNotification, &VXTweakManager::preferencesUpdated);
  return manager;
}

void VXTweakManager::preferencesUpdated(const NSNotification& notification) {
  const Foundation::Dictionary* prefs = notification.object.dictionaryValue();
  const Foundation::Value enabled = prefs ? prefs->valueForKey("IsEnabled") : Foundation::Value();
  isTweakDisabled_ = (enabled.isNumber() || enabled.isString()) && !enabled.boolValue();
  const float interval = prefs ? prefs->valueForKey("DisappearInterval").floatValue() : 0.0f;
  const bool noTime = interval == 0.0f || std::isnan(interval);  // NaN names no time: as 0
  fabDisappearInterval_ = noTime ? kFallbackDisappearIntervalSeconds : double{interval};
  const auto apps = prefs ? prefs->valueForKey("BlacklistedApps") : Foundation::Value();
  blacklistedApps_ = apps.arrayValue() ? *apps.arrayValue() : Foundation::Array();
  VX_LOG(76, "-[VXTweakManager preferencesUpdated:]", "VXTweakManager prefs updated");
}

void VXTweakManager::run() {
  if (motionHelper_) motionHelper_->run();
}

void VXTweakManager::orientationChanged(std::uint64_t orientation) {
  if (shouldQuit()) {
    resetState();
    return;
  }
  const bool userLocked = motionHelper_ && motionHelper_->isDeviceOrientationLocked();
  if (userLocked && orientation == kLandscape) {
    if (alertHelper_) {
      // The accept callback keeps the manager alive while the suggestion is on screen.
      alertHelper_->displayAlertWithBlock([self = shared_from_this()] {
        if (self->motionHelper_) self->motionHelper_->unlockDeviceOrientation();
        self->isTweakUnlockedDeviceOrientation_ = true;
        self->endTimer();
      });
    }
    // Started even when the alert helper ignores the request (a button is already shown).
    startTimer();
  } else if (userLocked) {
    resetState();
  } else if (orientation == kPortrait && isTweakUnlockedDeviceOrientation_) {
    resetTweakEffect();
  }
}

bool VXTweakManager::isAppSupportOnlyPortrait(const SBApplication& application) {
  std::string path = application.info() ? application.info()->installInstanceID() : "";
  // Every occurrence, in one left-to-right pass, as stringByReplacingOccurrencesOfString does.
  for (std::size_t at = path.find(kFileURLScheme); at != std::string::npos;
       at = path.find(kFileURLScheme, at)) {
    path.erase(at, kFileURLScheme.size());
  }
  const std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithPath(path);
  if (UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiomPad) return false;
  if (!bundle) return false;
  const Foundation::Value* orientations = bundle->infoDictionary().find(kSupportedOrientationsKey);
  if (!orientations) return false;
  // Only the count matters; a declaration that is not a list counts as absent.
  const Foundation::Array* list = orientations->arrayValue();
  return list && list->size() == 1;
}

bool VXTweakManager::shouldQuit() {
  // While this system has lifted the lock, every report is processed, whatever is in front.
  if (isTweakUnlockedDeviceOrientation_) return false;
  const std::shared_ptr<SpringBoard> springBoard = homeScreenApplication();
  const std::shared_ptr<SBApplication> front =
      springBoard ? springBoard->_accessibilityFrontMostApplication() : nullptr;
  const bool locked = springBoard && springBoard->isLocked();
  const long long interfaceOrientation = springBoard ? springBoard->_frontMostAppOrientation() : 0;
  if (isTweakDisabled_ || !front || locked ||
      interfaceOrientation != kPortraitInterfaceOrientation) {
    // The interface orientation is not in the message: when it alone fails, all three are 0.
    VX_LOG(135, "-[VXTweakManager shouldQuit]", kQuitFormat, isTweakDisabled_, locked, !front);
    return true;
  }
  const std::string& bundleIdentifier = front->bundleIdentifier();
  const bool portraitOnly = isAppSupportOnlyPortrait(*front);
  const bool blacklisted =
      std::any_of(blacklistedApps_.begin(), blacklistedApps_.end(), [&](const auto& entry) {
        const std::string* identifier = entry.stringValue();
        return identifier && *identifier == bundleIdentifier;
      });
  return portraitOnly || blacklisted;
}

void VXTweakManager::fabButtonPanStart(const NSNotification&) {
  endTimer();
}

// Always a full new interval, also when no timer ran before the drag.
void VXTweakManager::fabButtonPanEnd(const NSNotification&) {
  restartTimer();
}

void VXTweakManager::startTimer() {
  endTimer();
  timer_ = NSTimer::scheduledTimerWithTimeInterval(
      fabDisappearInterval_, shared_from_this(), &VXTweakManager::tick, Foundation::Value(), false);
}

void VXTweakManager::endTimer() {
  if (!timer_) return;
  timer_->invalidate();
  timer_.reset();
}

void VXTweakManager::restartTimer() {
  endTimer();
  startTimer();
}

void VXTweakManager::tick(NSTimer&) {
  resetState();
}

void VXTweakManager::resetState() {
  endTimer();
  if (alertHelper_) alertHelper_->dismissAlert();
  isTweakUnlockedDeviceOrientation_ = false;
}

void VXTweakManager::resetTweakEffect() {
  resetState();
  if (motionHelper_) motionHelper_->lockDeviceOrientation();
}

namespace {

// A suggestion's accept callback and the disappear timer hold the manager, so when the process
// ends both are dropped first: otherwise the manager would keep itself alive past its process.
struct ManagerSlot {
  std::shared_ptr<VXTweakManager> manager;
  ~ManagerSlot() {
    if (!manager) return;
    manager->endTimer();
    if (manager->alertHelper()) manager->alertHelper()->resetState();
  }
};
const ProcessLocal<ManagerSlot> managerSlotOfProcess;

std::shared_ptr<VXTweakManager>& managerOfProcess() {
  return managerSlotOfProcess->manager;
}

}  // namespace
