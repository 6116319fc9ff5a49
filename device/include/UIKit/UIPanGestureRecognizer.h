// UIKit's pan (drag) recogniser on the device: UIKit delivers a drag as began, changed, then
// ended or cancelled. The translation is the native recogniser's: it accumulates from the start
// of the drag until someone sets it back with setTranslation.
#pragma once

#include <functional>
#include <memory>

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIGestureRecognizer.h"

class UIPanGestureRecognizer : public UIGestureRecognizer {
 public:
  using PanAction = std::function<void(UIPanGestureRecognizer&)>;

  UIPanGestureRecognizer() = default;
  explicit UIPanGestureRecognizer(PanAction action);
  // initWithTarget:action: — the target is not kept (see UIGestureRecognizer::addTarget).
  template <typename T, typename U>
  static std::shared_ptr<UIPanGestureRecognizer> initWithTarget(
      const std::shared_ptr<T>& target, void (U::*action)(UIPanGestureRecognizer&)) {
    auto recognizer = std::make_shared<UIPanGestureRecognizer>();
    recognizer->addTarget(target, action);
    return recognizer;
  }

  // translationInView: — the movement since the drag began (or since the last
  // setTranslation), in `view`'s coordinate space; a null view means window coordinates.
  CGPoint translationInView(const std::shared_ptr<UIView>& view) const;
  // setTranslation:inView: — `translation` is read in `view`'s coordinate space.
  void setTranslation(CGPoint translation, const std::shared_ptr<UIView>& view);
};
