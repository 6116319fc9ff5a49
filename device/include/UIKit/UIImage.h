// UIKit's image on the device: a native UIImage. Data that is not an image gives no image
// (null), never a blank one.
#pragma once

#include <memory>
#include <string_view>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/Value.h"
#include "native/NativeObject.h"

namespace gw::uikit {
struct Access;
}

class UIImage {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  UIImage(Passkey, gw::native::Object image) : native_(std::move(image)) {}

  // imageWithData: — null when the data is not a decodable image.
  static std::shared_ptr<UIImage> imageWithData(const Foundation::Data& data);
  // imageWithContentsOfFile: / imageNamed: with a full path. A path without an extension also
  // tries ".png". Null when the file is missing or is not an image.
  static std::shared_ptr<UIImage> imageWithContentsOfFile(std::string_view path);
  static std::shared_ptr<UIImage> imageNamed(std::string_view path) {
    return imageWithContentsOfFile(path);
  }

  CGSize size() const;  // points
  CGFloat scale() const;
  int pixelWidth() const;
  int pixelHeight() const;

 private:
  friend struct gw::uikit::Access;
  gw::native::Object native_;
};
