// UIImage on the native image (native/UIKit/NativeImage.h).
#include "UIKit/UIImage.h"

#include <cmath>
#include <string>

#include "native/UIKit/NativeImage.h"

namespace ni = gw::native::image;

std::shared_ptr<UIImage> UIImage::imageWithData(const Foundation::Data& data) {
  gw::native::Object image = ni::withData(data.data(), data.size());
  if (!image) return nullptr;
  return std::make_shared<UIImage>(Passkey(), std::move(image));
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(std::string_view path) {
  gw::native::Object image = ni::withContentsOfFile(std::string(path));
  const std::string_view name = path.substr(path.rfind('/') + 1);  // npos + 1 == 0
  if (!image && name.find('.') == std::string_view::npos) {
    image = ni::withContentsOfFile(std::string(path) + ".png");
  }
  if (!image) return nullptr;
  return std::make_shared<UIImage>(Passkey(), std::move(image));
}

CGSize UIImage::size() const {
  const gw::native::Size s = ni::size(native_);
  return {s.width, s.height};
}

CGFloat UIImage::scale() const {
  return ni::scale(native_);
}

int UIImage::pixelWidth() const {
  return static_cast<int>(std::lround(size().width * scale()));
}

int UIImage::pixelHeight() const {
  return static_cast<int>(std::lround(size().height * scale()));
}
