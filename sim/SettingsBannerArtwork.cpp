#include "sim/SettingsBannerArtwork.h"

#include <cairo.h>

#include <numbers>

#include "Device/DeviceFileSystem.h"
#include "sim/CairoCanvas.h"

namespace sim {
namespace {

// An outlined phone of 24 × 44 units centred on the origin.
void phoneOutline(cairo_t* cr) {
  CairoCanvas::roundedRectangle(cr, -12, -22, 24, 44, 4);
  cairo_stroke(cr);
  cairo_arc(cr, 0, 17, 1.8, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

}  // namespace

std::vector<std::uint8_t> SettingsBannerArtwork::bannerPng(int widthPixels, int heightPixels) {
  if (widthPixels <= 0 || heightPixels <= 0) return {};
  CairoCanvas canvas = CairoCanvas::image(widthPixels, heightPixels);
  cairo_t* cr = canvas.context();
  // Drawn on a 375 × 150 canvas, scaled to the requested size.
  const double width = 375;
  const double height = 150;
  cairo_scale(cr, widthPixels / width, heightPixels / height);

  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, width, height);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.09, 0.11, 0.22);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.22, 0.10, 0.30);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);

  // Faint rings behind the phones, the whirl of the name.
  cairo_set_line_width(cr, 1.5);
  for (int ring = 1; ring <= 4; ++ring) {
    cairo_set_source_rgba(cr, 1, 1, 1, 0.05 * (5 - ring));
    cairo_arc(cr, width * 0.82, height * 0.55, 14.0 * ring, 0, 2 * std::numbers::pi);
    cairo_stroke(cr);
  }

  // The phone upright, then turned a quarter, joined by an arrow along the turn.
  cairo_set_line_width(cr, 2.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_save(cr);
  cairo_translate(cr, width * 0.70, height * 0.55);
  phoneOutline(cr);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
  cairo_save(cr);
  cairo_translate(cr, width * 0.90, height * 0.55);
  cairo_rotate(cr, std::numbers::pi / 2);
  phoneOutline(cr);
  cairo_restore(cr);
  cairo_arc(cr, width * 0.80, height * 0.55, 30, -std::numbers::pi * 0.85, -std::numbers::pi * 0.2);
  cairo_stroke(cr);

  return canvas.pngData();
}

bool SettingsBannerArtwork::install(DeviceFileSystem& files, std::string& error) {
  const std::vector<std::uint8_t> png = bannerPng();
  std::string reason;
  if (png.empty() || !files.writeAtomically(kBannerPath, png, &reason)) {
    error = std::string("cannot write the settings banner ") + kBannerPath +
            (reason.empty() ? std::string() : ": " + reason);
    return false;
  }
  return true;
}

}  // namespace sim
