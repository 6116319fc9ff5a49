// The Mach-O image a piece of code was loaded from, for code that must not see Apple's headers.
#pragma once

#include <cstddef>

namespace gw::native::runtime {

struct SectionBytes {
  const void* data = nullptr;
  std::size_t size = 0;
};

// The contents of section `segment`,`section` of the loaded image whose Mach-O header is at
// `imageHeader` (an image's own header is its `__dso_handle`); empty when it has none.
SectionBytes imageSection(const void* imageHeader, const char* segment, const char* section);

}  // namespace gw::native::runtime
