#include "UIKit/UIGestureRecognizer.h"

UIGestureRecognizer::UIGestureRecognizer(Action action) {
  addTarget(std::move(action));
}

UIGestureRecognizer::~UIGestureRecognizer() = default;

void UIGestureRecognizer::addTarget(Action action) {
  if (action) actions_.push_back(std::move(action));
}

void UIGestureRecognizer::deliverState(UIGestureRecognizerState state) {
  state_ = state;
  const auto actions = actions_;  // an action may add another; it takes effect next time
  for (const auto& action : actions) action(*this);
}
