// The code-injection platform's message hook.
#pragma once

#include <typeindex>

#include "ObjCRuntime/ObjCClass.h"
#include "ObjCRuntime/objc.h"

// Replaces the implementation of `cls`'s instance method `selector` with `replacement`. The
// previous implementation is stored in `*result` (when `result` is not null) before the
// replacement is installed, so the replacement can never run with an empty slot. A method the
// class does not have is added, and `*result` becomes nullptr. A Nil class changes nothing and
// stores nullptr. The replacement must have the hooked method's signature.
void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result);

// Typed form: hooks only when `replacement` has the signature the method was registered with
// (or the method is new), so `*result` can be called with that same type. On a mismatch
// nothing is hooked and `*result` becomes nullptr.
template <typename R, typename... Args>
void MSHookMessageEx(Class cls, SEL selector, R (*replacement)(Args...), R (**result)(Args...)) {
  using Function = R(Args...);
  if (result) *result = nullptr;
  if (!cls) return;
  auto signature = cls->signatureForSelector(selector);
  if (signature && *signature != std::type_index(typeid(Function))) return;
  IMP previous = cls->methodForSelector(selector);
  if (result) *result = reinterpret_cast<Function*>(previous);
  cls->setMethod(selector, imp_cast(replacement), std::type_index(typeid(Function)));
}
