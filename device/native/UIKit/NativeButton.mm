// Wraps UIButton's setBackgroundImage:forState: and setImage:forState:.
#include "native/UIKit/NativeButton.h"

#import <UIKit/UIKit.h>

namespace gw::native::button {
namespace {

UIButton* asButton(const Object& button) {
  id object = (__bridge id)button.get();
  return [object isKindOfClass:[UIButton class]] ? (UIButton*)object : nil;
}

}  // namespace

void setBackgroundImage(const Object& button, const Object& image, std::uint64_t state) {
  [asButton(button) setBackgroundImage:(__bridge UIImage*)image.get()
                              forState:static_cast<UIControlState>(state)];
}

void setImage(const Object& button, const Object& image, std::uint64_t state) {
  [asButton(button) setImage:(__bridge UIImage*)image.get()
                    forState:static_cast<UIControlState>(state)];
}

}  // namespace gw::native::button
