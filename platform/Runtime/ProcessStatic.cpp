#include "Runtime/ProcessStatic.h"

// Device/Process.h declares the same macro for the simulator's own libraries, over the same
// registry; its definition is the one that counts from here on.
#undef GW_LIBRARY_INITIALISER
#include "Device/Process.h"

namespace gw::detail {

void* processStaticSlot(const void* key, const std::function<std::shared_ptr<void>()>& make) {
  return Process::current().localSlot(key, make);
}

bool declareLibraryInitialiser(const std::string& library, int order, void (*initialiser)()) {
  return LibraryInitialisers::declare(library, order, initialiser);
}

}  // namespace gw::detail
