// The simulated device's screen, a device service (Device::service<UIScreenHardware>()): what
// UIScreen::mainScreen() gives in every process of the device. The simulator and tests size it
// here.
//
// It also keeps the windows shown on it, from every process, without owning them: a window is
// on screen while it is not hidden and someone still holds it. Touches go to these windows
// front-most first (see UITouchInput), and pictures draw them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "UIKit/UIScreen.h"

class Device;
class Process;
class UIWindow;

class UIScreenHardware final : public UIScreen {
 public:
  UIScreenHardware() = default;

  static UIScreenHardware& of(Device& device);
  // The screen of the current process's device.
  static UIScreenHardware& current();

  void setBoundsSize(CGSize size) { size_ = size; }
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
  std::vector<Entry> windows_;
  std::uint64_t nextOrder_ = 1;
};
