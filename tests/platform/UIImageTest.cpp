// UIImage decodes real PNG data (made here with cairo) and refuses anything else.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "UIKit/UIImage.h"
#include "support/ScopedTestDevice.h"

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<Foundation::Data*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// A PNG of `width` × `height` pixels in `format`, given row by row as cairo words.
Foundation::Data makePng(cairo_format_t format, int width, int height,
                         const std::vector<std::uint32_t>& pixels) {
  cairo_surface_t* surface = cairo_image_surface_create(format, width, height);
  cairo_surface_flush(surface);
  unsigned char* bytes = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(bytes + y * stride);
    for (int x = 0; x < width; ++x) row[x] = pixels[static_cast<std::size_t>(y * width + x)];
  }
  cairo_surface_mark_dirty(surface);
  Foundation::Data png;
  EXPECT_EQ(cairo_surface_write_to_png_stream(surface, appendBytes, &png), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
  return png;
}

const std::vector<std::uint32_t> kPixels = {
    0xFFFF0000u, 0x80008000u, 0x00000000u,  // opaque red, half-covered green, nothing
    0xFFFFFFFFu, 0xFF0000FFu, 0xFF000000u,  // white, blue, black
};

TEST(UIImageTest, DecodesPngPixelsAndSize) {
  auto image = UIImage::imageWithData(makePng(CAIRO_FORMAT_ARGB32, 3, 2, kPixels));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->size(), CGSizeMake(3, 2));
  EXPECT_EQ(image->pixelWidth(), 3);
  EXPECT_EQ(image->pixelHeight(), 2);
  EXPECT_EQ(image->pixels(), kPixels);
  EXPECT_EQ(image->pixelAt(1, 1), 0xFF0000FFu);
  EXPECT_EQ(image->pixelAt(3, 0), 0u);  // outside: transparent, never a read past the end
  EXPECT_EQ(image->pixelAt(0, -1), 0u);

  // An image without alpha comes back opaque.
  auto opaque =
      UIImage::imageWithData(makePng(CAIRO_FORMAT_RGB24, 2, 1, {0x00123456u, 0x00FFFFFFu}));
  ASSERT_NE(opaque, nullptr);
  EXPECT_EQ(opaque->pixels(), (std::vector<std::uint32_t>{0xFF123456u, 0xFFFFFFFFu}));
}

TEST(UIImageTest, DataThatIsNoImageGivesNoImage) {
  const Foundation::Data png = makePng(CAIRO_FORMAT_ARGB32, 3, 2, kPixels);
  Foundation::Data truncated(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
  Foundation::Data corrupted = png;
  corrupted[corrupted.size() - 20] ^= 0xFF;  // inside the image data: its checksum fails
  const std::string text = "not an image at all";
  struct Case {
    const char* name;
    Foundation::Data data;
  } cases[] = {
      {"empty", {}},
      {"text", Foundation::Data(text.begin(), text.end())},
      {"signature only", Foundation::Data(png.begin(), png.begin() + 8)},
      {"truncated", truncated},
      {"corrupted", corrupted},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UIImage::imageWithData(c.data), nullptr) << c.name;
  }
}

TEST(UIImageTest, ImageNamedReadsThroughTheDeviceFileSystem) {
  ScopedTestDevice device;
  DeviceFileSystem& files = device.device().fileSystem();
  const std::string folder = "/var/mobile/Library/Preferences/GyrowhirlPrefs";
  ASSERT_TRUE(files.writeAtomically(folder + "/SettingsBannerGWH.png",
                                    makePng(CAIRO_FORMAT_ARGB32, 3, 2, kPixels)));
  const std::string text = "plain text";
  ASSERT_TRUE(
      files.writeAtomically(folder + "/notes.png", Foundation::Data(text.begin(), text.end())));

  auto banner = UIImage::imageNamed(folder + "/SettingsBannerGWH.png");
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->size(), CGSizeMake(3, 2));
  EXPECT_NE(UIImage::imageNamed(folder + "/SettingsBannerGWH"), nullptr);
  EXPECT_EQ(UIImage::imageNamed(folder + "/missing.png"), nullptr);
  EXPECT_EQ(UIImage::imageNamed(folder + "/notes.png"), nullptr);
  EXPECT_EQ(UIImage::imageWithContentsOfFile(folder), nullptr);  // a folder
}

}  // namespace
