// Draws a settings page's rows as the Settings application lays them out: grouped rows on
// white, titles on the left and their values on the right (a switch, a segmented control, a
// slider, a value text with a colour swatch for "#RRGGBB" colours, a chevron), group headers
// above and footers below each group. The rows are data (see SettingsPageAdapter); the page's
// own views (its table header) are drawn by the view tree.
#pragma once

#include <string>
#include <vector>

typedef struct _cairo cairo_t;

namespace sim {

struct ListRow {
  enum class Kind {
    Group,     // a group header (`title`, may be empty) with its `footer`
    Switch,    // `on`
    Value,     // `value` in grey on the right (text, a number, a colour)
    Segments,  // `choices`, the one at `selected` highlighted (none when out of range)
    Slider,    // the knob at `fraction` (0..1), `value` shown beside it
    Link,      // opens a page: a chevron, and `value` when there is one
    Button,    // a tappable title in the tint colour
  };
  Kind kind = Kind::Value;
  std::string title;
  std::string value;
  bool on = false;
  std::vector<std::string> choices;
  int selected = -1;
  double fraction = 0;
  std::string footer;  // Group only: the text under the group's rows
};

class ListPagePainter {
 public:
  static constexpr double kRowHeightPoints = 44;

  // Where a row lies on the page, from its top edge to its bottom edge (a group: its header).
  struct Span {
    double top = 0, bottom = 0;
  };

  // Draws `rows` from `top` down in a column of `width` points starting at x = 0; returns the
  // y just below what was drawn.
  static double draw(cairo_t* cr, double top, double width, const std::vector<ListRow>& rows);
  // Where draw() would put each row, one span per row in order, drawing nothing; returns the
  // same y as draw(). `cr` only measures text.
  static double layout(cairo_t* cr, double top, double width, const std::vector<ListRow>& rows,
                       std::vector<Span>& spans);

 private:
  static double walk(cairo_t* cr, double top, double width, const std::vector<ListRow>& rows,
                     bool paint, std::vector<Span>* spans);
};

}  // namespace sim
