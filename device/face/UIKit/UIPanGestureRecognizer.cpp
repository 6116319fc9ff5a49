// UIPanGestureRecognizer's translation on the native pan recogniser
// (native/UIKit/NativeGestureRecognizer.h).
#include "UIKit/UIPanGestureRecognizer.h"

#include "UIKit/UIView.h"
#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeGestureRecognizer.h"

UIPanGestureRecognizer::UIPanGestureRecognizer(PanAction action) {
  if (!action) return;
  addTarget([action = std::move(action)](UIGestureRecognizer& recognizer) {
    action(static_cast<UIPanGestureRecognizer&>(recognizer));
  });
}

CGPoint UIPanGestureRecognizer::translationInView(const std::shared_ptr<UIView>& view) const {
  const gw::native::Point t = gw::native::gesture::translationInView(
      gw::uikit::Access::nativeRecognizer(*this),
      view ? gw::uikit::Access::nativeView(*view) : gw::native::Object());
  return {t.x, t.y};
}

void UIPanGestureRecognizer::setTranslation(CGPoint translation,
                                            const std::shared_ptr<UIView>& view) {
  gw::native::gesture::setTranslation(
      gw::uikit::Access::nativeRecognizer(*this), {translation.x, translation.y},
      view ? gw::uikit::Access::nativeView(*view) : gw::native::Object());
}
