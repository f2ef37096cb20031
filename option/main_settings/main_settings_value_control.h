#pragma once
// The sensitivity value control: a numeric edit between a decrease and an increase button. It keeps its
// value and text; each action tells whether the value is to be reported to the page.
#include <optional>
#include <string>
#include <string_view>

namespace kavo::option {

class ValueControl {
 public:
  ValueControl(int minimum, int maximum, int step);

  int value() const { return value_; }
  const std::string& text() const { return text_; }
  // Characters the edit accepts: the digits of the maximum.
  std::size_t TextLimit() const { return textLimit_; }

  // Shown from outside (the page): clamped, text rewritten, nothing reported.
  void SetValue(int value);

  // User actions. Each returns the value to report to the page, or nothing when the value lies below
  // the minimum (an emptied or zero text).
  std::optional<int> Increase();
  std::optional<int> Decrease();
  // Typing: the value follows the digits of the text at once; the text is left as typed.
  std::optional<int> TextChanged(std::string_view text);
  // Enter: clamp to the range and rewrite the text.
  std::optional<int> EnterPressed();

 private:
  std::optional<int> Report() const;
  void Store(long long value);

  int minimum_;
  int maximum_;
  int step_;
  std::size_t textLimit_;
  int value_;
  std::string text_;
};

}  // namespace kavo::option
