// Wraps the Objective-C runtime: objc_getClass, sel_registerName, class_getInstanceMethod,
// method_getImplementation.
#include "native/ObjCRuntime/NativeRuntime.h"

#include <objc/runtime.h>

namespace gw::native::objcruntime {

const void* getClass(const char* name) {
  if (name == nullptr) return nullptr;
  return (__bridge const void*)objc_getClass(name);
}

void (*instanceMethodImplementation(const void* cls, const std::string& selector))() {
  if (cls == nullptr) return nullptr;
  Method method = class_getInstanceMethod((__bridge Class)cls, sel_registerName(selector.c_str()));
  return method ? reinterpret_cast<void (*)()>(method_getImplementation(method)) : nullptr;
}

}  // namespace gw::native::objcruntime
