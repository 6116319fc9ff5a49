// A strong reference to an Objective-C object, for code that must not see Apple's headers (the
// device face's implementation, whose class names are the frameworks' own). Copying retains,
// destruction releases, as ARC would; an empty Object stands for nil.
//
// Native code makes one from an object with Object::retaining((__bridge const void*)object)
// and gets the object back with (__bridge T*)handle.get().
#pragma once

#include <utility>

namespace gw::native {

class Object {
 public:
  Object() = default;
  // Takes a new strong reference to `object` (may be null).
  static Object retaining(const void* object);

  Object(const Object& other);
  Object(Object&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Object& operator=(Object other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Object();

  const void* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  friend bool operator==(const Object& a, const Object& b) { return a.object_ == b.object_; }

 private:
  const void* object_ = nullptr;
};

}  // namespace gw::native
