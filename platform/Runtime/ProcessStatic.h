// What the product needs of the process it is loaded into, under names that hold on the device
// too: statics that live as long as the process, and load-time initialisers run in a fixed order.
//
// On the simulated device several processes share one host, so each simulated process keeps
// its own copy of every ProcessStatic (made on first use, destroyed in reverse order when that
// process ends, so a respring starts fresh) and the loader runs a library's initialisers each
// time the library is loaded into a process. On a device the same header would reduce to plain
// function-local statics and `__attribute__((constructor))` functions ordered by `order`; nothing
// here names a simulated process.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace gw {

namespace detail {
// The current process's slot for `key`, made by `make` on first use.
void* processStaticSlot(const void* key, const std::function<std::shared_ptr<void>()>& make);
bool declareLibraryInitialiser(const std::string& library, int order, void (*initialiser)());
}  // namespace detail

// A value that exists once per process, default-constructed (or made by `make`) the first
// time the process asks for it. Declare it with static storage duration.
template <typename T>
class ProcessStatic {
 public:
  ProcessStatic() = default;
  explicit ProcessStatic(std::function<T()> make) : make_(std::move(make)) {}
  T& get() const {
    void* slot = detail::processStaticSlot(this, [this]() -> std::shared_ptr<void> {
      return make_ ? std::make_shared<T>(make_()) : std::make_shared<T>();
    });
    return *static_cast<T*>(slot);
  }
  T* operator->() const { return &get(); }
  T& operator*() const { return get(); }

 private:
  std::function<T()> make_;
};

}  // namespace gw

#define GW_LIBRARY_INITIALISER_CAT2(a, b) a##b
#define GW_LIBRARY_INITIALISER_CAT(a, b) GW_LIBRARY_INITIALISER_CAT2(a, b)
// GW_LIBRARY_INITIALISER("Gyrowhirl", 1, installHook): runs installHook when the library named
// "Gyrowhirl" is loaded into a process, after its initialisers of lower `order`.
#define GW_LIBRARY_INITIALISER(library, order, function)                                           \
  [[maybe_unused]] static const bool GW_LIBRARY_INITIALISER_CAT(gwLibraryInitialiser_, __LINE__) = \
      ::gw::detail::declareLibraryInitialiser(library, order, function)
