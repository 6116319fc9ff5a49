// UIImage for the device face: decoding and size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "native/NativeObject.h"
#include "native/UIKit/NativeTypes.h"

namespace gw::native::image {

// +[UIImage imageWithData:] over a copy of the bytes; empty when they are no image.
Object withData(const std::uint8_t* bytes, std::size_t length);
// +[UIImage imageWithContentsOfFile:]; empty when the file is missing or no image.
Object withContentsOfFile(const std::string& path);
Size size(const Object& image);  // points
double scale(const Object& image);

}  // namespace gw::native::image
