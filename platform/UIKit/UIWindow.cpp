#include "UIKit/UIWindow.h"

#include "Device/Process.h"
#include "UIKit/UIScreenHardware.h"
#include "UIKit/UIViewController.h"

namespace {
// The process's key window, not owned: a window dropped by everyone stops being key.
ProcessLocal<std::weak_ptr<UIWindow>> keyWindowRecord;
}  // namespace

UIWindow::UIWindow(const CGRect& frame) : UIView(frame) {
  UIView::setHidden(true);
}

std::shared_ptr<UIWindow> UIWindow::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIWindow>(frame);
}

UIWindow::~UIWindow() = default;

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller) {
  if (controller == rootViewController_) return;
  if (rootViewController_ && rootViewController_->isViewLoaded()) {
    const auto& oldView = rootViewController_->view();
    if (oldView->superview().get() == this) oldView->removeFromSuperview();
  }
  rootViewController_ = std::move(controller);
  if (!rootViewController_) return;
  const std::shared_ptr<UIView>& view = rootViewController_->view();
  view->setFrame(bounds());
  insertSubview(view, 0);
}

void UIWindow::setHidden(bool hidden) {
  const bool wasHidden = isHidden();
  UIView::setHidden(hidden);
  if (!wasHidden || hidden) return;
  if (auto self = std::static_pointer_cast<UIWindow>(weak_from_this().lock())) {
    UIScreenHardware::current().windowWasShown(self);
  }
}

void UIWindow::makeKeyWindow() {
  if (auto self = weak_from_this().lock()) {
    keyWindowRecord.get() = std::static_pointer_cast<UIWindow>(self);
  }
}

void UIWindow::makeKeyAndVisible() {
  makeKeyWindow();
  setHidden(false);
}

bool UIWindow::isKeyWindow() const {
  return keyWindowRecord.get().lock().get() == this;
}

std::shared_ptr<UIWindow> UIWindow::valueForKey(std::string_view key) {
  if (key != "keyWindow") return nullptr;
  auto window = keyWindowRecord.get().lock();
  return window && !window->isHidden() ? window : nullptr;
}
