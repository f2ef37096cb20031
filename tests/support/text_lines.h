#pragma once
// Text output of our tools and stand-ins as lines, without their CR/LF ends. An unfinished last line (no
// line end yet) is left out: its writer is not done with it.
#include <string>
#include <string_view>
#include <vector>

namespace kavo::test {

inline std::vector<std::string> TextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  return lines;
}

}  // namespace kavo::test
