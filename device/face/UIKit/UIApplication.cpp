// UIApplication: the process's application object, and opening URLs through
// -[UIApplication openURL:options:completionHandler:] (native/UIKit/NativeApplication.h).
#include "UIKit/UIApplication.h"

#include "Foundation/NSURL.h"
#include "face/SpringBoard/HomeScreenApplication.h"
#include "native/UIKit/NativeApplication.h"

// The home screen's application object is its SpringBoard; any other process gets a plain one.
std::shared_ptr<UIApplication> UIApplication::sharedApplication() {
  static const std::shared_ptr<UIApplication> application = [] {
    std::shared_ptr<UIApplication> homeScreen = gw::device::makeHomeScreenApplication();
    return homeScreen ? homeScreen : std::make_shared<UIApplication>();
  }();
  return application;
}

// The options are not passed on: UIKit's only option (universal links only) is never asked for.
void UIApplication::openURL(const std::shared_ptr<NSURL>& url,
                            const Foundation::Dictionary& /*options*/,
                            std::function<void(bool success)> completion) {
  if (!url) {
    if (completion) completion(false);
    return;
  }
  gw::native::application::openURL(url->absoluteString(), std::move(completion));
}
