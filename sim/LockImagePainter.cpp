#include "sim/LockImagePainter.h"

#include <cairo.h>

#include <numbers>

namespace sim {
namespace {

cairo_status_t appendToVector(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

void roundedRectangle(cairo_t* cr, double x, double y, double w, double h, double r) {
  constexpr double kQuarter = std::numbers::pi / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kQuarter, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kQuarter);
  cairo_arc(cr, x + r, y + h - r, r, kQuarter, 2 * kQuarter);
  cairo_arc(cr, x + r, y + r, r, 2 * kQuarter, 3 * kQuarter);
  cairo_close_path(cr);
}

}  // namespace

std::vector<std::uint8_t> LockImagePainter::padlockPng(int sizePixels) {
  std::vector<std::uint8_t> png;
  if (sizePixels <= 0) return png;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sizePixels, sizePixels);
  cairo_t* cr = cairo_create(surface);
  // Drawn on a 100 × 100 canvas, scaled to the requested size.
  cairo_scale(cr, sizePixels / 100.0, sizePixels / 100.0);

  // The shackle: a thick arc over the body.
  cairo_set_source_rgba(cr, 0.15, 0.15, 0.17, 1.0);
  cairo_set_line_width(cr, 9);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_move_to(cr, 33, 48);
  cairo_line_to(cr, 33, 36);
  cairo_arc(cr, 50, 36, 17, std::numbers::pi, 2 * std::numbers::pi);
  cairo_line_to(cr, 67, 48);
  cairo_stroke(cr);

  // The body.
  roundedRectangle(cr, 22, 46, 56, 40, 7);
  cairo_fill(cr);

  // The keyhole, cut out of the body.
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_arc(cr, 50, 61, 6, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
  cairo_move_to(cr, 47, 63);
  cairo_line_to(cr, 53, 63);
  cairo_line_to(cr, 55, 76);
  cairo_line_to(cr, 45, 76);
  cairo_close_path(cr);
  cairo_fill(cr);

  cairo_surface_flush(surface);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_write_to_png_stream(surface, appendToVector, &png) != CAIRO_STATUS_SUCCESS) {
    png.clear();
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return png;
}

}  // namespace sim
