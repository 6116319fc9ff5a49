// UIDevice for the device face: the device's idiom.
#pragma once

#include <cstdint>

namespace gw::native::device {

// [UIDevice currentDevice].userInterfaceIdiom, a UIUserInterfaceIdiom value.
std::int64_t userInterfaceIdiom();

}  // namespace gw::native::device
