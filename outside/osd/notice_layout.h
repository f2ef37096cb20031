#pragma once
// Where the notice goes: near the bottom right corner of the primary work area, sized to its text.
namespace kavo::osd {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

struct Extent {
  int width = 0, height = 0;
};

constexpr int kPaddingX = 22;  // includes the accent strip at the left edge
constexpr int kPaddingY = 14;
constexpr int kMargin = 16;    // from the edges of the work area
constexpr int kMinWidth = 200;
constexpr int kMaxWidth = 560;  // longer text ends in an ellipsis

// The notice's screen rectangle for text of the given extent: padded, between the minimum and maximum
// width, kMargin inside the right and bottom edges, and never outside the work area even when it is small.
Rect NoticeRect(const Rect& workArea, const Extent& text);
// The text's rectangle inside the notice (client coordinates).
Rect TextRect(const Extent& notice);

}  // namespace kavo::osd
