#include "sim/pictures/SettingsBannerArtwork.h"

#include <cairo.h>

#include <algorithm>
#include <numbers>

#include "Device/DeviceFileSystem.h"
#include "sim/pictures/CairoCanvas.h"

namespace sim {
namespace {

// The banner is drawn on a canvas of these units, stretched to the picture's size.
constexpr double kCanvasWidth = 375;
constexpr double kCanvasHeight = 150;
// The pane's header centres its title and subtitle over the middle of the banner, from about
// a fifth of its height down to four fifths; the artwork keeps to the corners below the
// title and to a band under the text: the phone upright on the left, the phone turned on the
// right inside its rings, and the arrow of the turn along the bottom.
constexpr double kUprightX = 44, kUprightY = 118;
constexpr double kTurnedX = 331, kTurnedY = 122;
constexpr double kRingStep = 9;
constexpr int kRings = 3;
constexpr double kArrowLowestY = 146;
constexpr double kArrowFromX = kUprightX + 12, kArrowFromY = kUprightY + 16;
constexpr double kArrowToX = kTurnedX - 26, kArrowToY = kTurnedY + 10;

// An outlined phone of 24 × 44 units centred on the origin.
void phoneOutline(cairo_t* cr) {
  CairoCanvas::roundedRectangle(cr, -12, -22, 24, 44, 4);
  cairo_stroke(cr);
  cairo_arc(cr, 0, 17, 1.8, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

}  // namespace

std::vector<SettingsBannerArtwork::Area> SettingsBannerArtwork::artworkAreas() {
  // In canvas units, with room for the strokes' width.
  const double ringsRadius = kRingStep * kRings + 1;
  const std::vector<Area> units{
      {kUprightX - 14, kUprightY - 24, 28, 48},
      {kTurnedX - ringsRadius, kTurnedY - ringsRadius, 2 * ringsRadius, 2 * ringsRadius},
      {kArrowFromX - 4, std::min(kArrowFromY, kArrowToY) - 2, kArrowToX - kArrowFromX + 6,
       kArrowLowestY + 2 - std::min(kArrowFromY, kArrowToY) + 2},
  };
  std::vector<Area> areas;
  for (const Area& a : units) {
    areas.push_back({a.x / kCanvasWidth, a.y / kCanvasHeight, a.width / kCanvasWidth,
                     a.height / kCanvasHeight});
  }
  return areas;
}

std::vector<std::uint8_t> SettingsBannerArtwork::bannerPng(int widthPixels, int heightPixels) {
  if (widthPixels <= 0 || heightPixels <= 0) return {};
  CairoCanvas canvas = CairoCanvas::image(widthPixels, heightPixels);
  cairo_t* cr = canvas.context();
  const double width = kCanvasWidth;
  const double height = kCanvasHeight;
  cairo_scale(cr, widthPixels / width, heightPixels / height);

  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, width, height);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.09, 0.11, 0.22);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.22, 0.10, 0.30);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);

  // Faint rings about the turned phone, the whirl of the name.
  cairo_set_line_width(cr, 1.5);
  for (int ring = 1; ring <= kRings; ++ring) {
    cairo_set_source_rgba(cr, 1, 1, 1, 0.06 * (kRings + 1 - ring));
    cairo_new_sub_path(cr);
    cairo_arc(cr, kTurnedX, kTurnedY, kRingStep * (ring + 0.0), 0, 2 * std::numbers::pi);
    cairo_stroke(cr);
  }

  // The phone upright, then turned a quarter, joined by an arrow along the turn.
  cairo_set_line_width(cr, 2.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_save(cr);
  cairo_translate(cr, kUprightX, kUprightY);
  phoneOutline(cr);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
  cairo_save(cr);
  cairo_translate(cr, kTurnedX, kTurnedY);
  cairo_rotate(cr, std::numbers::pi / 2);
  phoneOutline(cr);
  cairo_restore(cr);

  cairo_set_line_width(cr, 2);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
  cairo_move_to(cr, kArrowFromX, kArrowFromY);
  cairo_curve_to(cr, kArrowFromX + 40, kArrowLowestY, kArrowToX - 40, kArrowLowestY, kArrowToX,
                 kArrowToY);
  cairo_stroke(cr);
  // The arrowhead, pointing along the curve's end.
  cairo_move_to(cr, kArrowToX - 8, kArrowToY + 1);
  cairo_line_to(cr, kArrowToX, kArrowToY);
  cairo_line_to(cr, kArrowToX - 3, kArrowToY + 8);
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
