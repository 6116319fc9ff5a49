// The page's pictures as PNG: what a decoder reads back is the rendered picture, its
// premultiplied pixels made straight, at every compression level.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <vector>

#include "sim/pictures/PngEncoder.h"

namespace sim {
namespace {

// The PNG's pixels as straight RGBA bytes, row by row; empty when it cannot be read.
std::vector<std::uint8_t> decoded(const std::vector<std::uint8_t>& png, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  std::vector<std::uint8_t> pixels;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return pixels;
  image.format = PNG_FORMAT_RGBA;
  pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return pixels;
}

TEST(PngEncoderTest, ThePictureReadsBackAsDrawnAtEveryLevel) {
  struct Case {
    const char* what;
    std::vector<std::uint32_t> argb;  // 3 × 2, premultiplied
    std::vector<std::uint8_t> rgba;   // straight
    int colorType;                    // 2: RGB, 6: RGB with alpha
  };
  const Case cases[] = {
      {"opaque: stored without alpha",
       {0xFF102030, 0xFFFFFFFF, 0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF},
       {0x10, 0x20, 0x30, 255, 255, 255, 255, 255, 0, 0, 0,   255,
        255,  0,    0,    255, 0,   255, 0,   255, 0, 0, 255, 255},
       2},
      {"translucent: made straight, rounded to nearest",
       {0x80402010, 0x00000000, 0xFF102030, 0x01010101, 0x7F7F0000, 0xC0604020},
       {0x80, 0x40, 0x20, 0x80, 0,   0, 0, 0,    0x10, 0x20, 0x30, 255,
        255,  255,  255,  1,    255, 0, 0, 0x7F, 0x80, 0x55, 0x2B, 0xC0},
       6},
  };
  for (const Case& c : cases) {
    RenderedFrame frame;
    frame.width = 3;
    frame.height = 2;
    frame.pixels = c.argb;
    for (int level : {PngEncoder::kFastest, PngEncoder::kFast, 6, 9}) {
      SCOPED_TRACE(std::string(c.what) + ", level " + std::to_string(level));
      const std::vector<std::uint8_t> png = PngEncoder::encode(frame, level);
      ASSERT_GT(png.size(), 26u);
      EXPECT_EQ(png[25], c.colorType);  // IHDR's colour type
      int width = 0;
      int height = 0;
      EXPECT_EQ(decoded(png, width, height), c.rgba);
      EXPECT_EQ(width, 3);
      EXPECT_EQ(height, 2);
    }
  }
}

TEST(PngEncoderTest, AFrameWithoutAPictureGivesNothing) {
  RenderedFrame none;
  EXPECT_TRUE(PngEncoder::encode(none, PngEncoder::kFast).empty());
  RenderedFrame mismatched;
  mismatched.width = 4;
  mismatched.height = 4;
  mismatched.pixels.assign(15, 0xFF000000);
  EXPECT_TRUE(PngEncoder::encode(mismatched, PngEncoder::kFast).empty());
}

}  // namespace
}  // namespace sim
