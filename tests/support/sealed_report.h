#pragma once
// Report bytes for tests written by hand, with the 16-bit byte sum the settings and button reports end in.
#include <cstdint>
#include <vector>

namespace kavo::test {

using Bytes = std::vector<std::uint8_t>;

// Appends the sum of the bytes, low byte first.
inline Bytes Sealed(Bytes report) {
  unsigned sum = 0;
  for (std::uint8_t b : report) sum += b;
  report.push_back(static_cast<std::uint8_t>(sum & 0xFF));
  report.push_back(static_cast<std::uint8_t>((sum >> 8) & 0xFF));
  return report;
}

}  // namespace kavo::test
