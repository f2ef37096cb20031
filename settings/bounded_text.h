#pragma once
// Fixed-size text fields of the records: every write is cut to fit and always terminated.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kavo {

// Copies at most N - 1 characters of text into field and zero-fills the rest.
template <std::size_t N>
void CopyBounded(char (&field)[N], std::string_view text) {
  static_assert(N > 0, "a text field holds at least its terminator");
  const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
  std::memcpy(field, text.data(), length);
  std::memset(field + length, 0, N - length);
}

// The text of a field that may lack its terminator (data from outside): never reads past the field.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  const void* end = std::memchr(field, 0, N);
  return std::string(field, end ? static_cast<const char*>(end) - field : N);
}

// Makes sure the field ends within its bounds; true when it had to be cut.
template <std::size_t N>
bool TerminateField(char (&field)[N]) {
  if (std::memchr(field, 0, N)) return false;
  field[N - 1] = '\0';
  return true;
}

}  // namespace kavo
