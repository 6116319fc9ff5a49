// UIKit's image: decoded pixels. imageWithData decodes PNG data for real; data that is not an
// image gives no image (null), never a blank one.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/Value.h"

class UIImage {
 public:
  // Pixels are 32-bit native-endian words 0xAARRGGBB with premultiplied alpha (cairo's
  // ARGB32), row by row from the top, width × height of them.
  UIImage(int pixelWidth, int pixelHeight, std::vector<std::uint32_t> pixels, CGFloat scale = 1);

  // imageWithData: — null when the data is not a decodable image.
  static std::shared_ptr<UIImage> imageWithData(const Foundation::Data& data);
  // imageWithContentsOfFile: / imageNamed: with a full device path, read through the current
  // device's file system. A path without an extension also tries ".png". Null when the file
  // is missing or is not an image.
  static std::shared_ptr<UIImage> imageWithContentsOfFile(std::string_view path);
  static std::shared_ptr<UIImage> imageNamed(std::string_view path) {
    return imageWithContentsOfFile(path);
  }

  CGSize size() const { return {pixelWidth_ / scale_, pixelHeight_ / scale_}; }  // points
  CGFloat scale() const { return scale_; }
  int pixelWidth() const { return pixelWidth_; }
  int pixelHeight() const { return pixelHeight_; }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }
  // The pixel at column x, row y; 0 (transparent) outside the image.
  std::uint32_t pixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixelWidth_ || y >= pixelHeight_) return 0;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(pixelWidth_) +
                   static_cast<std::size_t>(x)];
  }

 private:
  int pixelWidth_;
  int pixelHeight_;
  std::vector<std::uint32_t> pixels_;
  CGFloat scale_;
};
