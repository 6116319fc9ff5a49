#include "UIKit/UIView.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Foundation/SimulatedRunLoop.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIWindow.h"

namespace {

// A view property below this alpha is treated as invisible by hit testing, as UIKit does.
constexpr double kMinimumTouchableAlpha = 0.01;

struct OpenAnimation {
  double beginTime = 0;  // virtual seconds, delay included
  double durationSeconds = 0;
  UIViewAnimationOptions options = 0;
};

// The animation blocks whose `animations` step is running in this process, innermost last:
// property changes made meanwhile belong to the innermost one.
ProcessLocal<std::vector<OpenAnimation>> openAnimations;

const OpenAnimation* currentAnimation() {
  const auto& open = openAnimations.get();
  if (open.empty() || open.back().durationSeconds <= 0) return nullptr;
  return &open.back();
}

// y on the cubic Bézier timing curve through (0,0), (x1,y1), (x2,y2), (1,1) where x = u.
double bezierTiming(double x1, double y1, double x2, double y2, double u) {
  auto axis = [](double p1, double p2, double s) {
    const double r = 1 - s;
    return 3 * r * r * s * p1 + 3 * r * s * s * p2 + s * s * s;
  };
  double low = 0, high = 1;  // x(s) rises monotonically for control points inside [0, 1]
  for (int i = 0; i < 60; ++i) {
    const double mid = (low + high) / 2;
    (axis(x1, x2, mid) < u ? low : high) = mid;
  }
  return axis(y1, y2, (low + high) / 2);
}

// Core Animation's named timing functions.
double curveProgress(UIViewAnimationOptions curve, double u) {
  if (u <= 0) return 0;  // the curves pass through both ends exactly
  if (u >= 1) return 1;
  switch (curve) {
    case UIViewAnimationOptionCurveEaseIn:
      return bezierTiming(0.42, 0, 1, 1, u);
    case UIViewAnimationOptionCurveEaseOut:
      return bezierTiming(0, 0, 0.58, 1, u);
    case UIViewAnimationOptionCurveLinear:
      return u;
    default:
      return bezierTiming(0.42, 0, 0.58, 1, u);
  }
}

CGRect boundingBox(const CGPoint* points, int count) {
  double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (int i = 1; i < count; ++i) {
    minX = std::min(minX, points[i].x);
    maxX = std::max(maxX, points[i].x);
    minY = std::min(minY, points[i].y);
    maxY = std::max(maxY, points[i].y);
  }
  return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

}  // namespace

UIView::UIView(const CGRect& frame)
    : frame_(frame), boundsSize_(frame.size), layer_(std::make_shared<CALayer>()) {}

std::shared_ptr<UIView> UIView::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIView>(frame);
}

UIView::~UIView() = default;

// ---- geometry -------------------------------------------------------------------------

bool UIView::linearPartIsIdentity() const {
  return transform_.a == 1 && transform_.b == 0 && transform_.c == 0 && transform_.d == 1;
}

CGRect UIView::transformedRect(CGPoint center) const {
  const double halfWidth = boundsSize_.width / 2, halfHeight = boundsSize_.height / 2;
  const CGAffineTransform& t = transform_;
  if (linearPartIsIdentity()) {
    return CGRectMake(center.x + t.tx - halfWidth, center.y + t.ty - halfHeight, boundsSize_.width,
                      boundsSize_.height);
  }
  CGPoint corners[4];
  const double xs[2] = {-halfWidth, halfWidth}, ys[2] = {-halfHeight, halfHeight};
  for (int i = 0; i < 4; ++i) {
    const double x = xs[i % 2], y = ys[i / 2];
    corners[i] = {center.x + t.a * x + t.c * y + t.tx, center.y + t.b * x + t.d * y + t.ty};
  }
  return boundingBox(corners, 4);
}

CGPoint UIView::center() const {
  return {CGRectGetMidX(frame_) - transform_.tx, CGRectGetMidY(frame_) - transform_.ty};
}

void UIView::setFrame(const CGRect& frame) {
  noteAnimatedChange();
  frame_ = frame;
  if (linearPartIsIdentity()) {
    boundsSize_ = frame.size;
    return;
  }
  // The bounds size whose transformed bounding box has the frame's size:
  // |a| w + |c| h = W and |b| w + |d| h = H. A degenerate transform keeps the old size.
  const double a = std::abs(transform_.a), b = std::abs(transform_.b);
  const double c = std::abs(transform_.c), d = std::abs(transform_.d);
  const double determinant = a * d - b * c;
  if (determinant != 0) {
    boundsSize_ = {(d * frame.size.width - c * frame.size.height) / determinant,
                   (a * frame.size.height - b * frame.size.width) / determinant};
  }
}

void UIView::setBounds(const CGRect& bounds) {
  noteAnimatedChange();
  const CGPoint oldCenter = center();
  boundsOrigin_ = bounds.origin;
  if (bounds.size == boundsSize_) return;
  boundsSize_ = bounds.size;
  frame_ = transformedRect(oldCenter);
}

