// CoreGraphics geometry: points, sizes, rectangles and affine transforms in screen points
// (origin at the top-left corner, y downwards). Header-only value types.
#pragma once

#include <algorithm>
#include <cmath>

using CGFloat = double;

struct CGPoint {
  CGFloat x = 0;
  CGFloat y = 0;
  friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
  CGFloat width = 0;
  CGFloat height = 0;
  friend bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
  CGPoint origin;
  CGSize size;
  friend bool operator==(const CGRect&, const CGRect&) = default;
};

// a b 0 / c d 0 / tx ty 1, applied as x' = a x + c y + tx, y' = b x + d y + ty.
struct CGAffineTransform {
  CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
  friend bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};

inline constexpr CGPoint CGPointZero{};
inline constexpr CGRect CGRectZero{};
inline constexpr CGAffineTransform CGAffineTransformIdentity{};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) {
  return {x, y};
}
inline CGSize CGSizeMake(CGFloat w, CGFloat h) {
  return {w, h};
}
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
  return {{x, y}, {w, h}};
}

inline CGFloat CGRectGetMinX(const CGRect& r) {
  return std::min(r.origin.x, r.origin.x + r.size.width);
}
inline CGFloat CGRectGetMaxX(const CGRect& r) {
  return std::max(r.origin.x, r.origin.x + r.size.width);
}
inline CGFloat CGRectGetMinY(const CGRect& r) {
  return std::min(r.origin.y, r.origin.y + r.size.height);
}
inline CGFloat CGRectGetMaxY(const CGRect& r) {
  return std::max(r.origin.y, r.origin.y + r.size.height);
}
inline CGFloat CGRectGetMidX(const CGRect& r) {
  return r.origin.x + r.size.width / 2;
}
inline CGFloat CGRectGetMidY(const CGRect& r) {
  return r.origin.y + r.size.height / 2;
}
inline CGFloat CGRectGetWidth(const CGRect& r) {
  return std::abs(r.size.width);
}
inline CGFloat CGRectGetHeight(const CGRect& r) {
  return std::abs(r.size.height);
}

// True when every edge of `inner` lies on or inside `outer`: touching edges count as inside.
inline bool CGRectContainsRect(const CGRect& outer, const CGRect& inner) {
  return CGRectGetMinX(inner) >= CGRectGetMinX(outer) &&
         CGRectGetMaxX(inner) <= CGRectGetMaxX(outer) &&
         CGRectGetMinY(inner) >= CGRectGetMinY(outer) &&
         CGRectGetMaxY(inner) <= CGRectGetMaxY(outer);
}

// Half-open like CoreGraphics: the minimum edges belong to the rectangle, the maximum ones do not.
inline bool CGRectContainsPoint(const CGRect& r, const CGPoint& p) {
  return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) &&
         p.y < CGRectGetMaxY(r);
}

inline CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) {
  return {1, 0, 0, 1, tx, ty};
}

// t' = translate(tx, ty) followed by t, as CoreGraphics defines it.
inline CGAffineTransform CGAffineTransformTranslate(const CGAffineTransform& t, CGFloat tx,
                                                    CGFloat ty) {
  return {t.a, t.b, t.c, t.d, t.tx + tx * t.a + ty * t.c, t.ty + tx * t.b + ty * t.d};
}

inline CGPoint CGPointApplyAffineTransform(const CGPoint& p, const CGAffineTransform& t) {
  return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

inline bool CGAffineTransformIsIdentity(const CGAffineTransform& t) {
  return t == CGAffineTransformIdentity;
}
