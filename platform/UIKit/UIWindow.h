// UIKit's window: the root of a view tree shown on the device's screen.
//
// A window starts hidden. It is on screen while it is not hidden and someone still holds it
// (the screen keeps only a weak reference: dropping the last reference takes it off). Windows
// stack by window level, then by the order in which they were shown (the later in front).
// The key window is kept per process, also without owning it.
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

  UIWindowLevel windowLevel() const { return windowLevel_; }
  void setWindowLevel(UIWindowLevel level) { windowLevel_ = level; }

  // Showing a window (hidden → false) puts it on the screen, in front of its level.
  void setHidden(bool hidden) override;
  void makeKeyAndVisible();
  void makeKeyWindow();
  bool isKeyWindow() const;

  // The private setAutorotates: and _setSecure:, recorded for observers (UIViewInspection).
  void setAutorotates(bool autorotates) { autorotates_ = autorotates; }
  void _setSecure(bool secure) { secure_ = secure; }

  // Key-value lookup on the UIWindow class: "keyWindow" gives the current process's key
  // window while it is held and not hidden; every other key gives null.
  static std::shared_ptr<UIWindow> valueForKey(std::string_view key);

 private:
  friend class UIViewInspection;
  std::shared_ptr<UIViewController> rootViewController_;
  UIWindowLevel windowLevel_ = UIWindowLevelNormal;
  bool autorotates_ = true;
  bool secure_ = false;
};
