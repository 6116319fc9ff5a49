#include "UIKit/UIImage.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"

namespace {

struct ByteReader {
  const Foundation::Data& data;
  std::size_t offset = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* out, unsigned int length) {
  auto* reader = static_cast<ByteReader*>(closure);
  if (reader->data.size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, reader->data.data() + reader->offset, length);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

UIImage::UIImage(int pixelWidth, int pixelHeight, std::vector<std::uint32_t> pixels, CGFloat scale)
    : pixelWidth_(std::max(0, pixelWidth)),
      pixelHeight_(std::max(0, pixelHeight)),
      pixels_(std::move(pixels)),
      scale_(scale > 0 ? scale : 1) {
  pixels_.resize(static_cast<std::size_t>(pixelWidth_) * static_cast<std::size_t>(pixelHeight_));
}

std::shared_ptr<UIImage> UIImage::imageWithData(const Foundation::Data& data) {
  if (data.size() < sizeof kPngSignature ||
      !std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin())) {
    return nullptr;
  }
  ByteReader reader{data};
  cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(readBytes, &reader);
  if (cairo_surface_status(decoded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(decoded);
    return nullptr;
  }
  const int width = cairo_image_surface_get_width(decoded);
  const int height = cairo_image_surface_get_height(decoded);
  // Whatever format the decoder chose (RGB24, A8...), draw it onto one ARGB32 surface.
  cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(argb);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, decoded, 0, 0);
  cairo_paint(cr);
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_destroy(decoded);
  if (!drawn || cairo_surface_status(argb) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(argb);
    return nullptr;
  }
  cairo_surface_flush(argb);
  const unsigned char* bytes = cairo_image_surface_get_data(argb);
  const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(argb));
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) *
                                    static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    std::memcpy(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                bytes + static_cast<std::size_t>(y) * stride,
                static_cast<std::size_t>(width) * sizeof(std::uint32_t));
  }
  cairo_surface_destroy(argb);
  return std::make_shared<UIImage>(width, height, std::move(pixels));
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(std::string_view path) {
  DeviceFileSystem& files = Device::current().fileSystem();
  auto bytes = files.read(path);
  const std::string_view name = path.substr(path.rfind('/') + 1);  // npos + 1 == 0
  if (!bytes && name.find('.') == std::string_view::npos) {
    bytes = files.read(std::string(path) + ".png");
  }
  return bytes ? imageWithData(*bytes) : nullptr;
}
