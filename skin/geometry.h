#pragma once
// Pixel geometry and colours of the skinned controls, free of any window system.
#include <cstdint>

namespace kavo::skin {

// A Windows colour value: 0x00BBGGRR.
using Colour = std::uint32_t;

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

struct Extent {
  int width = 0, height = 0;
  bool operator==(const Extent& other) const { return width == other.width && height == other.height; }
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// Top left of a window of size centred over owner (a window's or the desktop's rectangle). Halves round
// toward zero; a window larger than its owner overhangs it evenly, and may start left of or above 0.
constexpr Point CentredOver(const Rect& owner, Extent size) {
  return {(owner.left + owner.right - size.width) / 2, (owner.top + owner.bottom - size.height) / 2};
}

}  // namespace kavo::skin
