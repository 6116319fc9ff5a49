// The application object of a process (UIApplication sharedApplication).
//
// Each process has one, made on first use: an instance of the principal class declared for
// the process's name (the home-screen process "SpringBoard" gets a SpringBoard, see
// SpringBoard/SpringBoard.h), else a plain UIApplication. It lives as long as its process.
// Code that needs a subclass's operations casts: std::dynamic_pointer_cast<SpringBoard>(...)
// gives null outside the home-screen process, which callers treat as "no answer".
#pragma once

#include <memory>
#include <string>

class UIApplication : public std::enable_shared_from_this<UIApplication> {
 public:
  using Factory = std::shared_ptr<UIApplication> (*)();

  UIApplication() = default;
  virtual ~UIApplication() = default;
  UIApplication(const UIApplication&) = delete;
  UIApplication& operator=(const UIApplication&) = delete;

  // The current process's application object, the same on every call.
  static std::shared_ptr<UIApplication> sharedApplication();

  // Declares the principal class of processes named `processName`. Called from static
  // initialisers of the platform layer; returns true.
  static bool declarePrincipalClass(std::string processName, Factory make);

  // ---- opening URLs ------------------------------------------------------------------------
  // (The Settings process's openURL: belongs here.)
};
