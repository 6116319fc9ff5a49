// UIGestureRecognizer and UIPanGestureRecognizer for the device face: the recogniser's action
// delivered to a face callback, its view, enabling, and a pan's translation.
#pragma once

#include <cstdint>
#include <functional>

#include "native/NativeObject.h"
#include "native/UIKit/NativeTypes.h"

namespace gw::native::gesture {

// A new UIPanGestureRecognizer (or, for `pan` false, a plain UIGestureRecognizer) whose action
// calls `handler` with the recogniser's UIGestureRecognizerState; the recogniser keeps the
// target that calls it.
Object make(bool pan, std::function<void(std::int64_t state)> handler);
void addToView(const Object& view, const Object& recognizer);
void removeFromView(const Object& view, const Object& recognizer);
void setEnabled(const Object& recognizer, bool enabled);
// translationInView: / setTranslation:inView: of a pan (an empty view is the window).
Point translationInView(const Object& pan, const Object& view);
void setTranslation(const Object& pan, Point translation, const Object& view);

}  // namespace gw::native::gesture
