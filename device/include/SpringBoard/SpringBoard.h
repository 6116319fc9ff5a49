// The home-screen application (the principal class of the home-screen process), what
// UIApplication::sharedApplication() gives there, on the system's object.
//
// Its applicationDidFinishLaunching: is hooked with the face's types:
//
//   static void (*previous)(SpringBoard*, SEL, UIApplication*);
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
#include "native/NativeObject.h"

class SpringBoard : public UIApplication {
 public:
  static constexpr const char* kClassName = "SpringBoard";
  static constexpr SEL kDidFinishLaunchingSelector = "applicationDidFinishLaunching:";
  // The signature of applicationDidFinishLaunching:'s implementations.
  using DidFinishLaunchingFunction = void(SpringBoard* self, SEL cmd, UIApplication* application);

  // The process's application object.
  SpringBoard();
  // The system's SpringBoard object `application`.
  explicit SpringBoard(gw::native::Object application);

  // The front-most app, or null while the home screen is shown.
  std::shared_ptr<SBApplication> _accessibilityFrontMostApplication() const;
  // True while the device is locked.
  bool isLocked() const;
  // The front-most app's interface orientation (1 portrait, 2 upside down, 3 landscape right,
  // 4 landscape left).
  long long _frontMostAppOrientation() const;

  // The system's object.
  const gw::native::Object& nativeApplication() const { return application_; }

 private:
  gw::native::Object application_;
};
