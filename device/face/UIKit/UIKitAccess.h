// The device face's way between its UIKit / QuartzCore objects and the native ones they stand
// for, for the adapter's own files (these classes, the preference pane's): a face object's
// native object, and a face object standing for a native one that UIKit made. Not for the
// product.
#pragma once

#include <memory>

#include "native/NativeObject.h"

class CALayer;
class UIGestureRecognizer;
class UIImage;
class UITableView;
class UIView;
class UIViewController;
class UIWindow;

namespace gw::uikit {

struct Access {
  // The native view of `view`, made on first use.
  static const native::Object& nativeView(const UIView& view);
  // The face view `view` stands for: the one that made it, else a new face object of the
  // matching class (UIWindow, UITableView, UIView) standing for it without owning its life.
  // Null for an empty Object.
  static std::shared_ptr<UIView> viewForNative(const native::Object& view);
  static std::shared_ptr<UIWindow> windowForNative(const native::Object& window);
  static std::shared_ptr<UITableView> tableForNative(const native::Object& table);

  // The native controller of `controller`, made on first use: a UIAlertController built from
  // an alert's title, message and actions, else a plain UIViewController showing the face
  // controller's view (loaded first).
  static const native::Object& nativeController(UIViewController& controller);
  // Makes `controller` stand for a native controller UIKit made (a settings page).
  static void adoptNativeController(UIViewController& controller, native::Object native);

  static const native::Object& nativeImage(const UIImage& image);
  static const native::Object& nativeLayer(const CALayer& layer);
  static void attachLayer(CALayer& layer, native::Object native);
  static const native::Object& nativeRecognizer(const UIGestureRecognizer& recognizer);

 private:
  template <typename T>
  static std::shared_ptr<T> standIn(const native::Object& view);
};

}  // namespace gw::uikit
