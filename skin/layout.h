#pragma once
// Layout strings: every control of the configuration program is placed by one text of the form
// "name,x,y,width,height," optionally followed by a help text, e.g. "Profile 1,8, 485,155,25,Click here".
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "skin/geometry.h"

namespace kavo::skin {

constexpr std::size_t kMaxLayoutName = 39;
constexpr std::size_t kMaxLayoutText = 399;
// Positions and sizes are window pixels; anything beyond this is a broken string, not a place.
constexpr int kMaxLayoutCoordinate = 32767;

struct LayoutEntry {
  std::string name;  // before the first comma, at most kMaxLayoutName characters
  int left = 0, top = 0, right = 0, bottom = 0;
  std::string text;  // help and tooltip text, trimmed, at most kMaxLayoutText characters
  int checked = 0;   // initial checked state; parsing always gives 0

  Rect Bounds() const { return {left, top, right, bottom}; }
};

// Blanks may stand around each number; the comma after the height may be left out when nothing follows.
// The text after the fifth comma keeps its own commas. A string without a name's comma, with a missing or
// non-decimal number, a negative width or height, or a number beyond kMaxLayoutCoordinate gives nothing.
std::optional<LayoutEntry> ParseLayout(std::string_view layout);

// The rectangle and the text of a layout string; empty ones for a string that does not parse. For the
// generated layouts, which the artwork build has already checked.
Rect LayoutBounds(std::string_view layout);
std::string LayoutText(std::string_view layout);

}  // namespace kavo::skin
