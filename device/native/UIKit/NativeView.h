// UIView for the device face: making the native view that stands for a face view, its geometry,
// appearance and place in the tree, hit testing through the face, and block animations.
//
// Every function takes the native view as a gw::native::Object (empty Objects are ignored and
// read as zero / false / none). Main thread only, as UIKit is.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "native/NativeObject.h"
#include "native/UIKit/NativeTypes.h"

namespace gw::native::view {

// The UIKit class a face view is made as when its own class name names no native class of
// that kind.
enum class Kind { View, Control, Button, ImageView, Label, TableView, Window };

// A new native view framed at `frame`: an instance of the Objective-C class `className` when
// that is a subclass of `kind`'s UIKit class (so the product's classes get the native classes
// of their names), else of `kind`'s class. A window is attached to the active window scene.
Object make(Kind kind, const std::string& className, Rect frame);

// The face object a native view stands for, held weakly (the face owns the native view).
void setOwner(const Object& view, std::weak_ptr<void> owner);
// The face object of `view`, or of its nearest ancestor that has one; null when none is alive.
std::shared_ptr<void> ownerOfViewOrAncestor(const void* view);

// What a native class that forwards hit testing (the product's button and window) asks. The
// functions hold the face object weakly and give no answer (nullopt) once it is gone, which
// lets UIKit answer.
struct HitTestHooks {
  // The native view that takes a touch at `point` (own coordinates), empty for none.
  std::function<std::optional<Object>(Point point)> hitTest;
  std::function<std::optional<bool>(Point point)> pointInside;
};
void setHitTestHooks(const Object& view, HitTestHooks hooks);
// The hooks of a forwarding view, null when it has none.
const HitTestHooks* hitTestHooks(const void* view);
// UIKit's own answer for `view`, bypassing a forwarding class's override.
Object baseHitTest(const Object& view, Point point);
bool basePointInside(const Object& view, Point point);

// ---- geometry (points) ----------------------------------------------------------------------
Rect frame(const Object& view);
void setFrame(const Object& view, Rect frame);
Rect bounds(const Object& view);
void setBounds(const Object& view, Rect bounds);
Point center(const Object& view);
void setCenter(const Object& view, Point center);
Transform transform(const Object& view);
void setTransform(const Object& view, Transform transform);
// convertPoint:toView: / convertPoint:fromView: (an empty `other` is the window).
Point convertPoint(const Object& view, Point point, const Object& toView);
Point convertPointFrom(const Object& view, Point point, const Object& fromView);
// Between the view's coordinates and its superview's, or the screen's for a window.
Point convertToSuperview(const Object& view, Point point);
Point convertFromSuperview(const Object& view, Point point);
// The view's bounds in the screen's coordinates.
Rect frameOnScreen(const Object& view);

// ---- appearance -------------------------------------------------------------------------------
double alpha(const Object& view);
void setAlpha(const Object& view, double alpha);
bool isHidden(const Object& view);
void setHidden(const Object& view, bool hidden);
bool isUserInteractionEnabled(const Object& view);
void setUserInteractionEnabled(const Object& view, bool enabled);
std::optional<Color> backgroundColor(const Object& view);
void setBackgroundColor(const Object& view, const std::optional<Color>& color);
std::optional<Color> tintColor(const Object& view);
void setTintColor(const Object& view, const std::optional<Color>& color);
std::int64_t tag(const Object& view);
void setTag(const Object& view, std::int64_t tag);
// The view's CALayer.
Object layer(const Object& view);

// ---- tree -------------------------------------------------------------------------------------
// Adds `child` in front of the others, or just below `sibling` when that is given.
void insertSubview(const Object& parent, const Object& child, const Object& sibling);
void removeFromSuperview(const Object& view);

// ---- animation --------------------------------------------------------------------------------
// +[UIView animateWithDuration:delay:options:animations:completion:]: `animations` runs inside
// UIKit's animation block, so that the changes it makes to native views are animated.
// `options` are UIViewAnimationOptions.
void animate(double durationSeconds, double delaySeconds, std::uint64_t options,
             const std::function<void()>& animations,
             std::function<void(bool finished)> completion);

}  // namespace gw::native::view
