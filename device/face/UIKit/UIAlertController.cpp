// UIAlertController's presentation; its actions are kept by the shared
// platform/UIKit/UIAlertControllerActions.cpp and the native alert is built from them when it is
// presented (see UIKitAccess.cpp).
#include "UIKit/UIAlertController.h"

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
