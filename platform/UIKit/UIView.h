// UIKit's view: a rectangle in its superview, a tree of subviews, hit testing and animation.
//
// Ownership: views are held by std::shared_ptr. A view owns its subviews and its gesture
// recognisers; it knows its superview without owning it. Tree operations need the views to
// be owned by a shared_ptr (make them with std::make_shared or initWithFrame).
//
// Geometry: the view keeps its bounds size, its centre and its transform, as UIKit does; the
// transform applies about the centre. frame() is the rectangle the view occupies in its
// superview once transformed (a translation moves it), and setFrame() puts the view exactly
// on the given rectangle whatever the transform: frame() afterwards returns that rectangle
// bit for bit.
//
// When a view joins or leaves the view tree of a window, the device event "view" is emitted
// with "op" ("added" | "removed"), "class" (className()) and "x", "y", "w", "h" (its frame on
// the screen), so that an observer can follow what is on screen.
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

class UIEvent;
class UIGestureRecognizer;
class UIWindow;

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
  CGRect frame() const { return frame_; }  // in the superview's coordinates, transformed
  void setFrame(const CGRect& frame);
  CGRect bounds() const { return {boundsOrigin_, boundsSize_}; }  // own coordinates
  void setBounds(const CGRect& bounds);
  CGPoint center() const;  // untransformed centre, in the superview's coordinates
  void setCenter(CGPoint center);
  const CGAffineTransform& transform() const { return transform_; }
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
  double alpha() const { return alpha_; }  // model value: changes at once, even when animated
  void setAlpha(double alpha);
  bool hidden() const { return hidden_; }
  bool isHidden() const { return hidden_; }
  virtual void setHidden(bool hidden);
  bool userInteractionEnabled() const { return userInteractionEnabled_; }
  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
  // None (transparent) until set.
  const std::optional<UIColor>& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(std::optional<UIColor> color);
  // The colour set on this view, if any (no inheritance from superviews here).
  const std::optional<UIColor>& tintColor() const { return tintColor_; }
  void setTintColor(std::optional<UIColor> color) { tintColor_ = std::move(color); }
  bool clipsToBounds() const { return layer_->masksToBounds(); }
  void setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }
  const std::shared_ptr<CALayer>& layer() const { return layer_; }
  std::int64_t tag() const { return tag_; }
  void setTag(std::int64_t tag) { tag_ = tag; }

  // ---- hierarchy -----------------------------------------------------------------------
  // Adds `view` in front of the other subviews, taking it from its old superview first.
  // Adding a view to itself or to one of its own descendants is refused (nothing changes).
  void addSubview(const std::shared_ptr<UIView>& view);
  // As addSubview, at `index` among the subviews (0 is the back-most; clamped to the end).
  void insertSubview(const std::shared_ptr<UIView>& view, std::size_t index);
  void removeFromSuperview();
  std::shared_ptr<UIView> superview() const { return superview_.lock(); }
  // Back to front: the last one is drawn on top and hit-tested first.
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
  // hitTest:withEvent: `point` in this view's coordinates. Null when the view takes no
  // touches (hidden, alpha below 0.01, interaction off, or animating without
  // UIViewAnimationOptionAllowUserInteraction) or the point is outside; otherwise the
  // deepest subview that answers, front-most first, or this view.
  virtual std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event);
  // pointInside:withEvent: true when the point lies in bounds() (minimum edges included,
  // maximum edges excluded).
  virtual bool pointInside(CGPoint point, const UIEvent* event) const;

  // ---- animation -----------------------------------------------------------------------
  // animateWithDuration:delay:options:animations:completion:. `animations` runs at once and
  // its model changes take effect at once; views whose properties it changes present the
  // change over time. `completion` runs on the current process's main run loop when
  // delay + duration seconds of virtual time have passed, with finished = true (an animation
  // is never cut short here: a later one on the same view takes over the presentation, and
  // the earlier completion still runs at its own end). A duration of 0 animates nothing.
  static void animateWithDuration(double durationSeconds, double delaySeconds,
                                  UIViewAnimationOptions options,
                                  const std::function<void()>& animations,
                                  std::function<void(bool finished)> completion);
  static void animateWithDuration(double durationSeconds, const std::function<void()>& animations,
                                  std::function<void(bool finished)> completion = {});

 private:
  friend class UIWindow;
  // Renderers and tests read the presentation through it.
  friend class UIViewInspection;
  // The latest animation of alpha: presentation starts at `fromAlpha` at `beginTime` (virtual
  // seconds, delay included) and reaches the model alpha after `durationSeconds`, along
  // `curve` (one of the UIViewAnimationOptionCurve values).
  struct AlphaAnimation {
    double beginTime = 0;
    double durationSeconds = 0;
    double fromAlpha = 0;
    double toAlpha = 0;
    UIViewAnimationOptions curve = UIViewAnimationOptionCurveEaseInOut;
  };
  // The alpha presented at virtual time `time`.
  double presentationAlphaAtTime(double time) const;
  // Whether the view itself would take a touch now (not looking at the point).
  bool takesTouches() const;
  void detachFromSuperview();
  // Adds `recognizer` to this view's list, taking it from its old view; false, nothing changed,
  // when it is null, already here, or this view is not shared.
  bool adoptGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
  void noteAnimatedChange();
  CGRect transformedRect(CGPoint center) const;
  bool linearPartIsIdentity() const;
  void emitTreeEvent(const char* op) const;

  CGRect frame_;
  CGPoint boundsOrigin_;
  CGSize boundsSize_;
  CGAffineTransform transform_;
  double alpha_ = 1;
  bool hidden_ = false;
  bool userInteractionEnabled_ = true;
  std::optional<UIColor> backgroundColor_;
  std::optional<UIColor> tintColor_;
  std::shared_ptr<CALayer> layer_;
  std::int64_t tag_ = 0;
  std::weak_ptr<UIView> superview_;
  std::vector<std::shared_ptr<UIView>> subviews_;
  std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
  std::optional<AlphaAnimation> alphaAnimation_;
  // Virtual time until which an animation started without allow-user-interaction keeps the
  // view from taking touches (negative when none has).
  double touchesBlockedUntil_ = -1;
};
