#include "Runtime/ProcessStatic.h"

#include "Device/Process.h"

namespace gw::detail {

void* processStaticSlot(const void* key, const std::function<std::shared_ptr<void>()>& make) {
  return Process::current().localSlot(key, make);
}

bool declareLibraryInitialiser(const std::string& library, int order, void (*initialiser)()) {
  return LibraryInitialisers::declare(library, order, initialiser);
}

}  // namespace gw::detail
