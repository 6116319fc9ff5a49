#include "sim/pictures/LockImagePainter.h"

#include <cairo.h>

#include <numbers>

#include "sim/pictures/CairoCanvas.h"

namespace sim {

std::vector<std::uint8_t> LockImagePainter::padlockPng(int sizePixels) {
  if (sizePixels <= 0) return {};
  CairoCanvas canvas = CairoCanvas::image(sizePixels, sizePixels);
  cairo_t* cr = canvas.context();
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
  CairoCanvas::roundedRectangle(cr, 22, 46, 56, 40, 7);
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

  return canvas.pngData();
}

}  // namespace sim
