#include "option/main_settings/main_settings_value_control.h"

#include <algorithm>
#include <limits>

namespace kavo::option {

namespace {

std::size_t DigitCount(int number) {
  std::size_t digits = 1;
  long long rest = number < 0 ? -static_cast<long long>(number) : number;
  while (rest >= 10) {
    rest /= 10;
    ++digits;
  }
  return digits;
}

}  // namespace

ValueControl::ValueControl(int minimum, int maximum, int step)
    : minimum_(std::min(minimum, maximum)),
      maximum_(std::max(minimum, maximum)),
      step_(step),
      textLimit_(DigitCount(std::max(minimum, maximum))),
      value_(minimum_),
      text_(std::to_string(minimum_)) {}

void ValueControl::Store(long long value) {
  value_ = static_cast<int>(std::clamp<long long>(value, minimum_, maximum_));
  text_ = std::to_string(value_);
}

void ValueControl::SetValue(int value) { Store(value); }

std::optional<int> ValueControl::Report() const {
  if (value_ < minimum_) return std::nullopt;
  return value_;
}

std::optional<int> ValueControl::Increase() {
  Store(static_cast<long long>(value_) + step_);
  return Report();
}

std::optional<int> ValueControl::Decrease() {
  Store(static_cast<long long>(value_) - step_);
  return Report();
}

std::optional<int> ValueControl::TextChanged(std::string_view text) {
  // Only digits count; anything else the numeric edit lets through ("," and ".") is skipped. The value
  // saturates rather than overflow on a long paste.
  long long number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    number = std::min<long long>(number * 10 + (c - '0'), std::numeric_limits<int>::max());
  }
  value_ = static_cast<int>(number);
  text_ = std::string(text);
  return Report();
}

std::optional<int> ValueControl::EnterPressed() {
  Store(value_);
  return Report();
}

}  // namespace kavo::option
