#pragma once
// The draggable thumb of a picture slider: its value, its left edge in the track and the drag. Each
// operation says what the window has to do: move the thumb to left(), and post the returned value to
// the parent as the slider position.
#include <optional>

#include "skin/slider_math.h"

namespace kavo::skin {

class SliderThumb {
 public:
  // Starts at the range's minimum with the thumb at the left bound, dragging enabled.
  explicit SliderThumb(const ThumbTrack& track);

  // Keeps the stored value; owners set the value after the range.
  void SetRange(int minimum, int maximum) { range_ = SliderRange(minimum, maximum); }
  void SetRounding(bool rounding) { rounding_ = rounding; }
  void EnableDragging(bool enabled) { dragEnabled_ = enabled; }

  // Clamps and stores the value and puts the thumb at its place.
  void SetValue(int value);

  // Button down at x in the thumb's own coordinates. True when a drag starts (capture the mouse).
  bool ButtonDown(int x);
  // Mouse at x in the thumb's own coordinates. While dragging and the thumb moved: its new value.
  std::optional<int> MouseMove(int x);
  // Ends a drag (release the capture) and gives the dropped value; with rounding the thumb snaps to that
  // value's place. Nothing without a drag.
  std::optional<int> ButtonUp();

  int value() const { return value_; }
  int left() const { return left_; }
  bool dragging() const { return dragging_; }
  const SliderRange& range() const { return range_; }

 private:
  // A thumb back where the drag picked it up keeps the value it had: the pixel-to-value mapping drops
  // remainders, and a click on the thumb must not change the setting.
  int ValueAt(int left, bool dropped) const;

  ThumbTrack track_;
  SliderRange range_;
  bool rounding_ = false;
  bool dragEnabled_ = true;
  int value_ = 0;
  int left_ = 0;
  bool dragging_ = false;
  int dragStartX_ = 0;
  int dragStartLeft_ = 0;
  int dragStartValue_ = 0;
};

}  // namespace kavo::skin
