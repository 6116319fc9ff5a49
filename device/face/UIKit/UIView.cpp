// UIView on the native view (native/UIKit/NativeView.h).
#include "UIKit/UIView.h"

#include <algorithm>
#include <limits>

#include "UIKit/UIButton.h"
#include "UIKit/UIControl.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UITableView.h"
#include "UIKit/UIWindow.h"
#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeGestureRecognizer.h"
#include "native/UIKit/NativeView.h"

namespace nv = gw::native::view;

namespace {

// A view property below this alpha is treated as invisible by hit testing, as UIKit does.
constexpr double kMinimumTouchableAlpha = 0.01;

gw::native::Point toNative(CGPoint p) {
  return {p.x, p.y};
}
CGPoint fromNative(gw::native::Point p) {
  return {p.x, p.y};
}
gw::native::Rect toNative(const CGRect& r) {
  return {{r.origin.x, r.origin.y}, {r.size.width, r.size.height}};
}
CGRect fromNative(const gw::native::Rect& r) {
  return CGRectMake(r.origin.x, r.origin.y, r.size.width, r.size.height);
}
std::optional<gw::native::Color> toNative(const std::optional<UIColor>& color) {
  if (!color) return std::nullopt;
  return gw::native::Color{color->red(), color->green(), color->blue(), color->alpha()};
}
std::optional<UIColor> fromNative(const std::optional<gw::native::Color>& color) {
  if (!color) return std::nullopt;
  return UIColor::colorWithRed(color->red, color->green, color->blue, color->alpha);
}

nv::Kind kindOf(const UIView& view) {
  if (dynamic_cast<const UIWindow*>(&view)) return nv::Kind::Window;
  if (dynamic_cast<const UITableView*>(&view)) return nv::Kind::TableView;
  if (dynamic_cast<const UILabel*>(&view)) return nv::Kind::Label;
  if (dynamic_cast<const UIImageView*>(&view)) return nv::Kind::ImageView;
  if (dynamic_cast<const UIButton*>(&view)) return nv::Kind::Button;
  if (dynamic_cast<const UIControl*>(&view)) return nv::Kind::Control;
  return nv::Kind::View;
}

}  // namespace

UIView::UIView(const CGRect& frame) : initialFrame_(frame), layer_(std::make_shared<CALayer>()) {}

std::shared_ptr<UIView> UIView::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIView>(frame);
}

UIView::~UIView() = default;

const gw::native::Object& UIView::native() const {
  if (!native_) {
    native_ = nv::make(kindOf(*this), className(), toNative(initialFrame_));
    gw::uikit::Access::attachLayer(*layer_, nv::layer(native_));
  }
  if (!nativeBound_) bindNative();
  return native_;
}

// Ties the native view to this object once it is shared (never from a constructor): the
// native view and its hit-testing hooks hold it weakly.
void UIView::bindNative() const {
  std::shared_ptr<const UIView> self = weak_from_this().lock();
  if (!self) return;
  nativeBound_ = true;
  std::weak_ptr<UIView> weak = std::const_pointer_cast<UIView>(self);
  nv::setOwner(native_, weak);
  nv::HitTestHooks hooks;
  hooks.hitTest = [weak](gw::native::Point point) -> std::optional<gw::native::Object> {
    auto view = weak.lock();
    if (!view) return std::nullopt;
    const std::shared_ptr<UIView> hit = view->hitTest(fromNative(point), nullptr);
    return hit ? hit->native() : gw::native::Object();
  };
  hooks.pointInside = [weak](gw::native::Point point) -> std::optional<bool> {
    auto view = weak.lock();
    if (!view) return std::nullopt;
    return view->pointInside(fromNative(point), nullptr);
  };
  nv::setHitTestHooks(native_, std::move(hooks));
  if (auto* control = dynamic_cast<UIControl*>(std::const_pointer_cast<UIView>(self).get())) {
    control->syncNativeEvents();
  }
}

// ---- geometry -------------------------------------------------------------------------

CGRect UIView::frame() const {
  return fromNative(nv::frame(native()));
}

void UIView::setFrame(const CGRect& frame) {
  nv::setFrame(native(), toNative(frame));
}

CGRect UIView::bounds() const {
  return fromNative(nv::bounds(native()));
}

void UIView::setBounds(const CGRect& bounds) {
  nv::setBounds(native(), toNative(bounds));
}

CGPoint UIView::center() const {
  return fromNative(nv::center(native()));
}

void UIView::setCenter(CGPoint center) {
  nv::setCenter(native(), toNative(center));
}

const CGAffineTransform& UIView::transform() const {
  const gw::native::Transform t = nv::transform(native());
  transform_ = {t.a, t.b, t.c, t.d, t.tx, t.ty};
  return transform_;
}

void UIView::setTransform(const CGAffineTransform& t) {
  nv::setTransform(native(), {t.a, t.b, t.c, t.d, t.tx, t.ty});
}

CGPoint UIView::convertPointToSuperview(CGPoint point) const {
  return fromNative(nv::convertToSuperview(native(), toNative(point)));
}

