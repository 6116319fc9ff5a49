// UIAlertController's record of its actions and presentation; the native alert is built from
// it when it is presented (see UIKitAccess.cpp).
#include "UIKit/UIAlertController.h"

#include <algorithm>

std::shared_ptr<UIAlertAction> UIAlertAction::actionWithTitle(std::string title,
                                                              UIAlertActionStyle style,
                                                              Handler handler) {
  return std::make_shared<UIAlertAction>(std::move(title), style, std::move(handler));
}

std::shared_ptr<UIAlertController> UIAlertController::alertControllerWithTitle(
    std::string title, std::string message, UIAlertControllerStyle preferredStyle) {
  return std::make_shared<UIAlertController>(std::move(title), std::move(message), preferredStyle);
}

bool UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action) {
  if (!action) return false;
  if (action->style() == UIAlertActionStyleCancel &&
      std::any_of(actions_.begin(), actions_.end(), [](const auto& existing) {
        return existing->style() == UIAlertActionStyleCancel;
      })) {
    return false;
  }
  actions_.push_back(action);
  return true;
}

void UIAlertController::didPresent(std::function<void()> dismiss) {
  presented_ = true;
  dismiss_ = std::move(dismiss);
}

void UIAlertController::didDismiss() {
  presented_ = false;
  dismiss_ = nullptr;
}

void UIAlertController::dismissedByTap() {
  if (!presented_) return;
  presented_ = false;
  std::function<void()> dismiss = std::move(dismiss_);
  dismiss_ = nullptr;
  if (dismiss) dismiss();
}
