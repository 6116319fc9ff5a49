// Between the face's UIKit objects and the native ones.
#include "face/UIKit/UIKitAccess.h"

#include "QuartzCore/CALayer.h"
#include "UIKit/UIAlertController.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIImage.h"
#include "UIKit/UITableView.h"
#include "UIKit/UIView.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIWindow.h"
#include "native/UIKit/NativeAlertController.h"
#include "native/UIKit/NativeView.h"
#include "native/UIKit/NativeViewController.h"

namespace gw::uikit {

// A face view of class T standing for a native view UIKit made: it leaves the native view's
// life to UIKit, and is not recorded as the native view's face object (it is made afresh for
// each caller that asks).
template <typename T>
std::shared_ptr<T> Access::standIn(const native::Object& view) {
  auto face = std::make_shared<T>(CGRectZero);
  face->native_ = view;
  face->ownsNative_ = false;
  face->nativeBound_ = true;
  Access::attachLayer(*face->layer_, native::view::layer(view));
  return face;
}

const native::Object& Access::nativeView(const UIView& view) {
  return view.native();
}

std::shared_ptr<UIView> Access::viewForNative(const native::Object& view) {
  if (!view) return nullptr;
  if (auto owner = native::view::ownerOfViewOrAncestor(view.get())) {
    auto face = std::static_pointer_cast<UIView>(owner);
    if (face->native_ == view) return face;
  }
  return standIn<UIView>(view);
}

std::shared_ptr<UIWindow> Access::windowForNative(const native::Object& window) {
  if (!window) return nullptr;
  if (auto owner = native::view::ownerOfViewOrAncestor(window.get())) {
    auto face = std::dynamic_pointer_cast<UIWindow>(std::static_pointer_cast<UIView>(owner));
    if (face && face->native_ == window) return face;
  }
  return standIn<UIWindow>(window);
}

std::shared_ptr<UITableView> Access::tableForNative(const native::Object& table) {
  if (!table) return nullptr;
  if (auto owner = native::view::ownerOfViewOrAncestor(table.get())) {
    auto face = std::dynamic_pointer_cast<UITableView>(std::static_pointer_cast<UIView>(owner));
    if (face && face->native_ == table) return face;
  }
  return standIn<UITableView>(table);
}

const native::Object& Access::nativeController(UIViewController& controller) {
  if (controller.native_) return controller.native_;
  if (auto* alert = dynamic_cast<UIAlertController*>(&controller)) {
    std::weak_ptr<UIAlertController> weakAlert =
        std::static_pointer_cast<UIAlertController>(alert->weak_from_this().lock());
    std::vector<native::alert::Action> actions;
    for (const std::shared_ptr<UIAlertAction>& action : alert->actions()) {
      // UIKit has dismissed the alert when it runs the handler: the presenter hears of it
      // first, so that the handler may present the next alert.
      actions.push_back(
          {action->title(), action->style(), action->isEnabled(), [weakAlert, action] {
             if (auto presented = weakAlert.lock()) presented->dismissedByTap();
             if (action->handler()) action->handler()(*action);
           }});
    }
    controller.native_ = native::alert::make(alert->title(), alert->message(),
                                             alert->preferredStyle(), std::move(actions));
    return controller.native_;
  }
  const std::shared_ptr<UIView> view = controller.view();
  controller.native_ = native::controller::make();
  if (view) native::controller::setView(controller.native_, nativeView(*view));
  return controller.native_;
}

void Access::adoptNativeController(UIViewController& controller, native::Object native) {
  controller.native_ = std::move(native);
}

const native::Object& Access::nativeImage(const UIImage& image) {
  return image.native_;
}

const native::Object& Access::nativeLayer(const CALayer& layer) {
  return layer.native_;
}

void Access::attachLayer(CALayer& layer, native::Object native) {
  layer.attach(std::move(native));
}

const native::Object& Access::nativeRecognizer(const UIGestureRecognizer& recognizer) {
  return recognizer.native();
}

}  // namespace gw::uikit