void UIView::setCenter(CGPoint center) {
  noteAnimatedChange();
  frame_ = transformedRect(center);
}

void UIView::setTransform(const CGAffineTransform& transform) {
  noteAnimatedChange();
  const bool translationsOnly = linearPartIsIdentity() && transform.a == 1 && transform.b == 0 &&
                                transform.c == 0 && transform.d == 1;
  if (translationsOnly) {
    // Moving by the change of translation keeps the frame exact: x + t, not (x + w/2) + t - w/2.
    frame_.origin.x += transform.tx - transform_.tx;
    frame_.origin.y += transform.ty - transform_.ty;
    transform_ = transform;
    return;
  }
  const CGPoint oldCenter = center();
  transform_ = transform;
  frame_ = transformedRect(oldCenter);
}

CGPoint UIView::convertPointToSuperview(CGPoint point) const {
  if (linearPartIsIdentity()) {
    return {frame_.origin.x + (point.x - boundsOrigin_.x),
            frame_.origin.y + (point.y - boundsOrigin_.y)};
  }
  const double dx = point.x - (boundsOrigin_.x + boundsSize_.width / 2);
  const double dy = point.y - (boundsOrigin_.y + boundsSize_.height / 2);
  const CGPoint c = center();
  const CGAffineTransform& t = transform_;
  return {c.x + t.a * dx + t.c * dy + t.tx, c.y + t.b * dx + t.d * dy + t.ty};
}

CGPoint UIView::convertPointFromSuperview(CGPoint point) const {
  if (linearPartIsIdentity()) {
    return {boundsOrigin_.x + (point.x - frame_.origin.x),
            boundsOrigin_.y + (point.y - frame_.origin.y)};
  }
  const CGAffineTransform& t = transform_;
  const double determinant = t.a * t.d - t.b * t.c;
  if (determinant == 0) {
    // A view squashed to a line or a point covers no area: no point maps into it.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {nan, nan};
  }
  const CGPoint c = center();
  const double vx = point.x - c.x - t.tx, vy = point.y - c.y - t.ty;
  return {(t.d * vx - t.c * vy) / determinant + boundsOrigin_.x + boundsSize_.width / 2,
          (-t.b * vx + t.a * vy) / determinant + boundsOrigin_.y + boundsSize_.height / 2};
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const {
  std::shared_ptr<const UIView> holder;
  for (const UIView* node = this;;) {
    auto parent = node->superview_.lock();
    if (!parent) break;
    point = node->convertPointToSuperview(point);
    holder = parent;
    node = parent.get();
  }
  return view ? view->convertPointFromView(point, nullptr) : point;
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const {
  if (view) point = view->convertPointToView(point, nullptr);
  std::vector<std::shared_ptr<const UIView>> chain;  // this view up to, not including, the root
  for (auto node = weak_from_this().lock(); node;) {
    auto parent = node->superview_.lock();
    if (!parent) break;
    chain.push_back(node);
    node = parent;
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    point = (*it)->convertPointFromSuperview(point);
  return point;
}

CGRect UIView::frameOnScreen() const {
  std::shared_ptr<const UIView> root = weak_from_this().lock();
  const UIView* top = this;
  for (auto parent = superview_.lock(); parent; parent = parent->superview_.lock()) {
    root = parent;
    top = parent.get();
  }
  const CGRect b = bounds();
  const CGPoint corners[4] = {b.origin,
                              {b.origin.x + b.size.width, b.origin.y},
                              {b.origin.x, b.origin.y + b.size.height},
                              {b.origin.x + b.size.width, b.origin.y + b.size.height}};
  CGPoint onScreen[4];
  for (int i = 0; i < 4; ++i) {
    onScreen[i] = top->convertPointToSuperview(convertPointToView(corners[i], nullptr));
  }
  return boundingBox(onScreen, 4);
}

// ---- appearance ------------------------------------------------------------------------

void UIView::setAlpha(double alpha) {
  if (const OpenAnimation* animation = currentAnimation()) {
    AlphaAnimation record;
    record.beginTime = animation->beginTime;
    record.durationSeconds = animation->durationSeconds;
    record.fromAlpha = presentationAlphaAtTime(Device::current().now());
    record.toAlpha = alpha;
    record.curve = animation->options & kUIViewAnimationCurveMask;
    alphaAnimation_ = record;
    noteAnimatedChange();
  } else {
    alphaAnimation_.reset();  // an unanimated change is presented at once
  }
  alpha_ = alpha;
}

void UIView::setHidden(bool hidden) {
  hidden_ = hidden;
}

void UIView::setBackgroundColor(std::optional<UIColor> color) {
  noteAnimatedChange();
  backgroundColor_ = std::move(color);
}

double UIView::presentationAlphaAtTime(double time) const {
  if (!alphaAnimation_) return alpha_;
  const AlphaAnimation& a = *alphaAnimation_;
  if (time < a.beginTime) return a.fromAlpha;
  if (time >= a.beginTime + a.durationSeconds) return a.toAlpha;
  const double progress = curveProgress(a.curve, (time - a.beginTime) / a.durationSeconds);
  return a.fromAlpha + (a.toAlpha - a.fromAlpha) * progress;
}

// ---- hierarchy -------------------------------------------------------------------------

namespace {

EventFields treeEventFields(const UIView& view, const char* op) {
  const CGRect frame = view.frameOnScreen();
  return {{"op", EventValue::string(op)},
          {"class", EventValue::string(view.className())},
          {"x", EventValue::real(frame.origin.x)},
          {"y", EventValue::real(frame.origin.y)},
          {"w", EventValue::real(frame.size.width)},
          {"h", EventValue::real(frame.size.height)}};
}

}  // namespace

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
  insertSubview(view, std::numeric_limits<std::size_t>::max());
}

void UIView::insertSubview(const std::shared_ptr<UIView>& view, std::size_t index) {
  if (!view || isDescendantOfView(view.get())) return;  // would make a cycle
  auto self = weak_from_this().lock();
  if (!self) return;  // only a shared view can be a superview: it hands out weak references
  const std::shared_ptr<UIView> keep = view;  // the old superview may hold the only reference
  const std::shared_ptr<UIWindow> oldWindow = view->window();
  std::optional<EventFields> removal;
  if (oldWindow) removal = treeEventFields(*view, "removed");
  view->detachFromSuperview();
  index = std::min(index, subviews_.size());
  subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), view);
  view->superview_ = self;
  const std::shared_ptr<UIWindow> newWindow = window();
  if (oldWindow == newWindow) return;
  if (removal) Device::current().emit("view", std::move(*removal));
  if (newWindow) Device::current().emit("view", treeEventFields(*view, "added"));
}

