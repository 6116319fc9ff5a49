// UIKit's view on the device: the face's UIView backed by a native UIView.
//
// Ownership: views are held by std::shared_ptr. A view owns its subviews and its gesture
// recognisers (and so their native counterparts); it knows its superview without owning it.
// Tree operations need the views to be owned by a shared_ptr (make them with std::make_shared
// or initWithFrame).
//
// The native view is made on first use after construction, as an instance of the Objective-C
// class named className() when there is one of the right kind (so the product's classes get
// their own native classes, which ask hitTest / pointInside of this object), else of the
// UIKit class the view is. Geometry, alpha, visibility and interaction are the native view's:
// what the product sets there, and what UIKit changes, reads back here. The native view holds
// this object only weakly.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "QuartzCore/CALayer.h"
#include "UIKit/UIColor.h"
#include "native/NativeObject.h"

class UIEvent;
class UIGestureRecognizer;
class UIWindow;

namespace gw::uikit {
struct Access;
}

using UIViewAnimationOptions = std::uint64_t;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionLayoutSubviews = 1 << 0;
// Without this option a view takes no touches while one of its properties animates.
inline constexpr UIViewAnimationOptions UIViewAnimationOptionAllowUserInteraction = 1 << 1;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionBeginFromCurrentState = 1 << 2;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseInOut = 0 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseIn = 1 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseOut = 2 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveLinear = 3 << 16;
inline constexpr UIViewAnimationOptions kUIViewAnimationCurveMask = 3 << 16;

class UIView : public std::enable_shared_from_this<UIView> {
 public:
  UIView() : UIView(CGRectZero) {}
  explicit UIView(const CGRect& frame);
  static std::shared_ptr<UIView> initWithFrame(const CGRect& frame);
  virtual ~UIView();
  UIView(const UIView&) = delete;
  UIView& operator=(const UIView&) = delete;

  // The class name reports and observers show ("UIView", "UIButton", a subclass's own name).
  virtual std::string className() const { return "UIView"; }

  // ---- geometry (points) ---------------------------------------------------------------
  CGRect frame() const;  // in the superview's coordinates, transformed
  void setFrame(const CGRect& frame);
  CGRect bounds() const;  // own coordinates
  void setBounds(const CGRect& bounds);
  CGPoint center() const;  // untransformed centre, in the superview's coordinates
  void setCenter(CGPoint center);
  const CGAffineTransform& transform() const;
  void setTransform(const CGAffineTransform& transform);

  // Points between this view's coordinates and its superview's (for a window: the screen's).
  CGPoint convertPointToSuperview(CGPoint point) const;
  CGPoint convertPointFromSuperview(CGPoint point) const;
  // convertPoint:toView: / convertPoint:fromView: between views of one tree; a null view
  // stands for the coordinates of the tree's root (the window).
  CGPoint convertPointToView(CGPoint point, const UIView* view) const;
  CGPoint convertPointFromView(CGPoint point, const UIView* view) const;
  // The rectangle the view covers on the screen (through its window's frame).
  CGRect frameOnScreen() const;

  // ---- appearance ----------------------------------------------------------------------
  double alpha() const;  // model value: changes at once, even when animated
  void setAlpha(double alpha);
  bool hidden() const { return isHidden(); }
  bool isHidden() const;
  virtual void setHidden(bool hidden);
  bool userInteractionEnabled() const { return isUserInteractionEnabled(); }
  bool isUserInteractionEnabled() const;
  void setUserInteractionEnabled(bool enabled);
  // None (transparent) until set.
  const std::optional<UIColor>& backgroundColor() const;
  void setBackgroundColor(std::optional<UIColor> color);
  // The view's tint colour (UIKit's: inherited from the superviews when not set).
  const std::optional<UIColor>& tintColor() const;
  void setTintColor(std::optional<UIColor> color);
  bool clipsToBounds() const { return layer()->masksToBounds(); }
  void setClipsToBounds(bool clips) { layer()->setMasksToBounds(clips); }
  const std::shared_ptr<CALayer>& layer() const;
  std::int64_t tag() const;
  void setTag(std::int64_t tag);

