#include "UIKit/UIScreen.h"

#include <algorithm>

#include "Device/Device.h"
#include "Device/Process.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UIWindow.h"

UIScreen& UIScreen::mainScreen() {
  return UIScreenHardware::current();
}

UIScreenHardware& UIScreenHardware::of(Device& device) {
  return device.service<UIScreenHardware>();
}

UIScreenHardware& UIScreenHardware::current() {
  return of(Device::current());
}

void UIScreenHardware::windowWasShown(const std::shared_ptr<UIWindow>& window) {
  if (!window) return;
  std::erase_if(windows_, [&window](const Entry& entry) {
    auto held = entry.window.lock();
    return !held || held == window;
  });
  Entry entry;
  entry.window = window;
  entry.process = Process::current().weak_from_this();
  entry.hasProcess = !entry.process.expired();
  entry.order = nextOrder_++;
  windows_.push_back(std::move(entry));
}

std::vector<UIScreenHardware::VisibleWindow> UIScreenHardware::windowsFrontToBack() {
  std::erase_if(windows_, [](const Entry& entry) { return entry.window.expired(); });
  std::vector<std::pair<std::pair<double, std::uint64_t>, VisibleWindow>> ordered;
  for (const Entry& entry : windows_) {
    VisibleWindow visible{entry.window.lock(), entry.process.lock()};
    if (!visible.window || visible.window->isHidden()) continue;
    if (entry.hasProcess && (!visible.process || !visible.process->isRunning())) continue;
    ordered.push_back({{visible.window->windowLevel(), entry.order}, std::move(visible)});
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<VisibleWindow> result;
  for (auto& item : ordered) result.push_back(std::move(item.second));
  return result;
}
