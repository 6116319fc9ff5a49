// UIAlertController's record of its actions and presentation; the native alert is built from
// it when it is presented (see UIKitAccess.cpp).
#include "UIKit/UIAlertController.h"

#include "UIKit/AlertActionAdmission.h"

std::shared_ptr<UIAlertController> UIAlertController::alertControllerWithTitle(
    std::string title, std::string message, UIAlertControllerStyle preferredStyle) {
  return std::make_shared<UIAlertController>(std::move(title), std::move(message), preferredStyle);
}

bool UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action) {
  if (!action || !gw::uikit::alertAdmitsAction(actions_, *action)) return false;
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
