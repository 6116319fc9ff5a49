// Wraps CoreFoundation's CFRetain/CFRelease, which work on every Objective-C object.
#include "NativeObject.h"

#include <CoreFoundation/CoreFoundation.h>

namespace gw::native {

Object Object::retaining(const void* object) {
  Object result;
  if (object) result.object_ = CFRetain(object);
  return result;
}

Object::Object(const Object& other) : object_(other.object_) {
  if (object_) CFRetain(object_);
}

Object::~Object() {
  if (object_) CFRelease(object_);
}

}  // namespace gw::native
