#include "UIKit/UIApplication.h"

#include <map>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Foundation/NSURL.h"
#include "Foundation/SimulatedRunLoop.h"
#include "UIKit/UIApplicationSimulation.h"

namespace {

// Written only by static initialisers while the platform library loads, read-only after.
std::map<std::string, UIApplicationSimulation::Factory, std::less<>>& principalClasses() {
  static std::map<std::string, UIApplicationSimulation::Factory, std::less<>> classes;
  return classes;
}

const ProcessLocal<std::shared_ptr<UIApplication>> processApplication;

}  // namespace

std::shared_ptr<UIApplication> UIApplication::sharedApplication() {
  auto& application = processApplication.get();
  if (!application) {
    const auto& classes = principalClasses();
    auto it = classes.find(Process::current().name());
    application = it != classes.end() ? it->second() : std::make_shared<UIApplication>();
  }
  return application;
}

bool UIApplicationSimulation::declarePrincipalClass(std::string processName, Factory make) {
  principalClasses()[std::move(processName)] = make;
  return true;
}

void UIApplication::openURL(const std::shared_ptr<NSURL>& url,
                            const Foundation::Dictionary& /*options*/,
                            std::function<void(bool success)> completion) {
  bool opened = false;
  if (url) {
    const std::string scheme = url->scheme();
    opened = scheme == "http" || scheme == "https";
    Process::current().device().emit(
        "url", EventFields{{"url", EventValue::string(url->absoluteString())}});
  }
  if (!completion) return;
  SimulatedRunLoop& loop = SimulatedRunLoop::current();
  loop.performAt(loop.now(), [completion = std::move(completion), opened] { completion(opened); });
}
