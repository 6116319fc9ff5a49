// Wraps UIViewController: new, view, presentViewController:animated:completion:,
// dismissViewControllerAnimated:completion:.
#include "native/UIKit/NativeViewController.h"

#import <UIKit/UIKit.h>

#include <utility>

namespace gw::native::controller {
namespace {

UIViewController* asController(const Object& controller) {
  id object = (__bridge id)controller.get();
  return [object isKindOfClass:[UIViewController class]] ? (UIViewController*)object : nil;
}

}  // namespace

Object make() {
  return Object::retaining((__bridge const void*)[UIViewController new]);
}

void setView(const Object& controller, const Object& view) {
  id object = (__bridge id)view.get();
  asController(controller).view = [object isKindOfClass:[UIView class]] ? (UIView*)object : nil;
}

void present(const Object& presenter, const Object& controller, bool animated,
             std::function<void()> completion) {
  UIViewController* native = asController(controller);
  if (!native) return;
  std::function<void()> done = std::move(completion);
  [asController(presenter) presentViewController:native
                                        animated:animated
                                      completion:^{
                                        if (done) done();
                                      }];
}

void dismiss(const Object& presenter, bool animated, std::function<void()> completion) {
  std::function<void()> done = std::move(completion);
  [asController(presenter) dismissViewControllerAnimated:animated
                                              completion:^{
                                                if (done) done();
                                              }];
}

}  // namespace gw::native::controller
