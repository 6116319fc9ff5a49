// Draws the package's pictures into a folder, with the painters the simulator uses for the same
// files on its simulated device:
//   lock.png               the floating button's padlock (150 × 150 pixels)
//   SettingsBannerGWH.png  the settings pane's banner (750 × 300)
//   icon.png, icon@2x.png, icon@3x.png   the Settings menu icon (29 points: a white padlock
//                          on the banner's colours)
// The results are kept in device/package/images/; see README "Build the package".
//
//   gyrowhirl-package-artwork FOLDER
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim/pictures/CairoCanvas.h"
#include "sim/pictures/LockImagePainter.h"
#include "sim/pictures/SettingsBannerArtwork.h"

namespace {

constexpr int kIconPoints = 29;

struct PngReader {
  const std::vector<std::uint8_t>* bytes;
  std::size_t offset = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<PngReader*>(closure);
  if (reader->bytes->size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->bytes->data() + reader->offset, length);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

// The padlock's shape in white on a rounded square of the banner's colours.
std::vector<std::uint8_t> iconPng(int sizePixels) {
  const std::vector<std::uint8_t> padlock = sim::LockImagePainter::padlockPng(sizePixels);
  if (padlock.empty()) return {};
  PngReader reader{&padlock};
  cairo_surface_t* shape = cairo_image_surface_create_from_png_stream(readPng, &reader);
  sim::CairoCanvas canvas = sim::CairoCanvas::image(sizePixels, sizePixels);
  cairo_t* cr = canvas.context();
  const double size = sizePixels;
  cairo_pattern_t* background = cairo_pattern_create_linear(0, 0, size, size);
  cairo_pattern_add_color_stop_rgb(background, 0, 0.09, 0.11, 0.22);
  cairo_pattern_add_color_stop_rgb(background, 1, 0.22, 0.10, 0.30);
  cairo_set_source(cr, background);
  sim::CairoCanvas::roundedRectangle(cr, 0, 0, size, size, size * 0.22);
  cairo_fill(cr);
  cairo_pattern_destroy(background);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_mask_surface(cr, shape, 0, 0);
  const bool ok = cairo_surface_status(shape) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(shape);
  return ok ? canvas.pngData() : std::vector<std::uint8_t>{};
}

bool write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) {
    std::fprintf(stderr, "gyrowhirl-package-artwork: cannot draw %s\n", path.c_str());
    return false;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.good()) {
    std::fprintf(stderr, "gyrowhirl-package-artwork: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 64;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  bool ok = write(folder / "lock.png", sim::LockImagePainter::padlockPng());
  ok = write(folder / "SettingsBannerGWH.png", sim::SettingsBannerArtwork::bannerPng()) && ok;
  ok = write(folder / "icon.png", iconPng(kIconPoints)) && ok;
  ok = write(folder / "icon@2x.png", iconPng(2 * kIconPoints)) && ok;
  ok = write(folder / "icon@3x.png", iconPng(3 * kIconPoints)) && ok;
  return ok ? 0 : 1;
}
