#pragma once
// The arithmetic of the picture slider: a track that maps a click to a value, and a thumb whose left
// edge maps to a value and back. Pixel counts and value ranges of any int size give defined results.
#include <cstdint>

namespace kavo::skin {

// A value range; a maximum given below the minimum is swapped, so every clamp has an order.
class SliderRange {
 public:
  SliderRange() = default;
  SliderRange(int minimum, int maximum);
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  std::int64_t Span() const { return static_cast<std::int64_t>(maximum_) - minimum_; }
  int Clamp(std::int64_t value) const;

 private:
  int minimum_ = 0;
  int maximum_ = 10;
};

// Where the thumb may sit inside its track, in the track's client coordinates.
struct ThumbTrack {
  int leftBound = 0;
  int rightBound = 0;  // the track's width
  int thumbWidth = 0;
  // Pixels the thumb's left edge can travel; 0 when the thumb fills the track or more.
  std::int64_t Travel() const;
};

// The value of a click at x (page coordinates) on a track spanning trackLeft..trackRight: the whole
// track width maps onto the range, rounded half up or truncated, then clamped. A track without width
// gives the minimum.
int TrackClickValue(int x, int trackLeft, int trackRight, const SliderRange& range, bool rounding);

// The thumb's left edge for a value (clamped first), remainder dropped. With no travel or an empty range
// the thumb stays at the left bound.
int ThumbLeftForValue(int value, const ThumbTrack& track, const SliderRange& range);

// The value while dragging: whole-number arithmetic, remainder dropped.
int DragValue(int thumbLeft, const ThumbTrack& track, const SliderRange& range);

// The value when the thumb is dropped: exact quotient, rounded half up or truncated, clamped.
int ReleaseValue(int thumbLeft, const ThumbTrack& track, const SliderRange& range, bool rounding);

}  // namespace kavo::skin
