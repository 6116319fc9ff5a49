// UIWindow on the native window (native/UIKit/NativeWindow.h).
#include "UIKit/UIWindow.h"

#include "UIKit/UIViewController.h"
#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeView.h"
#include "native/UIKit/NativeWindow.h"

namespace nw = gw::native::window;

// A new native window is hidden already, as the face's starts.
UIWindow::UIWindow(const CGRect& frame) : UIView(frame) {}

std::shared_ptr<UIWindow> UIWindow::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIWindow>(frame);
}

// The last reference takes a window made here off the screen, whoever else (UIKit, a scene)
// still holds the native window.
UIWindow::~UIWindow() {
  if (native_ && ownsNative_) gw::native::view::setHidden(native_, true);
}

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller) {
  if (controller == rootViewController_) return;
  if (rootViewController_ && rootViewController_->isViewLoaded()) {
    const auto& oldView = rootViewController_->view();
    if (oldView->superview().get() == this) oldView->detachFromSuperview();
  }
  rootViewController_ = std::move(controller);
  if (!rootViewController_) {
    nw::setRootViewController(native(), {});
    return;
  }
  const std::shared_ptr<UIView> view = rootViewController_->view();
  view->setFrame(bounds());
  // UIKit puts the controller's view into the window; the face's tree only records it.
  insertIntoTree(view, 0, /*alsoNative=*/false);
  nw::setRootViewController(native(), gw::uikit::Access::nativeController(*rootViewController_));
}

UIWindowLevel UIWindow::windowLevel() const {
  return nw::windowLevel(native());
}

void UIWindow::setWindowLevel(UIWindowLevel level) {
  nw::setWindowLevel(native(), level);
}

void UIWindow::setHidden(bool hidden) {
  if (hidden) {
    UIView::setHidden(true);
  } else {
    nw::show(native());
  }
}

void UIWindow::makeKeyWindow() {
  nw::makeKey(native());
}

void UIWindow::makeKeyAndVisible() {
  nw::makeKeyAndVisible(native());
}

bool UIWindow::isKeyWindow() const {
  return nw::isKey(native());
}

void UIWindow::setAutorotates(bool autorotates) {
  autorotates_ = autorotates;
  nw::setAutorotates(native(), autorotates);
}

void UIWindow::_setSecure(bool secure) {
  secure_ = secure;
  nw::setSecure(native(), secure);
}

std::shared_ptr<UIWindow> UIWindow::valueForKey(std::string_view key) {
  if (key != "keyWindow") return nullptr;
  return gw::uikit::Access::windowForNative(nw::keyWindow());
}
