#include "SpringBoard/SpringBoard.h"

#include "Device/Device.h"
#include "ObjCRuntime/ObjCClassRegistry.h"
#include "ObjCRuntime/runtime.h"
#include "SpringBoard/HomeScreenState.h"

class SpringBoardClassDeclaration {
 public:
  static bool declare() {
    UIApplication::declarePrincipalClass(SpringBoard::kClassName, [] {
      return std::shared_ptr<UIApplication>(std::make_shared<SpringBoard>(Device::current()));
    });
    return ObjCClassRegistry::declareSystemClass(SpringBoard::kClassName, SpringBoard::kClassName,
                                                 &SpringBoard::setUpClass);
  }
};

namespace {
[[maybe_unused]] const bool kDeclared = SpringBoardClassDeclaration::declare();
}  // namespace

SpringBoard::SpringBoard(Device& device) : device_(device.weak_from_this()) {}

void SpringBoard::setUpClass(ObjCClass& cls) {
  cls.addMethod(kDidFinishLaunchingSelector, &SpringBoard::ownApplicationDidFinishLaunching);
}

std::shared_ptr<SBApplication> SpringBoard::_accessibilityFrontMostApplication() const {
  auto device = device_.lock();
  return device ? HomeScreenState::of(*device).frontApplication() : nullptr;
}

bool SpringBoard::isLocked() const {
  auto device = device_.lock();
  return device && HomeScreenState::of(*device).isDeviceLocked();
}

long long SpringBoard::_frontMostAppOrientation() const {
  auto device = device_.lock();
  return device ? HomeScreenState::of(*device).frontApplicationOrientation() : 1;
}

void SpringBoard::applicationDidFinishLaunching(UIApplication* application) {
  auto* implementation = class_getMethodImplementation<DidFinishLaunchingFunction>(
      objc_getClass(kClassName), kDidFinishLaunchingSelector);
  if (!implementation) implementation = &ownApplicationDidFinishLaunching;
  implementation(this, kDidFinishLaunchingSelector, application);
}

void SpringBoard::ownApplicationDidFinishLaunching(SpringBoard* self, SEL, UIApplication*) {
  if (self) self->finishedLaunching_ = true;
}

bool SpringBoard::finishLaunching() {
  auto application = std::dynamic_pointer_cast<SpringBoard>(UIApplication::sharedApplication());
  if (!application) return false;
  application->applicationDidFinishLaunching(application.get());
  return true;
}
