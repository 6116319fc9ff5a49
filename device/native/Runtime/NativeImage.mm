// Wraps getsectiondata (<mach-o/getsect.h>): a section of a loaded image, as dyld mapped it.
#include "native/Runtime/NativeImage.h"

#include <mach-o/getsect.h>
#include <mach-o/loader.h>

namespace gw::native::runtime {

SectionBytes imageSection(const void* imageHeader, const char* segment, const char* section) {
  if (imageHeader == nullptr) return {};
  unsigned long size = 0;
  const uint8_t* data = getsectiondata(static_cast<const struct mach_header_64*>(imageHeader),
                                       segment, section, &size);
  if (data == nullptr) return {};
  return {data, static_cast<std::size_t>(size)};
}

}  // namespace gw::native::runtime