void UIView::removeFromSuperview() {
  if (!superview_.lock()) return;
  const auto keep = weak_from_this().lock();  // the superview may hold the only reference
  std::optional<EventFields> removal;
  if (window()) removal = treeEventFields(*this, "removed");
  detachFromSuperview();
  if (removal) Device::current().emit("view", std::move(*removal));
}

// ---- gestures --------------------------------------------------------------------------

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
  adoptGestureRecognizer(recognizer);
}

void UIView::removeGestureRecognizer(const UIGestureRecognizer* recognizer) {
  auto it = std::find_if(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                         [recognizer](const auto& r) { return r.get() == recognizer; });
  if (it == gestureRecognizers_.end()) return;
  (*it)->view_.reset();
  gestureRecognizers_.erase(it);
}

// ---- hit testing -----------------------------------------------------------------------

bool UIView::takesTouches() const {
  if (hidden_ || !userInteractionEnabled_ || alpha_ < kMinimumTouchableAlpha) return false;
  return touchesBlockedUntil_ < 0 || Device::current().now() >= touchesBlockedUntil_;
}

bool UIView::pointInside(CGPoint point, const UIEvent*) const {
  return CGRectContainsPoint(bounds(), point);
}

std::shared_ptr<UIView> UIView::hitTest(CGPoint point, const UIEvent* event) {
  if (!takesTouches() || !pointInside(point, event)) return nullptr;
  const auto children = subviews_;  // an override may change the tree while we walk it
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (auto hit = (*it)->hitTest((*it)->convertPointFromSuperview(point), event)) return hit;
  }
  return weak_from_this().lock();
}

// ---- animation -------------------------------------------------------------------------

void UIView::noteAnimatedChange() {
  const OpenAnimation* animation = currentAnimation();
  if (!animation || (animation->options & UIViewAnimationOptionAllowUserInteraction)) return;
  touchesBlockedUntil_ =
      std::max(touchesBlockedUntil_, animation->beginTime + animation->durationSeconds);
}

void UIView::animateWithDuration(double durationSeconds, double delaySeconds,
                                 UIViewAnimationOptions options,
                                 const std::function<void()>& animations,
                                 std::function<void(bool finished)> completion) {
  const double now = Device::current().now();
  const double delay = std::max(0.0, delaySeconds);
  const double duration = std::max(0.0, durationSeconds);
  openAnimations.get().push_back({now + delay, duration, options});
  if (animations) animations();
  openAnimations.get().pop_back();
  if (completion) {
    SimulatedRunLoop::current().performAt(
        now + delay + duration, [completion = std::move(completion)] { completion(true); });
  }
}

void UIView::animateWithDuration(double durationSeconds, const std::function<void()>& animations,
                                 std::function<void(bool finished)> completion) {
  animateWithDuration(durationSeconds, 0, UIViewAnimationOptionCurveEaseInOut, animations,
                      std::move(completion));
}
