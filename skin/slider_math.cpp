#include "skin/slider_math.h"

#include <algorithm>
#include <cmath>

namespace kavo::skin {
namespace {

// floor(part * scale / whole) for 0 <= part <= whole, 0 < whole < 2^32, 0 <= scale < 2^32. Both factors
// are below 2^32, so the product fits unsigned 64 bits (it would not fit a signed 64-bit integer).
std::uint64_t ScaleFloor(std::uint64_t part, std::uint64_t whole, std::uint64_t scale) {
  return part * scale / whole;
}

int RoundOrTruncate(double value, const SliderRange& range, bool rounding) {
  const double whole = rounding ? std::floor(value + 0.5) : std::trunc(value);
  // Clamped while still floating point: converting an out-of-range double to int is undefined.
  return static_cast<int>(std::clamp(whole, static_cast<double>(range.minimum()),
                                     static_cast<double>(range.maximum())));
}

std::int64_t OffsetOnTrack(int thumbLeft, const ThumbTrack& track) {
  return std::clamp<std::int64_t>(static_cast<std::int64_t>(thumbLeft) - track.leftBound, 0, track.Travel());
}

}  // namespace

SliderRange::SliderRange(int minimum, int maximum)
    : minimum_(std::min(minimum, maximum)), maximum_(std::max(minimum, maximum)) {}

int SliderRange::Clamp(std::int64_t value) const {
  return static_cast<int>(std::clamp<std::int64_t>(value, minimum_, maximum_));
}

std::int64_t ThumbTrack::Travel() const {
  const std::int64_t travel =
      static_cast<std::int64_t>(rightBound) - leftBound - std::max(thumbWidth, 0);
  return std::max<std::int64_t>(travel, 0);
}

int TrackClickValue(int x, int trackLeft, int trackRight, const SliderRange& range, bool rounding) {
  if (trackRight <= trackLeft) return range.minimum();
  const double width = static_cast<double>(trackRight) - trackLeft;
  const double value =
      (static_cast<double>(x) - trackLeft) * static_cast<double>(range.Span()) / width + range.minimum();
  return RoundOrTruncate(value, range, rounding);
}

int ThumbLeftForValue(int value, const ThumbTrack& track, const SliderRange& range) {
  const std::int64_t travel = track.Travel();
  if (travel == 0 || range.Span() == 0) return track.leftBound;
  const std::int64_t part = static_cast<std::int64_t>(range.Clamp(value)) - range.minimum();
  return static_cast<int>(track.leftBound + static_cast<std::int64_t>(ScaleFloor(
                                                static_cast<std::uint64_t>(part),
                                                static_cast<std::uint64_t>(range.Span()),
                                                static_cast<std::uint64_t>(travel))));
}

int DragValue(int thumbLeft, const ThumbTrack& track, const SliderRange& range) {
  const std::int64_t travel = track.Travel();
  if (travel == 0) return range.minimum();
  const std::uint64_t offset = ScaleFloor(static_cast<std::uint64_t>(OffsetOnTrack(thumbLeft, track)),
                                          static_cast<std::uint64_t>(travel),
                                          static_cast<std::uint64_t>(range.Span()));
  return range.Clamp(range.minimum() + static_cast<std::int64_t>(offset));
}

int ReleaseValue(int thumbLeft, const ThumbTrack& track, const SliderRange& range, bool rounding) {
  const std::int64_t travel = track.Travel();
  if (travel == 0) return range.minimum();
  const double value = range.minimum() + static_cast<double>(OffsetOnTrack(thumbLeft, track)) *
                                             static_cast<double>(range.Span()) / static_cast<double>(travel);
  return RoundOrTruncate(value, range, rounding);
}

}  // namespace kavo::skin
