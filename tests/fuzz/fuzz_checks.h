#pragma once
// What the fuzz targets assert: a broken property aborts, which libFuzzer reports with the input.
#include <cstdlib>
#include <cstring>

namespace kavo::fuzz {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

template <std::size_t N>
bool Terminated(const char (&field)[N]) {
  return std::memchr(field, 0, N) != nullptr;
}

}  // namespace kavo::fuzz
