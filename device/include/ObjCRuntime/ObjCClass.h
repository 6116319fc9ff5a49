// A class of the Objective-C runtime, as the face names it: made by objc_getClass, one per
// class for the life of the process.
#pragma once

#include <string>

#include "ObjCRuntime/objc.h"

class ObjCClass {
 public:
  ObjCClass(std::string name, const void* nativeClass)
      : name_(std::move(name)), nativeClass_(nativeClass) {}
  ObjCClass(const ObjCClass&) = delete;
  ObjCClass& operator=(const ObjCClass&) = delete;

  const std::string& name() const { return name_; }
  // The implementation of the instance method `selector` in the runtime's own calling
  // convention, or nullptr when the class has no such method.
  IMP methodForSelector(SEL selector) const;

  // The runtime's class object (a `Class` of the Objective-C runtime).
  const void* nativeClass() const { return nativeClass_; }

 private:
  std::string name_;
  const void* nativeClass_;
};
