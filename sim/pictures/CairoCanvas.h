// A cairo drawing surface and its context, owned together, with the few drawing helpers the
// simulator's pictures share (rounded rectangles, colours, text in the one sans-serif face,
// laid out by Pango: see TextLayout).
// Internal to the simulator's drawing code: the public headers of the pictures keep cairo out.
//
// Coordinates are cairo's user space; text helpers take sizes in the same units.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// A colour with straight (not premultiplied) components in 0..1.
struct Rgba {
  double r = 0, g = 0, b = 0, a = 1;
  Rgba withAlpha(double alpha) const { return {r, g, b, alpha}; }
};
// 0xRRGGBB as a colour.
Rgba rgbHex(std::uint32_t rgb, double alpha = 1);

// How the text helpers set text: size in user-space units, weight, colour, alignment at the
// point given.
enum class Align { Left, Center, Right };
enum class Weight { Light, Regular, Bold };
struct TextStyle {
  double size = 12;
  Weight weight = Weight::Regular;
  Rgba color{0, 0, 0, 1};
  Align align = Align::Left;
};

class CairoCanvas {
 public:
  // An ARGB32 image of `widthPixels` × `heightPixels`, transparent.
  static CairoCanvas image(int widthPixels, int heightPixels);
  // An SVG document of `widthPoints` × `heightPoints`, written to `path` as it is drawn and
  // completed by finish().
  static CairoCanvas svg(const std::filesystem::path& path, double widthPoints,
                         double heightPoints);

  CairoCanvas(CairoCanvas&& other) noexcept;
  CairoCanvas& operator=(CairoCanvas&& other) noexcept;
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;
  ~CairoCanvas();

  cairo_t* context() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  // False when the surface could not be made or drawing went wrong; `error` says why.
  bool ok(std::string& error) const;

  // Writes an image canvas as a PNG file. False, with the reason, when it cannot.
  bool writePng(const std::filesystem::path& path, std::string& error);
  // An image canvas encoded as PNG; empty when it is not an image or drawing went wrong.
  std::vector<std::uint8_t> pngData() const;
  // Completes the file of an SVG canvas (nothing to do for an image). False on failure.
  bool finish(std::string& error);
  // The image's pixels: native-endian 0xAARRGGBB, premultiplied, row by row, no padding.
  std::vector<std::uint32_t> pixels() const;

  // ---- helpers -------------------------------------------------------------------------
  // Adds a closed rounded rectangle to the current path; the radius is clamped to half the
  // shorter side.
  static void roundedRectangle(cairo_t* cr, double x, double y, double width, double height,
                               double radius);
  static void setColor(cairo_t* cr, const Rgba& color);
  // The advance width of `text` on one line.
  static double textWidth(cairo_t* cr, std::string_view text, const TextStyle& style);
  // Draws one line of text with its baseline at `baselineY`; `x` is its left edge, centre or
  // right edge depending on the alignment. With `maxWidth` > 0 the text is shortened with an
  // ellipsis to fit. Returns the width drawn.
  static double drawText(cairo_t* cr, std::string_view text, double x, double baselineY,
                         const TextStyle& style, double maxWidth = 0);
  // Draws `text` wrapped at word boundaries into lines at most `width` wide, placed by the
  // style's alignment within [x, x + width], from `top` down; after `maxLines` lines (0: no
  // limit) the last one ends with an ellipsis. `lineSpacing` is the distance between
  // baselines as a multiple of the font size (0: the font's own). Returns the height drawn.
  static double drawParagraph(cairo_t* cr, std::string_view text, double x, double top,
                              double width, int maxLines, const TextStyle& style,
                              double lineSpacing = 0);
  // An image surface holding a copy of premultiplied ARGB32 pixels; the caller destroys it.
  static cairo_surface_t* surfaceFromPixels(int width, int height, const std::uint32_t* pixels);

 private:
  CairoCanvas(cairo_surface_t* surface, bool isImage);

  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  bool isImage_ = true;
};

}  // namespace sim
