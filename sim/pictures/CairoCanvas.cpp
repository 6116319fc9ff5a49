#include "sim/pictures/CairoCanvas.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cstring>
#include <numbers>
#include <utility>

#include "sim/pictures/TextLayout.h"

// fontconfig, which the pictures' text goes through (Pango finds its fonts there), keeps what it
// loads for the life of the process and frees it only in FcFini, which cannot be called while
// anything may still draw text. The leak checker of sanitizer builds is told so; other builds
// never call this.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace sim {
Rgba rgbHex(std::uint32_t rgb, double alpha) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

CairoCanvas::CairoCanvas(cairo_surface_t* surface, bool isImage)
    : surface_(surface), cr_(cairo_create(surface)), isImage_(isImage) {}

CairoCanvas CairoCanvas::image(int widthPixels, int heightPixels) {
  return CairoCanvas(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(widthPixels, 1),
                                                std::max(heightPixels, 1)),
                     true);
}

CairoCanvas CairoCanvas::svg(const std::filesystem::path& path, double widthPoints,
                             double heightPoints) {
  cairo_surface_t* surface =
      cairo_svg_surface_create(path.string().c_str(), widthPoints, heightPoints);
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    // Pixel units keep the picture's own numbers in the file.
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  }
  return CairoCanvas(surface, false);
}

CairoCanvas::CairoCanvas(CairoCanvas&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      cr_(std::exchange(other.cr_, nullptr)),
      isImage_(other.isImage_) {}

CairoCanvas& CairoCanvas::operator=(CairoCanvas&& other) noexcept {
  if (this != &other) {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
    surface_ = std::exchange(other.surface_, nullptr);
    cr_ = std::exchange(other.cr_, nullptr);
    isImage_ = other.isImage_;
  }
  return *this;
}

CairoCanvas::~CairoCanvas() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

bool CairoCanvas::ok(std::string& error) const {
  if (!surface_ || !cr_) {
    error = "no drawing surface";
    return false;
  }
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(cairo_surface_status(surface_));
    return false;
  }
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(cairo_status(cr_));
    return false;
  }
  return true;
}

bool CairoCanvas::writePng(const std::filesystem::path& path, std::string& error) {
  if (!isImage_) {
    error = "not an image";
    return false;
  }
  if (!ok(error)) return false;
  cairo_surface_flush(surface_);
  const cairo_status_t status = cairo_surface_write_to_png(surface_, path.string().c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    error = std::string("cannot write: ") + cairo_status_to_string(status);
    return false;
  }
  return true;
}

std::vector<std::uint8_t> CairoCanvas::pngData() const {
  std::vector<std::uint8_t> png;
  std::string error;
  if (!isImage_ || !ok(error)) return png;
  cairo_surface_flush(surface_);
  const auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(closure);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
  };
  if (cairo_surface_write_to_png_stream(surface_, append, &png) != CAIRO_STATUS_SUCCESS)
    png.clear();
  return png;
}

bool CairoCanvas::finish(std::string& error) {
  if (!ok(error)) return false;
  cairo_surface_finish(surface_);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    error = std::string("cannot write: ") + cairo_status_to_string(cairo_surface_status(surface_));
    return false;
  }
  return true;
}

std::vector<std::uint32_t> CairoCanvas::pixels() const {
  std::vector<std::uint32_t> result;
  if (!isImage_ || !surface_ || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    return result;
  }
  cairo_surface_flush(surface_);
  const int width = cairo_image_surface_get_width(surface_);
  const int height = cairo_image_surface_get_height(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  result.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    std::memcpy(result.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                data + static_cast<std::ptrdiff_t>(y) * stride,
                static_cast<std::size_t>(width) * sizeof(std::uint32_t));
  }
  return result;
}

void CairoCanvas::roundedRectangle(cairo_t* cr, double x, double y, double width, double height,
                                   double radius) {
  constexpr double kQuarter = std::numbers::pi / 2;
  radius = std::clamp(radius, 0.0, std::min(width, height) / 2);
  if (radius <= 0) {
    cairo_rectangle(cr, x, y, width, height);
    return;
  }
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + width - radius, y + radius, radius, -kQuarter, 0);
  cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, kQuarter);
  cairo_arc(cr, x + radius, y + height - radius, radius, kQuarter, 2 * kQuarter);
  cairo_arc(cr, x + radius, y + radius, radius, 2 * kQuarter, 3 * kQuarter);
  cairo_close_path(cr);
}

void CairoCanvas::setColor(cairo_t* cr, const Rgba& color) {
  cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a);
}

double CairoCanvas::textWidth(cairo_t* cr, std::string_view text, const TextStyle& style) {
  if (text.empty()) return 0;
  return TextLayout(cr, text, style).logical().width;
}

double CairoCanvas::drawText(cairo_t* cr, std::string_view text, double x, double baselineY,
                             const TextStyle& style, double maxWidth) {
  if (text.empty()) return 0;
  // One line: line breaks and tabs read as spaces.
  std::string line(text);
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
  // Laid out flush left; the anchor `x` places the line.
  TextStyle left = style;
  left.align = Align::Left;
  const TextLayout layout(cr, line, left, maxWidth, 1);
  const double width = layout.logical().width;
  double start = x;
  if (style.align == Align::Center) start = x - width / 2;
  if (style.align == Align::Right) start = x - width;
  layout.draw(cr, start, baselineY - layout.baseline());
  return width;
}

double CairoCanvas::drawParagraph(cairo_t* cr, std::string_view text, double x, double top,
                                  double width, int maxLines, const TextStyle& style,
                                  double lineSpacing) {
  if (text.empty() || width <= 0) return 0;
  const TextLayout layout(cr, text, style, width, maxLines, lineSpacing);
  layout.draw(cr, x, top);
  return layout.logical().height;
}

cairo_surface_t* CairoCanvas::surfaceFromPixels(int width, int height,
                                                const std::uint32_t* pixels) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return surface;
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    std::memcpy(data + static_cast<std::ptrdiff_t>(y) * stride,
                pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                static_cast<std::size_t>(width) * sizeof(std::uint32_t));
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace sim
