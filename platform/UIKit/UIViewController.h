// UIKit's view controller: owns one view, made on first use.
#pragma once

#include <memory>

class UIView;

class UIViewController : public std::enable_shared_from_this<UIViewController> {
 public:
  UIViewController();
  virtual ~UIViewController();
  UIViewController(const UIViewController&) = delete;
  UIViewController& operator=(const UIViewController&) = delete;

  // The controller's view; the first call loads it (loadView, then viewDidLoad).
  const std::shared_ptr<UIView>& view();
  void setView(std::shared_ptr<UIView> view);
  bool isViewLoaded() const { return view_ != nullptr; }

  // Makes the view; the default is a plain view as large as the main screen.
  virtual void loadView();
  virtual void viewDidLoad() {}

 private:
  std::shared_ptr<UIView> view_;
};
