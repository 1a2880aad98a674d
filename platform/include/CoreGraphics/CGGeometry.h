// Points, sizes and rectangles in screen points, as CoreGraphics has them on 64-bit devices
// (CGFloat is double).
#pragma once

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

inline constexpr CGPoint CGPointZero{};
inline constexpr CGSize CGSizeZero{};
inline constexpr CGRect CGRectZero{};

constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) { return {x, y}; }
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) { return {width, height}; }
constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  return {{x, y}, {width, height}};
}
constexpr CGFloat CGRectGetMidX(const CGRect& r) { return r.origin.x + r.size.width / 2; }
constexpr CGFloat CGRectGetMidY(const CGRect& r) { return r.origin.y + r.size.height / 2; }
constexpr CGFloat CGRectGetWidth(const CGRect& r) { return r.size.width; }
constexpr CGFloat CGRectGetHeight(const CGRect& r) { return r.size.height; }

// Half-open on the far edges, as CGRectContainsPoint is.
constexpr bool CGRectContainsPoint(const CGRect& r, CGPoint p) {
  return p.x >= r.origin.x && p.x < r.origin.x + r.size.width && p.y >= r.origin.y &&
         p.y < r.origin.y + r.size.height;
}
