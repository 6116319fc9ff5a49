// Wraps UIView: initWithFrame:, frame/bounds/center/transform, convertPoint:toView:, alpha,
// hidden, userInteractionEnabled, backgroundColor, tintColor, tag, layer, subviews,
// hitTest:withEvent: and +animateWithDuration:delay:options:animations:completion:.
#include "native/UIKit/NativeView.h"

#import <UIKit/UIKit.h>
#import <objc/runtime.h>

#include "native/UIKit/ForwardingHitTest.h"
#include "native/UIKit/NativeColor.h"
#include "native/UIKit/NativeWindow.h"

@interface GWOwnerBox : NSObject {
 @public
  std::weak_ptr<void> owner;
}
@end
@implementation GWOwnerBox
@end

@interface GWHitTestHooksBox : NSObject {
 @public
  gw::native::view::HitTestHooks hooks;
}
@end
@implementation GWHitTestHooksBox
@end

namespace gw::native::view {
namespace {

char ownerKey;
char hooksKey;

UIView* asView(const Object& view) {
  return (__bridge UIView*)view.get();
}

Object wrap(id object) {
  return Object::retaining((__bridge const void*)object);
}

CGPoint toCG(Point p) {
  return CGPointMake(p.x, p.y);
}
Point fromCG(CGPoint p) {
  return {p.x, p.y};
}
CGRect toCG(Rect r) {
  return CGRectMake(r.origin.x, r.origin.y, r.size.width, r.size.height);
}
Rect fromCG(CGRect r) {
  return {{r.origin.x, r.origin.y}, {r.size.width, r.size.height}};
}

UIColor* toUIColor(const std::optional<Color>& color) {
  if (!color) return nil;
  UIColor* result = (__bridge UIColor*)color::makeUIColor(*color).get();
  return result;
}

UIScreen* screenOf(UIWindow* window) {
  return window.screen ? window.screen : [UIScreen mainScreen];
}

Class classOfKind(Kind kind) {
  switch (kind) {
    case Kind::Control:
      return [UIControl class];
    case Kind::Button:
      return [UIButton class];
    case Kind::ImageView:
      return [UIImageView class];
    case Kind::Label:
      return [UILabel class];
    case Kind::TableView:
      return [UITableView class];
    case Kind::Window:
      return [UIWindow class];
    case Kind::View:
      break;
  }
  return [UIView class];
}

}  // namespace

Object make(Kind kind, const std::string& className, Rect frame) {
  Class base = classOfKind(kind);
  Class cls = NSClassFromString([NSString stringWithUTF8String:className.c_str()]);
  if (!cls || ![cls isSubclassOfClass:base]) cls = base;
  UIView* view = [[cls alloc] initWithFrame:toCG(frame)];
  if (kind == Kind::Window) window::attachToActiveScene(wrap(view));
  return wrap(view);
}

void setOwner(const Object& view, std::weak_ptr<void> owner) {
  if (!view) return;
  GWOwnerBox* box = [GWOwnerBox new];
  box->owner = std::move(owner);
  objc_setAssociatedObject(asView(view), &ownerKey, box, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

std::shared_ptr<void> ownerOfViewOrAncestor(const void* object) {
  for (UIView* view = (__bridge UIView*)object; view; view = view.superview) {
    GWOwnerBox* box = objc_getAssociatedObject(view, &ownerKey);
    if (!box) continue;
    if (auto owner = box->owner.lock()) return owner;
  }
  return nullptr;
}

void setHitTestHooks(const Object& view, HitTestHooks hooks) {
  if (!view) return;
  GWHitTestHooksBox* box = [GWHitTestHooksBox new];
  box->hooks = std::move(hooks);
  objc_setAssociatedObject(asView(view), &hooksKey, box, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

const HitTestHooks* hitTestHooks(const void* view) {
  if (!view) return nullptr;
  GWHitTestHooksBox* box = objc_getAssociatedObject((__bridge id)view, &hooksKey);
  return box ? &box->hooks : nullptr;
}

Object baseHitTest(const Object& view, Point point) {
  UIView* v = asView(view);
  if (!v) return {};
  if ([v respondsToSelector:@selector(gw_baseHitTest:)]) {
    return wrap([(id<GWForwardingHitTest>)v gw_baseHitTest:toCG(point)]);
  }
  return wrap([v hitTest:toCG(point) withEvent:nil]);
}

bool basePointInside(const Object& view, Point point) {
  UIView* v = asView(view);
  if (!v) return false;
  if ([v respondsToSelector:@selector(gw_basePointInside:)]) {
    return [(id<GWForwardingHitTest>)v gw_basePointInside:toCG(point)];
  }
  return [v pointInside:toCG(point) withEvent:nil];
}

// ---- geometry -----------------------------------------------------------------------------

Rect frame(const Object& view) {
  return fromCG(asView(view).frame);
}
void setFrame(const Object& view, Rect frame) {
  asView(view).frame = toCG(frame);
}
Rect bounds(const Object& view) {
  return fromCG(asView(view).bounds);
}
void setBounds(const Object& view, Rect bounds) {
  asView(view).bounds = toCG(bounds);
}
Point center(const Object& view) {
  return fromCG(asView(view).center);
}
void setCenter(const Object& view, Point center) {
  asView(view).center = toCG(center);
}
Transform transform(const Object& view) {
  UIView* v = asView(view);
  if (!v) return {};
  const CGAffineTransform t = v.transform;
  return {t.a, t.b, t.c, t.d, t.tx, t.ty};
}
void setTransform(const Object& view, Transform t) {
  asView(view).transform = CGAffineTransformMake(t.a, t.b, t.c, t.d, t.tx, t.ty);
}

Point convertPoint(const Object& view, Point point, const Object& toView) {
  UIView* v = asView(view);
  if (!v) return point;
  return fromCG([v convertPoint:toCG(point) toView:asView(toView)]);
}

Point convertPointFrom(const Object& view, Point point, const Object& fromView) {
  UIView* v = asView(view);
  if (!v) return point;
  return fromCG([v convertPoint:toCG(point) fromView:asView(fromView)]);
}

Point convertToSuperview(const Object& view, Point point) {
  UIView* v = asView(view);
  if (!v) return point;
  if (v.superview) return fromCG([v convertPoint:toCG(point) toView:v.superview]);
  if ([v isKindOfClass:[UIWindow class]]) {
    return fromCG([v convertPoint:toCG(point)
                toCoordinateSpace:screenOf((UIWindow*)v).coordinateSpace]);
  }
  return fromCG([v convertPoint:toCG(point) toView:nil]);
}

Point convertFromSuperview(const Object& view, Point point) {
  UIView* v = asView(view);
  if (!v) return point;
  if (v.superview) return fromCG([v convertPoint:toCG(point) fromView:v.superview]);
  if ([v isKindOfClass:[UIWindow class]]) {
    return fromCG([v convertPoint:toCG(point)
              fromCoordinateSpace:screenOf((UIWindow*)v).coordinateSpace]);
  }
  return fromCG([v convertPoint:toCG(point) fromView:nil]);
}

Rect frameOnScreen(const Object& view) {
  UIView* v = asView(view);
  if (!v) return {};
  CGRect rect = [v convertRect:v.bounds toView:nil];
  UIWindow* window = [v isKindOfClass:[UIWindow class]] ? (UIWindow*)v : v.window;
  if (window) {
    rect = [window convertRect:rect toCoordinateSpace:screenOf(window).coordinateSpace];
  }
  return fromCG(rect);
}

// ---- appearance -----------------------------------------------------------------------------

double alpha(const Object& view) {
  return asView(view).alpha;
}
void setAlpha(const Object& view, double alpha) {
  asView(view).alpha = alpha;
}
bool isHidden(const Object& view) {
  return asView(view).hidden;
}
void setHidden(const Object& view, bool hidden) {
  asView(view).hidden = hidden;
}
bool isUserInteractionEnabled(const Object& view) {
  return asView(view).userInteractionEnabled;
}
void setUserInteractionEnabled(const Object& view, bool enabled) {
  asView(view).userInteractionEnabled = enabled;
}
std::optional<Color> backgroundColor(const Object& view) {
  return color::componentsOfUIColor((__bridge const void*)asView(view).backgroundColor);
}
void setBackgroundColor(const Object& view, const std::optional<Color>& color) {
  asView(view).backgroundColor = toUIColor(color);
}
std::optional<Color> tintColor(const Object& view) {
  return color::componentsOfUIColor((__bridge const void*)asView(view).tintColor);
}
void setTintColor(const Object& view, const std::optional<Color>& color) {
  asView(view).tintColor = toUIColor(color);
}
std::int64_t tag(const Object& view) {
  return asView(view).tag;
}
void setTag(const Object& view, std::int64_t tag) {
  asView(view).tag = static_cast<NSInteger>(tag);
}
Object layer(const Object& view) {
  return wrap(asView(view).layer);
}

// ---- tree -----------------------------------------------------------------------------------

void insertSubview(const Object& parent, const Object& child, const Object& sibling) {
  UIView* p = asView(parent);
  UIView* c = asView(child);
  if (!p || !c) return;
  UIView* s = asView(sibling);
  if (s && s.superview == p && s != c) {
    [p insertSubview:c belowSubview:s];
  } else {
    [p addSubview:c];
  }
}

void removeFromSuperview(const Object& view) {
  [asView(view) removeFromSuperview];
}

// ---- animation ------------------------------------------------------------------------------

void animate(double durationSeconds, double delaySeconds, std::uint64_t options,
             const std::function<void()>& animations,
             std::function<void(bool finished)> completion) {
  std::function<void()> work = animations;
  std::function<void(bool)> done = std::move(completion);
  [UIView animateWithDuration:durationSeconds
      delay:delaySeconds
      options:static_cast<UIViewAnimationOptions>(options)
      animations:^{
        if (work) work();
      }
      completion:^(BOOL finished) {
        if (done) done(finished);
      }];
}

}  // namespace gw::native::view
