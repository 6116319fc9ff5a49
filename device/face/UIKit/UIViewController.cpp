// UIViewController: the face's view, and the native controller showing it (made in
// UIKitAccess.cpp when UIKit needs it).
#include "UIKit/UIViewController.h"

#include "UIKit/UIScreen.h"
#include "UIKit/UIView.h"
#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeViewController.h"

UIViewController::UIViewController() = default;

UIViewController::~UIViewController() = default;

const std::shared_ptr<UIView>& UIViewController::view() {
  if (!view_) {
    loadView();
    if (!view_) setView(std::make_shared<UIView>(UIScreen::mainScreen().bounds()));
    viewDidLoad();
  }
  return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
  view_ = std::move(view);
  if (native_ && view_) {
    gw::native::controller::setView(native_, gw::uikit::Access::nativeView(*view_));
  }
}

void UIViewController::loadView() {
  setView(std::make_shared<UIView>(UIScreen::mainScreen().bounds()));
}