  // ---- hierarchy -----------------------------------------------------------------------
  // Adds `view` in front of the other subviews, taking it from its old superview first.
  // Adding a view to itself or to one of its own descendants is refused (nothing changes).
  void addSubview(const std::shared_ptr<UIView>& view);
  // As addSubview, at `index` among the subviews (0 is the back-most; clamped to the end).
  void insertSubview(const std::shared_ptr<UIView>& view, std::size_t index);
  void removeFromSuperview();
  std::shared_ptr<UIView> superview() const { return superview_.lock(); }
  // Back to front: the last one is drawn on top and hit-tested first. Only the subviews
  // added through this face; UIKit's own inner views are not listed.
  const std::vector<std::shared_ptr<UIView>>& subviews() const { return subviews_; }
  // The window at the root of this view's tree (the view itself for a window), or null.
  std::shared_ptr<UIWindow> window() const;
  bool isDescendantOfView(const UIView* view) const;  // true for the view itself

  // ---- gestures ------------------------------------------------------------------------
  void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
  void removeGestureRecognizer(const UIGestureRecognizer* recognizer);
  const std::vector<std::shared_ptr<UIGestureRecognizer>>& gestureRecognizers() const {
    return gestureRecognizers_;
  }

  // ---- hit testing ---------------------------------------------------------------------
  // hitTest:withEvent: `point` in this view's coordinates: UIKit's answer (the deepest
  // subview that takes the touch, this view, or null), given as the face view standing for
  // it (the nearest one above a native view of UIKit's own). The product's classes override it.
  virtual std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event);
  // pointInside:withEvent: UIKit's answer: true when the point lies in bounds().
  virtual bool pointInside(CGPoint point, const UIEvent* event) const;
  // Whether the view itself would take a touch now (not looking at the point): not hidden,
  // interaction on and alpha at least 0.01, as UIKit requires.
  bool takesTouches() const;

  // ---- animation -----------------------------------------------------------------------
  // +animateWithDuration:delay:options:animations:completion:. `animations` runs at once,
  // inside UIKit's animation block: its model changes take effect at once and the native
  // views present them over time. `completion` runs on the main queue when UIKit ends the
  // animation (finished false when it was cut short).
  static void animateWithDuration(double durationSeconds, double delaySeconds,
                                  UIViewAnimationOptions options,
                                  const std::function<void()>& animations,
                                  std::function<void(bool finished)> completion);
  static void animateWithDuration(double durationSeconds, const std::function<void()>& animations,
                                  std::function<void(bool finished)> completion = {});

 private:
  friend class UIWindow;
  friend struct gw::uikit::Access;
  // The native view, made (and tied to this object once it is shared) on first use.
  const gw::native::Object& native() const;
  void bindNative() const;
  // Puts `view` into the face's tree at `index`; `alsoNative` adds its native view too.
  void insertIntoTree(const std::shared_ptr<UIView>& view, std::size_t index, bool alsoNative);
  void detachFromSuperview();
  // Adds `recognizer` to this view's list, taking it from its old view; false, nothing changed,
  // when it is null, already here, or this view is not shared.
  bool adoptGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);

  CGRect initialFrame_;
  mutable gw::native::Object native_;
  mutable bool nativeBound_ = false;
  // False for a native view UIKit made (another application's window, a framework's table):
  // this object only stands for it and leaves its life to UIKit.
  bool ownsNative_ = true;
  // Copies of native values handed out by reference, refreshed on every read.
  mutable std::optional<UIColor> backgroundColor_;
  mutable std::optional<UIColor> tintColor_;
  mutable CGAffineTransform transform_;
  std::shared_ptr<CALayer> layer_;
  std::weak_ptr<UIView> superview_;
  std::vector<std::shared_ptr<UIView>> subviews_;
  std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
};
