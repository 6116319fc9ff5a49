#include "sim/CairoCanvas.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cstring>
#include <numbers>
#include <utility>

// fontconfig, which cairo's text goes through, keeps what it loads for the life of the process
// and frees it only in FcFini, which cannot be called while anything may still draw text. The
// leak checker of sanitizer builds is told so; other builds never call this.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace sim {
namespace {

// The one face of every picture; fontconfig picks a sans-serif face where it is missing.
constexpr const char* kFontFamily = "DejaVu Sans";
constexpr const char* kLightFontFamily = "DejaVu Sans Light";
constexpr const char* kEllipsis = "\u2026";

// Length of the UTF-8 character that starts with `lead`.
std::size_t utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

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

void CairoCanvas::selectFont(cairo_t* cr, const TextStyle& style) {
  cairo_select_font_face(
      cr, style.weight == Weight::Light ? kLightFontFamily : kFontFamily, CAIRO_FONT_SLANT_NORMAL,
      style.weight == Weight::Bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, style.size);
}

double CairoCanvas::textWidth(cairo_t* cr, std::string_view text, const TextStyle& style) {
  if (text.empty()) return 0;
  selectFont(cr, style);
  const std::string copy(text);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, copy.c_str(), &extents);
  return extents.x_advance;
}

void CairoCanvas::drawText(cairo_t* cr, std::string_view text, double x, double baselineY,
                           const TextStyle& style) {
  if (text.empty()) return;
  const double width = textWidth(cr, text, style);
  double left = x;
  if (style.align == Align::Center) left = x - width / 2;
  if (style.align == Align::Right) left = x - width;
  const std::string copy(text);
  setColor(cr, style.color);
  cairo_move_to(cr, left, baselineY);
  cairo_show_text(cr, copy.c_str());
  cairo_new_path(cr);
}

std::string CairoCanvas::elide(cairo_t* cr, std::string_view text, double maxWidth,
                               const TextStyle& style) {
  if (textWidth(cr, text, style) <= maxWidth) return std::string(text);
  // Whole characters only, from the start, as many as fit together with the ellipsis.
  std::string kept;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t length =
        std::min(utf8Length(static_cast<unsigned char>(text[at])), text.size() - at);
    std::string candidate = kept + std::string(text.substr(at, length));
    if (textWidth(cr, candidate + kEllipsis, style) > maxWidth) break;
    kept = std::move(candidate);
    at += length;
  }
  return kept + kEllipsis;
}

std::vector<std::string> CairoCanvas::wrap(cairo_t* cr, std::string_view text, double maxWidth,
                                           const TextStyle& style) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view paragraph = text.substr(start, end - start);
    std::string line;
    std::size_t wordStart = 0;
    bool any = false;
    while (wordStart <= paragraph.size()) {
      const std::size_t wordEnd = std::min(paragraph.find(' ', wordStart), paragraph.size());
      const std::string word(paragraph.substr(wordStart, wordEnd - wordStart));
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && textWidth(cr, candidate, style) > maxWidth) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
      any = true;
      wordStart = wordEnd + 1;
    }
    if (any) lines.push_back(line);
    start = end + 1;
  }
  return lines;
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
