// One class of the runtime: its name and its instance-method table.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <typeindex>

#include "ObjCRuntime/objc.h"

class ObjCClass {
 public:
  explicit ObjCClass(std::string name) : name_(std::move(name)) {}
  ObjCClass(const ObjCClass&) = delete;
  ObjCClass& operator=(const ObjCClass&) = delete;

  const std::string& name() const { return name_; }

  // The implementation of the instance method `selector`, or nullptr when there is none.
  IMP methodForSelector(SEL selector) const;
  // The function type the method was registered with; nullopt when there is no such method.
  std::optional<std::type_index> signatureForSelector(SEL selector) const;

  // Adds the method, or replaces its implementation keeping the recorded signature when it
  // exists. Returns the previous implementation (nullptr when the method is new).
  IMP setMethod(SEL selector, IMP implementation, std::type_index signature);

  // Typed registration: the signature is the function's own type.
  template <typename R, typename... Args>
  IMP addMethod(SEL selector, R (*implementation)(Args...)) {
    return setMethod(selector, imp_cast(implementation), std::type_index(typeid(R(Args...))));
  }

 private:
  struct Method {
    IMP implementation;
    std::type_index signature;
  };
  std::string name_;
  std::map<std::string, Method, std::less<>> methods_;
};
