// The runtime's lookup functions, on the current process's class registry.
#pragma once

#include <typeindex>

#include "ObjCRuntime/ObjCClass.h"
#include "ObjCRuntime/objc.h"

// The class named `name` in the current process, or nullptr when the process has none.
Class objc_getClass(const char* name);

// The implementation of `cls`'s instance method `selector`; nullptr for a Nil class or a
// missing method.
IMP class_getMethodImplementation(Class cls, SEL selector);

// Typed form: the implementation cast back to `F` (a function type such as
// void(SpringBoard*, SEL, UIApplication*)), or nullptr when it is missing or was registered
// with another signature, so a caller never calls through a mistyped pointer.
template <typename F>
F* class_getMethodImplementation(Class cls, SEL selector) {
  if (!cls) return nullptr;
  auto signature = cls->signatureForSelector(selector);
  if (!signature || *signature != std::type_index(typeid(F))) return nullptr;
  return reinterpret_cast<F*>(cls->methodForSelector(selector));
}
