#pragma once
// Text without the blanks at either end, for every reader of names, paths and fields.
#include <string_view>

namespace kavo {

// What isspace counts as white space in the C locale.
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

constexpr std::string_view TrimmedText(std::string_view text, std::string_view blanks = kWhiteSpace) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace kavo
