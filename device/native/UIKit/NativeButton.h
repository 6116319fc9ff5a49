// UIButton for the device face: the image and background image of each control state.
#pragma once

#include <cstdint>

#include "native/NativeObject.h"

namespace gw::native::button {

// setBackgroundImage:forState: / setImage:forState: with a native UIImage (empty for none).
void setBackgroundImage(const Object& button, const Object& image, std::uint64_t state);
void setImage(const Object& button, const Object& image, std::uint64_t state);

}  // namespace gw::native::button
