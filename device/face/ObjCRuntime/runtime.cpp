#include "ObjCRuntime/runtime.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "native/ObjCRuntime/NativeRuntime.h"

namespace {

// The face's class objects, one per runtime class, for the life of the process.
struct ClassWrappers {
  std::mutex mutex;
  std::map<const void*, std::unique_ptr<ObjCClass>> byNativeClass;
};

ClassWrappers& classWrappers() {
  static ClassWrappers* const wrappers = new ClassWrappers();
  return *wrappers;
}

}  // namespace

IMP ObjCClass::methodForSelector(SEL selector) const {
  return gw::native::objcruntime::instanceMethodImplementation(nativeClass_, std::string(selector));
}

Class objc_getClass(const char* name) {
  const void* nativeClass = gw::native::objcruntime::getClass(name);
  if (nativeClass == nullptr) return nullptr;
  ClassWrappers& wrappers = classWrappers();
  std::lock_guard<std::mutex> lock(wrappers.mutex);
  std::unique_ptr<ObjCClass>& wrapper = wrappers.byNativeClass[nativeClass];
  if (!wrapper) wrapper = std::make_unique<ObjCClass>(name, nativeClass);
  return wrapper.get();
}

IMP class_getMethodImplementation(Class cls, SEL selector) {
  return cls ? cls->methodForSelector(selector) : nullptr;
}
