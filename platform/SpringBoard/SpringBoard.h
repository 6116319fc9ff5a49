// The home-screen application (the principal class of the process named "SpringBoard"), what
// UIApplication::sharedApplication() gives there. On the simulated device it is a
// SimulatedSpringBoard, answering from the device's HomeScreenState.
//
// Launch completion: once the libraries injected into the home screen are loaded, the
// application object is sent applicationDidFinishLaunching:. That operation is dispatched
// through the class "SpringBoard"'s method table, so a hook installed on it (see
// CydiaSubstrate/CydiaSubstrate.h) runs instead of the class's own implementation:
//
//   static void (*previous)(SpringBoard*, SEL, UIApplication*);   // per process in practice
//   static void replacement(SpringBoard* self, SEL cmd, UIApplication* application) {
//     previous(self, cmd, application);  // the home screen finishes launching first
//     ...
//   }
//   MSHookMessageEx(objc_getClass("SpringBoard"), SpringBoard::kDidFinishLaunchingSelector,
//                   &replacement, &previous);
#pragma once

#include <memory>

#include "ObjCRuntime/objc.h"
#include "SpringBoard/SBApplication.h"
#include "UIKit/UIApplication.h"

class SpringBoard : public UIApplication {
 public:
  static constexpr const char* kClassName = "SpringBoard";
  static constexpr SEL kDidFinishLaunchingSelector = "applicationDidFinishLaunching:";
  // The signature of applicationDidFinishLaunching:'s implementations.
  using DidFinishLaunchingFunction = void(SpringBoard* self, SEL cmd, UIApplication* application);

  // The front-most app, or null while the home screen is shown.
  virtual std::shared_ptr<SBApplication> _accessibilityFrontMostApplication() const = 0;
  // True while the device is locked.
  virtual bool isLocked() const = 0;
  // The front-most app's interface orientation (1 portrait, 2 upside down, 3 landscape right,
  // 4 landscape left); 1 while the home screen is shown.
  virtual long long _frontMostAppOrientation() const = 0;

  // Sends applicationDidFinishLaunching: through the class's method table (the hooked
  // implementation when there is one).
  void applicationDidFinishLaunching(UIApplication* application);

 protected:
  SpringBoard() = default;
};
