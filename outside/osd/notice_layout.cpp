#include "outside/osd/notice_layout.h"

#include <algorithm>

namespace kavo::osd {
namespace {

struct Span {
  int start, size;
};

// Along one axis: as much of wanted as the area holds, kMargin before its far edge where there is room.
Span Place(int low, int high, int wanted) {
  const int size = std::clamp(wanted, 0, std::max(0, high - low));
  return {std::max(low, high - kMargin - size), size};
}

}  // namespace

Rect NoticeRect(const Rect& workArea, const Extent& text) {
  const int width = std::clamp(std::max(0, text.width) + 2 * kPaddingX, kMinWidth, kMaxWidth);
  const int height = std::max(0, text.height) + 2 * kPaddingY;
  const Span x = Place(workArea.left, workArea.right, width);
  const Span y = Place(workArea.top, workArea.bottom, height);
  return {x.start, y.start, x.start + x.size, y.start + y.size};
}

Rect TextRect(const Extent& notice) {
  return {kPaddingX, kPaddingY, std::max(kPaddingX, notice.width - kPaddingX),
          std::max(kPaddingY, notice.height - kPaddingY)};
}

}  // namespace kavo::osd
