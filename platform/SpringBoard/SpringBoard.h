// The home-screen application (the principal class of the process named "SpringBoard"), what
// UIApplication::sharedApplication() gives there. Its answers come from the device's
// HomeScreenState.
//
// Launch completion: the simulator boots the home screen by launching the process, loading
// the libraries that are injected into it, then calling SpringBoard::finishLaunching(), which
// sends applicationDidFinishLaunching: to the application object. That operation is
// dispatched through the class "SpringBoard"'s method table, so a hook installed on it (see
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

class Device;

class SpringBoard : public UIApplication {
 public:
  static constexpr const char* kClassName = "SpringBoard";
  static constexpr SEL kDidFinishLaunchingSelector = "applicationDidFinishLaunching:";
  // The signature of applicationDidFinishLaunching:'s implementations.
  using DidFinishLaunchingFunction = void(SpringBoard* self, SEL cmd, UIApplication* application);

  explicit SpringBoard(Device& device);

  // The front-most app, or null while the home screen is shown.
  std::shared_ptr<SBApplication> _accessibilityFrontMostApplication() const;
  // True while the device is locked.
  bool isLocked() const;
  // The front-most app's interface orientation (1 portrait, 2 upside down, 3 landscape right,
  // 4 landscape left); 1 while the home screen is shown.
  long long _frontMostAppOrientation() const;

  // Sends applicationDidFinishLaunching: through the class's method table (the hooked
  // implementation when there is one).
  void applicationDidFinishLaunching(UIApplication* application);
  // True once the class's own implementation has run.
  bool hasFinishedLaunching() const { return finishedLaunching_; }

  // The boot entry: the current process's application object finishes launching. False when
  // the current process is not the home screen's.
  static bool finishLaunching();

 private:
  static void ownApplicationDidFinishLaunching(SpringBoard* self, SEL cmd,
                                               UIApplication* application);
  static void setUpClass(ObjCClass& cls);
  friend class SpringBoardClassDeclaration;

  std::weak_ptr<Device> device_;
  bool finishedLaunching_ = false;
};
