#include "UIKit/UIPanGestureRecognizer.h"

#include "UIKit/UIView.h"

UIPanGestureRecognizer::UIPanGestureRecognizer(PanAction action) {
  if (!action) return;
  addTarget([action = std::move(action)](UIGestureRecognizer& recognizer) {
    action(static_cast<UIPanGestureRecognizer&>(recognizer));
  });
}

// A translation is a vector: it converts as the difference of two converted points, so the
// positions of the views drop out and only their scaling and rotation count.
CGPoint UIPanGestureRecognizer::translationInView(const std::shared_ptr<UIView>& view) const {
  if (!view) return translationInWindow_;
  const CGPoint tip = view->convertPointFromView(translationInWindow_, nullptr);
  const CGPoint tail = view->convertPointFromView(CGPointZero, nullptr);
  return {tip.x - tail.x, tip.y - tail.y};
}

void UIPanGestureRecognizer::setTranslation(CGPoint translation,
                                            const std::shared_ptr<UIView>& view) {
  if (!view) {
    translationInWindow_ = translation;
    return;
  }
  const CGPoint tip = view->convertPointToView(translation, nullptr);
  const CGPoint tail = view->convertPointToView(CGPointZero, nullptr);
  translationInWindow_ = {tip.x - tail.x, tip.y - tail.y};
}

void UIPanGestureRecognizer::addTranslationInWindow(CGPoint delta) {
  translationInWindow_.x += delta.x;
  translationInWindow_.y += delta.y;
}
