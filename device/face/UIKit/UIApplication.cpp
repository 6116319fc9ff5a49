// UIApplication: the process's application object, and opening URLs through
// -[UIApplication openURL:options:completionHandler:] (native/UIKit/NativeApplication.h).
#include "UIKit/UIApplication.h"

#include <stdlib.h>

#include <map>

#include "Foundation/NSURL.h"
#include "native/UIKit/NativeApplication.h"

namespace {

// Written only by load-time initialisers, read-only after.
std::map<std::string, UIApplication::Factory, std::less<>>& principalClasses() {
  static std::map<std::string, UIApplication::Factory, std::less<>> classes;
  return classes;
}

}  // namespace

std::shared_ptr<UIApplication> UIApplication::sharedApplication() {
  static const std::shared_ptr<UIApplication> application = [] {
    const auto& classes = principalClasses();
    const char* name = getprogname();
    auto it = classes.find(std::string_view(name ? name : ""));
    return it != classes.end() ? it->second() : std::make_shared<UIApplication>();
  }();
  return application;
}

bool UIApplication::declarePrincipalClass(std::string processName, Factory make) {
  principalClasses()[std::move(processName)] = make;
  return true;
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
