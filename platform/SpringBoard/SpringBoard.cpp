#include "SpringBoard/SpringBoard.h"

#include "Device/Device.h"
#include "ObjCRuntime/ObjCClassRegistry.h"
#include "ObjCRuntime/SystemClassDeclaration.h"
#include "ObjCRuntime/runtime.h"
#include "SpringBoard/HomeScreenState.h"
#include "SpringBoard/SimulatedSpringBoard.h"
#include "UIKit/UIApplicationSimulation.h"

class SpringBoardClassDeclaration {
 public:
  static bool declare() {
    UIApplicationSimulation::declarePrincipalClass(SpringBoard::kClassName, [] {
      return std::shared_ptr<UIApplication>(
          std::make_shared<SimulatedSpringBoard>(Device::current()));
    });
    return declareSystemClass(SpringBoard::kClassName, SpringBoard::kClassName,
                              &SimulatedSpringBoard::setUpClass);
  }
};

namespace {
[[maybe_unused]] const bool kDeclared = SpringBoardClassDeclaration::declare();
}  // namespace

SimulatedSpringBoard::SimulatedSpringBoard(Device& device) : device_(device.weak_from_this()) {}

void SimulatedSpringBoard::setUpClass(ObjCClass& cls) {
  cls.addMethod(kDidFinishLaunchingSelector, &ownApplicationDidFinishLaunching);
}

std::shared_ptr<SBApplication> SimulatedSpringBoard::_accessibilityFrontMostApplication() const {
  auto device = device_.lock();
  return device ? HomeScreenState::of(*device).frontApplication() : nullptr;
}

bool SimulatedSpringBoard::isLocked() const {
  auto device = device_.lock();
  return device && HomeScreenState::of(*device).isDeviceLocked();
}

long long SimulatedSpringBoard::_frontMostAppOrientation() const {
  auto device = device_.lock();
  return device ? HomeScreenState::of(*device).frontApplicationOrientation() : 1;
}

void SpringBoard::applicationDidFinishLaunching(UIApplication* application) {
  auto* implementation = class_getMethodImplementation<DidFinishLaunchingFunction>(
      objc_getClass(kClassName), kDidFinishLaunchingSelector);
  if (!implementation) implementation = &SimulatedSpringBoard::ownApplicationDidFinishLaunching;
  implementation(this, kDidFinishLaunchingSelector, application);
}

void SimulatedSpringBoard::ownApplicationDidFinishLaunching(SpringBoard* self, SEL,
                                                            UIApplication*) {
  if (auto* simulated = dynamic_cast<SimulatedSpringBoard*>(self)) {
    simulated->finishedLaunching_ = true;
  }
}

bool SimulatedSpringBoard::finishLaunching() {
  auto application = std::dynamic_pointer_cast<SpringBoard>(UIApplication::sharedApplication());
  if (!application) return false;
  application->applicationDidFinishLaunching(application.get());
  return true;
}
