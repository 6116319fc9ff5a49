#include "UIKit/UIAlertController.h"

#include <algorithm>

#include "Device/Device.h"
#include "Device/Process.h"

void UIAlertController::didPresent(std::function<void()> dismiss) {
  presented_ = true;
  dismiss_ = std::move(dismiss);
  EventValue::List titles;
  for (const auto& action : actions_) titles.push_back(EventValue::string(action->title()));
  Process::current().device().emit("alert",
                                   EventFields{{"title", EventValue::string(title_)},
                                               {"message", EventValue::string(message_)},
                                               {"actions", EventValue::list(std::move(titles))}});
}

void UIAlertController::didDismiss() {
  presented_ = false;
  dismiss_ = nullptr;
}

bool UIAlertController::tapActionWithTitle(std::string_view title) {
  if (!presented_) return false;
  auto it = std::find_if(actions_.begin(), actions_.end(), [title](const auto& action) {
    return action->title() == title && action->isEnabled();
  });
  if (it == actions_.end()) return false;
  // Kept alive across the dismissal, which may release the presenter's last reference.
  std::shared_ptr<UIAlertAction> action = *it;
  std::shared_ptr<UIViewController> keepAlive = weak_from_this().lock();
  presented_ = false;
  std::function<void()> dismiss = std::move(dismiss_);
  dismiss_ = nullptr;
  if (dismiss) dismiss();
  if (action->handler()) action->handler()(*action);
  return true;
}
