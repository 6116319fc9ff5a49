// Plain values that cross between the device face and UIKit: geometry in points, colours as
// extended-sRGB components. Apple's CGPoint, CGRect... cannot appear here (the face has types of
// the same names), so the native side converts these at its edge.
#pragma once

namespace gw::native {

struct Point {
  double x = 0;
  double y = 0;
};

struct Size {
  double width = 0;
  double height = 0;
};

struct Rect {
  Point origin;
  Size size;
};

// a b 0 / c d 0 / tx ty 1, as CGAffineTransform.
struct Transform {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

struct Color {
  double red = 0, green = 0, blue = 0, alpha = 0;
};

}  // namespace gw::native
