#include "skin/layout.h"

#include <algorithm>
#include <cstdint>

#include "settings/trimmed_text.h"

namespace kavo::skin {
namespace {


bool IsBlank(char c) { return c == ' ' || c == '\t'; }


// Reads "[blanks][sign]digits[blanks]," from the front of rest and consumes it. The last number of the
// four may also end the string.
std::optional<int> ReadNumber(std::string_view& rest, bool mayEndString) {
  std::size_t i = 0;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  bool negative = false;
  if (i < rest.size() && (rest[i] == '-' || rest[i] == '+')) negative = rest[i++] == '-';
  const std::size_t digitsStart = i;
  std::int64_t value = 0;
  while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
    value = value * 10 + (rest[i++] - '0');
    if (value > kMaxLayoutCoordinate) return std::nullopt;  // checked per digit: no overflow
  }
  if (i == digitsStart) return std::nullopt;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  if (i < rest.size()) {
    if (rest[i] != ',') return std::nullopt;
    ++i;
  } else if (!mayEndString) {
    return std::nullopt;
  }
  rest.remove_prefix(i);
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::optional<LayoutEntry> ParseLayout(std::string_view layout) {
  const std::size_t nameEnd = layout.find(',');
  if (nameEnd == std::string_view::npos) return std::nullopt;
  std::string_view rest = layout.substr(nameEnd + 1);

  int numbers[4];
  for (int k = 0; k < 4; ++k) {
    const std::optional<int> number = ReadNumber(rest, k == 3);
    if (!number) return std::nullopt;
    numbers[k] = *number;
  }
  const int width = numbers[2], height = numbers[3];
  if (width < 0 || height < 0) return std::nullopt;

  LayoutEntry entry;
  entry.name = std::string(layout.substr(0, std::min(nameEnd, kMaxLayoutName)));
  entry.left = numbers[0];
  entry.top = numbers[1];
  entry.right = numbers[0] + width;  // both bounded, so no overflow
  entry.bottom = numbers[1] + height;
  // Cut to the field's size, then trimmed again so a cut never leaves blanks at the end.
  std::string_view text = TrimmedText(rest);
  text = TrimmedText(text.substr(0, std::min(text.size(), kMaxLayoutText)));
  entry.text = std::string(text);
  return entry;
}

Rect LayoutBounds(std::string_view layout) {
  const auto entry = ParseLayout(layout);
  return entry ? entry->Bounds() : Rect{};
}

std::string LayoutText(std::string_view layout) {
  const auto entry = ParseLayout(layout);
  return entry ? entry->text : std::string();
}

}  // namespace kavo::skin
