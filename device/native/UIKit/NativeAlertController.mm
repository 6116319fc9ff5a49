// Wraps UIAlertController (alertControllerWithTitle:message:preferredStyle:, addAction:) and
// UIAlertAction (actionWithTitle:style:handler:, enabled).
#include "native/UIKit/NativeAlertController.h"

#import <UIKit/UIKit.h>

#include <utility>

namespace gw::native::alert {
namespace {

NSString* toNSString(const std::string& text) {
  NSString* string = [NSString stringWithUTF8String:text.c_str()];
  return string ? string : @"";
}

}  // namespace

Object make(const std::string& title, const std::string& message, std::int64_t style,
            std::vector<Action> actions) {
  UIAlertController* alert =
      [UIAlertController alertControllerWithTitle:toNSString(title)
                                          message:toNSString(message)
                                   preferredStyle:static_cast<UIAlertControllerStyle>(style)];
  for (Action& action : actions) {
    std::function<void()> handler = std::move(action.handler);
    UIAlertAction* native =
        [UIAlertAction actionWithTitle:toNSString(action.title)
                                 style:static_cast<UIAlertActionStyle>(action.style)
                               handler:^(UIAlertAction*) {
                                 if (handler) handler();
                               }];
    native.enabled = action.enabled;
    [alert addAction:native];
  }
  return Object::retaining((__bridge const void*)alert);
}

}  // namespace gw::native::alert
