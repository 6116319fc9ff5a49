// One block of text laid out by Pango for a cairo context: a single line shortened with an
// ellipsis, or a paragraph wrapped at word boundaries to a width and cut to a number of lines,
// its last line then ending with an ellipsis. Internal to the simulator's drawing code.
//
// Sizes are in the context's user units at the time of construction (the font size is the em
// size in those units, independent of any resolution); the layout is drawn with the
// transformation it was made under.
#pragma once

#include <string_view>
#include <vector>

#include "sim/pictures/CairoCanvas.h"

typedef struct _PangoLayout PangoLayout;

namespace sim {

class TextLayout {
 public:
  // A rectangle in user units, relative to the layout's top-left corner.
  struct Box {
    double x = 0, y = 0, width = 0, height = 0;
  };

  // `maxWidth` ≤ 0: one line per paragraph, never shortened. Otherwise lines are at most
  // `maxWidth` wide: with `maxLines` 1 each paragraph is shortened to one line; with more
  // (or 0, for no limit) the text wraps and stops after `maxLines` lines. `lineSpacing` is
  // the distance between baselines as a multiple of the font size (0: the font's own).
  // The style's alignment places lines within `maxWidth`.
  TextLayout(cairo_t* cr, std::string_view text, const TextStyle& style, double maxWidth = 0,
             int maxLines = 1, double lineSpacing = 0);
  ~TextLayout();
  TextLayout(TextLayout&& other) noexcept;
  TextLayout& operator=(TextLayout&& other) noexcept;
  TextLayout(const TextLayout&) = delete;
  TextLayout& operator=(const TextLayout&) = delete;

  // The laid-out text's logical box (line heights, advance widths).
  Box logical() const;
  // The box the glyphs' ink covers; empty for blank text.
  Box ink() const;
  // The ink of each line that has any, top to bottom.
  std::vector<Box> inkLines() const;
  // The first line's baseline below the layout's top.
  double baseline() const;
  int lineCount() const;
  // True when some text was left out for an ellipsis.
  bool isEllipsized() const;

  // Draws the text in the style's colour with the layout's top-left corner at (`left`, `top`).
  void draw(cairo_t* cr, double left, double top) const;

 private:
  PangoLayout* layout_ = nullptr;
  Rgba color_;
};

}  // namespace sim
