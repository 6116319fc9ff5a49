// UIView's tree of subviews and gesture recognisers as the face keeps it, the same on the
// simulated device and on the real one (whose native views follow it in device/face/).
#include <algorithm>

#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIView.h"
#include "UIKit/UIWindow.h"

void UIView::detachFromSuperview() {
  auto parent = superview_.lock();
  if (!parent) return;
  std::erase_if(parent->subviews_, [this](const auto& child) { return child.get() == this; });
  superview_.reset();
}

std::shared_ptr<UIWindow> UIView::window() const {
  std::shared_ptr<UIView> node = superview_.lock();
  if (!node) {
    return std::dynamic_pointer_cast<UIWindow>(
        std::const_pointer_cast<UIView>(weak_from_this().lock()));
  }
  while (auto up = node->superview_.lock()) node = std::move(up);
  return std::dynamic_pointer_cast<UIWindow>(node);
}

bool UIView::isDescendantOfView(const UIView* view) const {
  if (!view) return false;
  if (view == this) return true;
  for (auto node = superview_.lock(); node; node = node->superview_.lock()) {
    if (node.get() == view) return true;
  }
  return false;
}

bool UIView::adoptGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
  if (!recognizer) return false;
  auto self = weak_from_this().lock();
  if (!self) return false;
  if (auto previous = recognizer->view()) {
    if (previous == self) return false;
    previous->removeGestureRecognizer(recognizer.get());  // a recogniser serves one view
  }
  recognizer->view_ = self;
  gestureRecognizers_.push_back(recognizer);
  return true;
}
