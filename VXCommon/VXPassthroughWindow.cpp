#include "VXCommon/VXPassthroughWindow.h"

#include "UIKit/UIScreen.h"
#include "UIKit/UIViewController.h"
#include "VXCommon/VXFab.h"

std::shared_ptr<VXPassthroughWindow> VXPassthroughWindow::initializeWindow() {
  auto window = std::make_shared<VXPassthroughWindow>(Passkey(), UIScreen::mainScreen().bounds());
  window->setRootViewController(std::make_shared<UIViewController>());
  window->setWindowLevel(kOverlayWindowLevel);
  window->setHidden(false);
  // The overlay does not turn with the interface: the button stays where the user put it.
  window->setAutorotates(false);
  const std::shared_ptr<UIWindow> keyWindow = UIWindow::valueForKey("keyWindow");
  window->setTintColor(keyWindow ? keyWindow->tintColor() : std::nullopt);
  window->_setSecure(true);
  return window;
}

VXPassthroughWindow::VXPassthroughWindow(Passkey, const CGRect& frame) : UIWindow(frame) {}

std::shared_ptr<UIView> VXPassthroughWindow::hitTest(CGPoint point, const UIEvent* event) {
  std::shared_ptr<UIView> view = UIWindow::hitTest(point, event);
  if (dynamic_cast<const VXFab*>(view.get()) != nullptr) return view;
  return nullptr;
}
