#pragma once
// The few file operations the settings need. Paths are Windows paths built from the program folder.
#include <string>
#include <string_view>

namespace kavo {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file; false when it is missing or cannot be read.
  virtual bool Read(const std::string& path, std::string& contents) = 0;
  // Replaces the file as one step: a temporary file in the same folder, flushed, then moved over the
  // target. On any failure the previous file stays whole and the result is false.
  virtual bool Replace(const std::string& path, std::string_view contents) = 0;
  virtual bool Remove(const std::string& path) = 0;
  virtual bool IsReadable(const std::string& path) = 0;
};

// Copies one file over another (replacing it as one step); false when the source cannot be read.
bool CopyFileContents(FileSystem& files, const std::string& from, const std::string& to);

// "C:\dir\name.ext" -> "name"; either separator is accepted.
std::string BaseNameWithoutExtension(std::string_view path);

}  // namespace kavo
