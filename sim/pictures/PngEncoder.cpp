#include "sim/pictures/PngEncoder.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>

namespace sim {
namespace {

// Where libpng's output goes; plain data only, since libpng reports errors by longjmp.
struct Output {
  std::vector<std::uint8_t>* bytes;
  bool failed;
};

// Called from inside libpng: nothing may be thrown through it.
void writeBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Output*>(png_get_io_ptr(png));
  if (out->failed) return;
  try {
    out->bytes->insert(out->bytes->end(), data, data + length);
  } catch (...) {
    out->failed = true;
  }
}

void flushNothing(png_structp) {}

// A premultiplied component back to straight, rounded as cairo's writer does.
std::uint8_t straight(std::uint32_t component, std::uint32_t alpha) {
  return static_cast<std::uint8_t>((component * 255 + alpha / 2) / alpha);
}

// The rows of `frame` in PNG's byte order (RGB, or RGBA with straight alpha), one after
// another.
std::vector<std::uint8_t> pngRows(const RenderedFrame& frame, bool opaque) {
  const std::size_t channels = opaque ? 3 : 4;
  std::vector<std::uint8_t> rows(frame.pixels.size() * channels);
  std::uint8_t* out = rows.data();
  for (const std::uint32_t argb : frame.pixels) {
    const std::uint32_t a = argb >> 24;
    std::uint32_t r = (argb >> 16) & 0xFF;
    std::uint32_t g = (argb >> 8) & 0xFF;
    std::uint32_t b = argb & 0xFF;
    if (opaque) {
      *out++ = static_cast<std::uint8_t>(r);
      *out++ = static_cast<std::uint8_t>(g);
      *out++ = static_cast<std::uint8_t>(b);
      continue;
    }
    if (a == 0) {
      r = g = b = 0;
    } else if (a != 0xFF) {
      r = straight(r, a);
      g = straight(g, a);
      b = straight(b, a);
    }
    *out++ = static_cast<std::uint8_t>(r);
    *out++ = static_cast<std::uint8_t>(g);
    *out++ = static_cast<std::uint8_t>(b);
    *out++ = static_cast<std::uint8_t>(a);
  }
  return rows;
}

// libpng's part, free of anything with a destructor between setjmp and a longjmp.
bool writePng(const RenderedFrame& frame, bool opaque, int zlibLevel, png_bytepp rowPointers,
              Output& output) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &output, writeBytes, flushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width),
               static_cast<png_uint_32>(frame.height), 8,
               opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, std::clamp(zlibLevel, 0, 9));
  png_set_filter(png, PNG_FILTER_TYPE_BASE, zlibLevel < 2 ? PNG_FILTER_NONE : PNG_ALL_FILTERS);
  png_set_rows(png, info, rowPointers);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> PngEncoder::encode(const RenderedFrame& frame, int zlibLevel) {
  std::vector<std::uint8_t> bytes;
  if (frame.width <= 0 || frame.height <= 0 ||
      frame.pixels.size() !=
          static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height)) {
    return bytes;
  }
  const bool opaque = std::all_of(frame.pixels.begin(), frame.pixels.end(),
                                  [](std::uint32_t argb) { return (argb >> 24) == 0xFF; });
  std::vector<std::uint8_t> rows = pngRows(frame, opaque);
  const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * (opaque ? 3 : 4);
  std::vector<png_bytep> rowPointers(static_cast<std::size_t>(frame.height));
  for (std::size_t y = 0; y < rowPointers.size(); ++y) rowPointers[y] = rows.data() + y * rowBytes;
  // Room for the rows stored uncompressed, so that the buffer is not grown while libpng writes.
  bytes.reserve(rows.size() + rows.size() / 1024 + 1024);
  Output output{&bytes, false};
  if (!writePng(frame, opaque, zlibLevel, rowPointers.data(), output) || output.failed) {
    bytes.clear();
  }
  return bytes;
}

}  // namespace sim
