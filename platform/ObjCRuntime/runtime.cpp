#include "ObjCRuntime/runtime.h"

#include "ObjCRuntime/ObjCClassRegistry.h"

Class objc_getClass(const char* name) {
  if (!name) return nullptr;
  return ObjCClassRegistry::current().lookUp(name);
}

IMP class_getMethodImplementation(Class cls, SEL selector) {
  return cls ? cls->methodForSelector(selector) : nullptr;
}
