// The application object of a process (UIApplication sharedApplication).
//
// Each process has one, made on first use: an instance of the principal class declared for
// the process's name (the home-screen process "SpringBoard" gets a SpringBoard, see
// SpringBoard/SpringBoard.h, and UIApplicationSimulation), else a plain UIApplication. It lives as
// long as its process. Code that needs a subclass's operations casts:
// std::dynamic_pointer_cast<SpringBoard>(...) gives null outside the home-screen process, which
// callers treat as "no answer".
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Foundation/Value.h"

class NSURL;

class UIApplication : public std::enable_shared_from_this<UIApplication> {
 public:
  UIApplication() = default;
  virtual ~UIApplication() = default;
  UIApplication(const UIApplication&) = delete;
  UIApplication& operator=(const UIApplication&) = delete;

  // The current process's application object, the same on every call.
  static std::shared_ptr<UIApplication> sharedApplication();

  // ---- opening URLs ------------------------------------------------------------------------
  // openURL:options:completionHandler: hands the URL to the app that opens it (a web address
  // goes to the browser). Emits the device event "url" with "url" (the URL's text). The
  // completion, if any, runs afterwards on the current process's main run loop with true for
  // an "http" or "https" URL and false for anything else (no app on the device opens it). A
  // null URL emits nothing and completes with false.
  void openURL(const std::shared_ptr<NSURL>& url, const Foundation::Dictionary& options,
               std::function<void(bool success)> completion);
};