CGPoint UIView::convertPointFromSuperview(CGPoint point) const {
  return fromNative(nv::convertFromSuperview(native(), toNative(point)));
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const {
  return fromNative(
      nv::convertPoint(native(), toNative(point), view ? view->native() : gw::native::Object()));
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const {
  return fromNative(nv::convertPointFrom(native(), toNative(point),
                                         view ? view->native() : gw::native::Object()));
}

CGRect UIView::frameOnScreen() const {
  return fromNative(nv::frameOnScreen(native()));
}

// ---- appearance ------------------------------------------------------------------------

double UIView::alpha() const {
  return nv::alpha(native());
}

void UIView::setAlpha(double alpha) {
  nv::setAlpha(native(), alpha);
}

bool UIView::isHidden() const {
  return nv::isHidden(native());
}

void UIView::setHidden(bool hidden) {
  nv::setHidden(native(), hidden);
}

bool UIView::isUserInteractionEnabled() const {
  return nv::isUserInteractionEnabled(native());
}

void UIView::setUserInteractionEnabled(bool enabled) {
  nv::setUserInteractionEnabled(native(), enabled);
}

const std::optional<UIColor>& UIView::backgroundColor() const {
  backgroundColor_ = fromNative(nv::backgroundColor(native()));
  return backgroundColor_;
}

void UIView::setBackgroundColor(std::optional<UIColor> color) {
  nv::setBackgroundColor(native(), toNative(color));
}

const std::optional<UIColor>& UIView::tintColor() const {
  tintColor_ = fromNative(nv::tintColor(native()));
  return tintColor_;
}

void UIView::setTintColor(std::optional<UIColor> color) {
  nv::setTintColor(native(), toNative(color));
}

const std::shared_ptr<CALayer>& UIView::layer() const {
  native();  // hands the layer its native layer
  return layer_;
}

std::int64_t UIView::tag() const {
  return nv::tag(native());
}

void UIView::setTag(std::int64_t tag) {
  nv::setTag(native(), tag);
}

// ---- hierarchy -------------------------------------------------------------------------

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
  insertSubview(view, std::numeric_limits<std::size_t>::max());
}

void UIView::insertSubview(const std::shared_ptr<UIView>& view, std::size_t index) {
  insertIntoTree(view, index, /*alsoNative=*/true);
}

void UIView::insertIntoTree(const std::shared_ptr<UIView>& view, std::size_t index,
                            bool alsoNative) {
  if (!view || isDescendantOfView(view.get())) return;  // would make a cycle
  auto self = weak_from_this().lock();
  if (!self) return;  // only a shared view can be a superview: it hands out weak references
  const std::shared_ptr<UIView> keep = view;  // the old superview may hold the only reference
  view->detachFromSuperview();
  index = std::min(index, subviews_.size());
  // Natively just below the face subview it goes before, so that UIKit's own inner views
  // keep their places.
  const std::shared_ptr<UIView> sibling = index < subviews_.size() ? subviews_[index] : nullptr;
  subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), view);
  view->superview_ = self;
  if (alsoNative) {
    nv::insertSubview(native(), view->native(), sibling ? sibling->native() : gw::native::Object());
  }
}

void UIView::removeFromSuperview() {
  const auto keep = weak_from_this().lock();  // the superview may hold the only reference
  detachFromSuperview();
  if (native_) nv::removeFromSuperview(native_);
}

// ---- gestures --------------------------------------------------------------------------

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
  if (adoptGestureRecognizer(recognizer)) {
    gw::native::gesture::addToView(native(), recognizer->native());
  }
}

void UIView::removeGestureRecognizer(const UIGestureRecognizer* recognizer) {
  auto it = std::find_if(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                         [recognizer](const auto& r) { return r.get() == recognizer; });
  if (it == gestureRecognizers_.end()) return;
  const std::shared_ptr<UIGestureRecognizer> removed = *it;
  gestureRecognizers_.erase(it);
  removed->view_.reset();
  gw::native::gesture::removeFromView(native(), removed->native());
}

// ---- hit testing -----------------------------------------------------------------------

bool UIView::takesTouches() const {
  return !isHidden() && isUserInteractionEnabled() && alpha() >= kMinimumTouchableAlpha;
}

bool UIView::pointInside(CGPoint point, const UIEvent*) const {
  return nv::basePointInside(native(), toNative(point));
}

std::shared_ptr<UIView> UIView::hitTest(CGPoint point, const UIEvent*) {
  const gw::native::Object hit = nv::baseHitTest(native(), toNative(point));
  if (!hit) return nullptr;
  return std::static_pointer_cast<UIView>(nv::ownerOfViewOrAncestor(hit.get()));
}

// ---- animation -------------------------------------------------------------------------

void UIView::animateWithDuration(double durationSeconds, double delaySeconds,
                                 UIViewAnimationOptions options,
                                 const std::function<void()>& animations,
                                 std::function<void(bool finished)> completion) {
  nv::animate(std::max(0.0, durationSeconds), std::max(0.0, delaySeconds), options, animations,
              std::move(completion));
}

void UIView::animateWithDuration(double durationSeconds, const std::function<void()>& animations,
                                 std::function<void(bool finished)> completion) {
  animateWithDuration(durationSeconds, 0, UIViewAnimationOptionCurveEaseInOut, animations,
                      std::move(completion));
}
