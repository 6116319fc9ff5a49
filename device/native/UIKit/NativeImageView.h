// UIImageView for the device face.
#pragma once

#include "native/NativeObject.h"

namespace gw::native::imageview {

// setImage: with a native UIImage (empty for none).
void setImage(const Object& imageView, const Object& image);

}  // namespace gw::native::imageview
