// Wraps -[UIApplication openURL:options:completionHandler:].
#include "native/UIKit/NativeApplication.h"

#import <UIKit/UIKit.h>

namespace gw::native::application {

void openURL(const std::string& text, std::function<void(bool success)> completion) {
  NSString* string = [NSString stringWithUTF8String:text.c_str()];
  NSURL* url = string ? [NSURL URLWithString:string] : nil;
  if (!url) {
    if (completion) completion(false);
    return;
  }
  std::function<void(bool)> done = std::move(completion);
  [[UIApplication sharedApplication] openURL:url
      options:@{}
      completionHandler:^(BOOL success) {
        if (done) done(success);
      }];
}

}  // namespace gw::native::application
