#pragma once
// What the gallery saw, one line per event, written as it happens to the file named on the command line
// (--log PATH), so that a test driving the gallery from outside can follow it. Without a file nothing is
// written.
#include <fstream>
#include <string>
#include <string_view>

namespace kavo::skin::gallery {

class GalleryLog {
 public:
  explicit GalleryLog(const std::string& path) {
    if (!path.empty()) out_.open(path, std::ios::out | std::ios::trunc);
  }
  void Line(std::string_view line) {
    if (!out_.is_open()) return;
    out_ << line << '\n';
    out_.flush();
  }

 private:
  std::ofstream out_;
};

}  // namespace kavo::skin::gallery
