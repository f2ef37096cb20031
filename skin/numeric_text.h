#pragma once
// The numeric mode of the skinned edit field: only digits, "," and "." may be typed, and any text that
// arrives otherwise (pasted, set) is cut back to its leading run of those characters.
#include <optional>
#include <string>
#include <string_view>

namespace kavo::skin {

// Virtual keys a numeric edit lets through on key-down: digits of the main block and of the keypad,
// Backspace, Enter, End, Home, Left, Right, Delete and the comma and period keys.
bool IsNumericKey(unsigned virtualKey);

// The leading run of characters from "0123456789,.".
std::string_view NumericPrefix(std::string_view text);

// The text the edit must show instead, or nothing when the text is already numeric.
std::optional<std::string> NumericCorrection(std::string_view text);

}  // namespace kavo::skin
