// UIKit's window on the device: the root of a view tree, backed by a native UIWindow.
//
// A window starts hidden. Showing it attaches it to the application's active window scene
// first (iOS 13 and later show windows only in a scene). A window made here is on screen while
// it is not hidden and someone still holds it: destroying the last reference hides it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "UIKit/UIView.h"

class UIViewController;

using UIWindowLevel = double;
inline constexpr UIWindowLevel UIWindowLevelNormal = 0;
inline constexpr UIWindowLevel UIWindowLevelStatusBar = 1000;
inline constexpr UIWindowLevel UIWindowLevelAlert = 2000;

class UIWindow : public UIView {
 public:
  UIWindow() : UIWindow(CGRectZero) {}
  explicit UIWindow(const CGRect& frame);
  static std::shared_ptr<UIWindow> initWithFrame(const CGRect& frame);
  ~UIWindow() override;

  std::string className() const override { return "UIWindow"; }

  // The root view controller's view fills the window and lies behind every other subview.
  const std::shared_ptr<UIViewController>& rootViewController() const {
    return rootViewController_;
  }
  void setRootViewController(std::shared_ptr<UIViewController> controller);

  UIWindowLevel windowLevel() const;
  void setWindowLevel(UIWindowLevel level);

  // Showing a window (hidden → false) puts it on the screen, in front of its level.
  void setHidden(bool hidden) override;
  void makeKeyAndVisible();
  void makeKeyWindow();
  bool isKeyWindow() const;

  // The private setAutorotates: and _setSecure:, passed on when the native window has them.
  bool autorotates() const { return autorotates_; }
  void setAutorotates(bool autorotates);
  bool isSecure() const { return secure_; }
  void _setSecure(bool secure);

  // Key-value lookup on the UIWindow class: "keyWindow" gives the application's key window
  // (standing for UIKit's when it is not one made here); every other key gives null.
  static std::shared_ptr<UIWindow> valueForKey(std::string_view key);

 private:
  std::shared_ptr<UIViewController> rootViewController_;
  bool autorotates_ = true;
  bool secure_ = false;
};
