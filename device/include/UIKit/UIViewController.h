// UIKit's view controller on the device: owns one view, made on first use, and stands for a
// native view controller whose view is that view's native view. The native controller is made
// when UIKit needs it (as a window's root, or presented), or is UIKit's own when the controller
// was made by the system (a settings page).
#pragma once

#include <memory>

#include "native/NativeObject.h"

class UIView;

namespace gw::uikit {
struct Access;
}

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
  friend struct gw::uikit::Access;
  std::shared_ptr<UIView> view_;
  gw::native::Object native_;
};
