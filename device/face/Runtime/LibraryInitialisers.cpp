// Runs the image's GW_LIBRARY_INITIALISER entries when dyld loads it.
//
// Mach-O gives no order between the load-time constructors of different object files (a
// constructor priority orders them only within one file), so each initialiser is an entry of
// constant data in the image's section __DATA,__gw_init, and this one constructor runs them
// all, in ascending order (entries of equal order in link order). Being constant data, the
// entries need no C++ static initialiser to have run first; nor do the ProcessStatic values
// they reach, which are constant-initialised and made on first use.
#include <algorithm>
#include <vector>

#include "Runtime/ProcessStatic.h"
#include "native/Runtime/NativeImage.h"

// The Mach-O header of the image this file is linked into.
extern "C" const char __dso_handle;

namespace {

__attribute__((constructor)) void runLibraryInitialisers() {
  using gw::detail::LibraryInitialiser;
  const gw::native::runtime::SectionBytes section =
      gw::native::runtime::imageSection(&__dso_handle, "__DATA", "__gw_init");
  const auto* first = static_cast<const LibraryInitialiser*>(section.data);
  std::vector<LibraryInitialiser> entries(first, first + section.size / sizeof(LibraryInitialiser));
  std::stable_sort(
      entries.begin(), entries.end(),
      [](const LibraryInitialiser& a, const LibraryInitialiser& b) { return a.order < b.order; });
  for (const LibraryInitialiser& entry : entries) {
    if (entry.function != nullptr) entry.function();
  }
}

}  // namespace
