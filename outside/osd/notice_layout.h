#pragma once
// Where the notice goes: near the bottom right corner of the primary work area, sized to its text.
#include "skin/geometry.h"

namespace kavo::osd {

using skin::Extent;
using skin::Rect;

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
