// What the product needs of the process it is loaded into, on a device: there is one process,
// so a ProcessStatic is a value made on first use that lives as long as the process (never
// destroyed: code running during exit may still reach it), and a library initialiser runs when
// dyld loads the image it is in, in ascending `order` among that image's initialisers.
//
// Both are constant-initialised, so nothing here depends on the order in which the image's C++
// static initialisers run: each GW_LIBRARY_INITIALISER entry is constant data in the image's
// section __DATA,__gw_init, and one load-time constructor of the image (LibraryInitialisers.cpp)
// sorts and runs them.
#pragma once

#include <mutex>

namespace gw {

// A value that exists once per process, value-initialised (or made by `make`) the first time
// it is asked for. Declare it with static storage duration.
template <typename T>
class ProcessStatic {
 public:
  constexpr ProcessStatic() = default;
  // `make` is a plain function (a lambda without captures converts to one).
  constexpr explicit ProcessStatic(T (*make)()) : make_(make) {}
  ProcessStatic(const ProcessStatic&) = delete;
  ProcessStatic& operator=(const ProcessStatic&) = delete;

  T& get() const {
    std::call_once(once_, [this] { value_ = make_ ? new T(make_()) : new T(); });
    return *value_;
  }
  T* operator->() const { return &get(); }
  T& operator*() const { return get(); }

 private:
  T (*make_)() = nullptr;
  mutable std::once_flag once_;
  mutable T* value_ = nullptr;
};

namespace detail {
// One load-time initialiser of an image.
struct LibraryInitialiser {
  const char* library;
  int order;
  void (*function)();
};
}  // namespace detail

}  // namespace gw

#define GW_LIBRARY_INITIALISER_CAT2(a, b) a##b
#define GW_LIBRARY_INITIALISER_CAT(a, b) GW_LIBRARY_INITIALISER_CAT2(a, b)
// GW_LIBRARY_INITIALISER("Gyrowhirl", 1, installHook): runs installHook when the image is
// loaded into the process, after its initialisers of lower `order`.
#define GW_LIBRARY_INITIALISER(library, order, function)                                       \
  [[gnu::used,                                                                                 \
    gnu::section("__DATA,__gw_init")]] constinit static const ::gw::detail::LibraryInitialiser \
  GW_LIBRARY_INITIALISER_CAT(gwLibraryInitialiser_, __LINE__) = {library, order, function}
