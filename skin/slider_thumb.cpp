#include "skin/slider_thumb.h"

#include <algorithm>
#include <cstdint>

namespace kavo::skin {

SliderThumb::SliderThumb(const ThumbTrack& track) : track_(track) { SetValue(range_.minimum()); }

void SliderThumb::SetValue(int value) {
  value_ = range_.Clamp(value);
  left_ = ThumbLeftForValue(value_, track_, range_);
}

bool SliderThumb::ButtonDown(int x) {
  if (!dragEnabled_) return false;
  dragging_ = true;
  dragStartX_ = x;
  dragStartLeft_ = left_;
  dragStartValue_ = value_;
  return true;
}

std::optional<int> SliderThumb::MouseMove(int x) {
  if (!dragging_) return std::nullopt;
  const std::int64_t wanted = static_cast<std::int64_t>(left_) + x - dragStartX_;
  const int left = static_cast<int>(
      std::clamp<std::int64_t>(wanted, track_.leftBound, track_.leftBound + track_.Travel()));
  if (left == left_) return std::nullopt;
  left_ = left;
  value_ = ValueAt(left_, false);
  return value_;
}

std::optional<int> SliderThumb::ButtonUp() {
  if (!dragging_) return std::nullopt;
  dragging_ = false;
  value_ = ValueAt(left_, true);
  if (rounding_) left_ = ThumbLeftForValue(value_, track_, range_);
  return value_;
}

int SliderThumb::ValueAt(int left, bool dropped) const {
  if (left == dragStartLeft_) return range_.Clamp(dragStartValue_);
  return dropped ? ReleaseValue(left, track_, range_, rounding_) : DragValue(left, track_, range_);
}

}  // namespace kavo::skin
