#include "sim/pictures/TextLayout.h"

#include <pango/pangocairo.h>

#include <string>
#include <utility>

namespace sim {
namespace {

// The one family of every picture; fontconfig picks a sans-serif face where it is missing.
constexpr const char* kFontFamily = "DejaVu Sans";

PangoWeight pangoWeight(Weight weight) {
  switch (weight) {
    case Weight::Light:
      return PANGO_WEIGHT_ULTRALIGHT;
    case Weight::Bold:
      return PANGO_WEIGHT_BOLD;
    default:
      return PANGO_WEIGHT_NORMAL;
  }
}

PangoAlignment pangoAlignment(Align align) {
  switch (align) {
    case Align::Center:
      return PANGO_ALIGN_CENTER;
    case Align::Right:
      return PANGO_ALIGN_RIGHT;
    default:
      return PANGO_ALIGN_LEFT;
  }
}

int toPango(double units) {
  return static_cast<int>(units * PANGO_SCALE + 0.5);
}

double fromPango(int units) {
  return static_cast<double>(units) / PANGO_SCALE;
}

TextLayout::Box boxOf(const PangoRectangle& r) {
  return {fromPango(r.x), fromPango(r.y), fromPango(r.width), fromPango(r.height)};
}

}  // namespace

TextLayout::TextLayout(cairo_t* cr, std::string_view text, const TextStyle& style, double maxWidth,
                       int maxLines, double lineSpacing)
    : layout_(pango_cairo_create_layout(cr)), color_(style.color) {
  // Unhinted metrics: a text measures the same at every scale the pictures are drawn at.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout_), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout_);

  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family_static(font, kFontFamily);
  pango_font_description_set_weight(font, pangoWeight(style.weight));
  pango_font_description_set_absolute_size(font, style.size * PANGO_SCALE);
  pango_layout_set_font_description(layout_, font);
  pango_font_description_free(font);

  if (lineSpacing > 0) pango_layout_set_line_spacing(layout_, static_cast<float>(lineSpacing));
  if (maxWidth > 0) {
    pango_layout_set_width(layout_, toPango(maxWidth));
    pango_layout_set_alignment(layout_, pangoAlignment(style.align));
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_END);
    // A negative height counts lines: at most that many in the whole layout.
    if (maxLines == 1) {
      pango_layout_set_single_paragraph_mode(layout_, TRUE);
      pango_layout_set_height(layout_, -1);
    } else if (maxLines > 1) {
      pango_layout_set_height(layout_, -maxLines);
    } else {
      pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_NONE);
    }
  }
  // Pango wants whole UTF-8; the pictures show what they are given, so invalid bytes become
  // replacement characters rather than a refused text.
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  pango_layout_set_text(layout_, valid, -1);
  g_free(valid);
}

TextLayout::~TextLayout() {
  if (layout_) g_object_unref(layout_);
}

TextLayout::TextLayout(TextLayout&& other) noexcept
    : layout_(std::exchange(other.layout_, nullptr)), color_(other.color_) {}

TextLayout& TextLayout::operator=(TextLayout&& other) noexcept {
  if (this != &other) {
    if (layout_) g_object_unref(layout_);
    layout_ = std::exchange(other.layout_, nullptr);
    color_ = other.color_;
  }
  return *this;
}

TextLayout::Box TextLayout::logical() const {
  PangoRectangle ink, logical;
  pango_layout_get_extents(layout_, &ink, &logical);
  return boxOf(logical);
}

TextLayout::Box TextLayout::ink() const {
  PangoRectangle ink, logical;
  pango_layout_get_extents(layout_, &ink, &logical);
  return boxOf(ink);
}

std::vector<TextLayout::Box> TextLayout::inkLines() const {
  std::vector<Box> lines;
  PangoLayoutIter* line = pango_layout_get_iter(layout_);
  do {
    PangoRectangle ink, logical;
    pango_layout_iter_get_line_extents(line, &ink, &logical);
    if (ink.width > 0 && ink.height > 0) lines.push_back(boxOf(ink));
  } while (pango_layout_iter_next_line(line));
  pango_layout_iter_free(line);
  return lines;
}

double TextLayout::baseline() const {
  return fromPango(pango_layout_get_baseline(layout_));
}

int TextLayout::lineCount() const {
  return pango_layout_get_line_count(layout_);
}

bool TextLayout::isEllipsized() const {
  return pango_layout_is_ellipsized(layout_);
}

void TextLayout::draw(cairo_t* cr, double left, double top) const {
  cairo_save(cr);
  CairoCanvas::setColor(cr, color_);
  cairo_move_to(cr, left, top);
  pango_cairo_show_layout(cr, layout_);
  cairo_new_path(cr);
  cairo_restore(cr);
}

}  // namespace sim
