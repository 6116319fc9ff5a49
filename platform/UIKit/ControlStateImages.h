// A button's images by control state, as UIButton keeps them on the simulated device and on the
// real one.
#pragma once

#include <map>
#include <memory>

#include "UIKit/UIControl.h"

class UIImage;

namespace gw::uikit {

using ControlStateImages = std::map<UIControlState, std::shared_ptr<UIImage>>;

// Sets the image for `state`; a null image removes it, so the state falls back to normal's.
inline void storeImage(ControlStateImages& images, std::shared_ptr<UIImage> image,
                       UIControlState state) {
  if (image) {
    images[state] = std::move(image);
  } else {
    images.erase(state);
  }
}

// The image for `state`, else the one for UIControlStateNormal, else null.
inline std::shared_ptr<UIImage> imageFor(const ControlStateImages& images, UIControlState state) {
  if (auto it = images.find(state); it != images.end()) return it->second;
  if (auto it = images.find(UIControlStateNormal); it != images.end()) return it->second;
  return nullptr;
}

}  // namespace gw::uikit
