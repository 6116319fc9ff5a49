#include "UIKit/UIViewController.h"

#include "UIKit/UIScreen.h"
#include "UIKit/UIView.h"

UIViewController::UIViewController() = default;

UIViewController::~UIViewController() = default;

const std::shared_ptr<UIView>& UIViewController::view() {
  if (!view_) {
    loadView();
    if (!view_) view_ = std::make_shared<UIView>(UIScreen::mainScreen().bounds());
    viewDidLoad();
  }
  return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
  view_ = std::move(view);
}

void UIViewController::loadView() {
  view_ = std::make_shared<UIView>(UIScreen::mainScreen().bounds());
}
