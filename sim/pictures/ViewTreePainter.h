// Draws a UIKit view tree as the screen presents it at a moment of virtual time: each view's
// background colour, its layer's corner radius and border, its presentation alpha (fades in
// flight), its layer's presented rotation (spinning), clipping, and the content of the kinds
// of view the platform has (button background image and image, label text, image view image),
// then its subviews, back to front.
//
// Content painters extend it for view classes it does not know (a settings table's rows, say):
// registered under a className(), a painter draws the view's content in the view's own
// coordinates, after its background and before its subviews.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

typedef struct _cairo cairo_t;
class UIImage;
class UILabel;
class UIView;
struct CGRect;

namespace sim {

class ViewTreePainter {
 public:
  // `cr`'s user space is the view's own coordinate space (bounds) when called; the painter
  // may change the context's state freely (it is saved and restored around the call).
  using ContentPainter = std::function<void(cairo_t* cr, const UIView& view, double time)>;

  void setContentPainter(std::string className, ContentPainter painter);

  // Draws `view` and its subviews. On entry `cr`'s user space is the coordinate space of the
  // view's superview (for a window: the screen's, in points). `time` is the virtual time whose
  // presentation is drawn.
  void draw(cairo_t* cr, const UIView& view, double time) const;

  // Where the glyphs of `label`'s text land when it is drawn, line by line, in the label's own
  // coordinates (its bounds); none for a label without text.
  static std::vector<CGRect> labelInkLines(const UILabel& label);

  // Draws `image` stretched over `rect`.
  static void drawImage(cairo_t* cr, const UIImage& image, const CGRect& rect);

 private:
  void drawContent(cairo_t* cr, const UIView& view, double time) const;

  std::map<std::string, ContentPainter, std::less<>> painters_;
};

}  // namespace sim
