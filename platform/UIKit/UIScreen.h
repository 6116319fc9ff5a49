// The device's screen. A device service (Device::service<UIScreen>()): every process of a
// device sees the same screen, the simulator sets its size, and a change is seen at once by
// the next bounds() call.
//
// The screen also keeps the windows shown on it, from every process, without owning them: a
// window is on screen while it is not hidden and someone still holds it. Touches go to these
// windows front-most first (see UITouchInput).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "CoreGraphics/CGGeometry.h"

class Device;
class Process;
class UIWindow;

class UIScreen {
 public:
  static constexpr CGFloat kDefaultWidthPoints = 375;
  static constexpr CGFloat kDefaultHeightPoints = 667;

  UIScreen() = default;
  UIScreen(const UIScreen&) = delete;
  UIScreen& operator=(const UIScreen&) = delete;

  // The screen of the current process's device.
  static UIScreen& mainScreen();
  static UIScreen& of(Device& device);

  // (0, 0, width, height) in points, for the portrait interface.
  CGRect bounds() const { return CGRectMake(0, 0, size_.width, size_.height); }
  void setBoundsSize(CGSize size) { size_ = size; }
  // Pixels per point.
  CGFloat scale() const { return scale_; }
  void setScale(CGFloat scale) { scale_ = scale; }

  struct VisibleWindow {
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<Process> process;  // the process that showed it; null outside any
  };
  // Called by a window each time it is shown: it goes in front of the windows of its level.
  void windowWasShown(const std::shared_ptr<UIWindow>& window);
  // The windows on screen, front-most first: higher window level first, then the one shown
  // last. Windows of processes that have ended are left out.
  std::vector<VisibleWindow> windowsFrontToBack();

 private:
  struct Entry {
    std::weak_ptr<UIWindow> window;
    std::weak_ptr<Process> process;
    bool hasProcess = false;
    std::uint64_t order = 0;
  };
  CGSize size_{kDefaultWidthPoints, kDefaultHeightPoints};
  CGFloat scale_ = 2;
  std::vector<Entry> windows_;
  std::uint64_t nextOrder_ = 1;
};
