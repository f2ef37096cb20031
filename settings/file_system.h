#pragma once
// The few file operations the settings need. Paths are Windows paths built from the program folder.
#include <string>
#include <string_view>

namespace kavo {

// What reading a file found. A missing file has a defined meaning (the defaults); a file that is there but
// could not be read (another program holds it without sharing, an I/O error) holds the user's settings all
// the same, so nothing read from it may be saved over it. True only when the contents were read.
class FileRead {
 public:
  enum Outcome { kRead, kMissing, kUnreadable };
  constexpr FileRead(Outcome outcome) : outcome_(outcome) {}
  constexpr explicit operator bool() const { return outcome_ == kRead; }
  friend constexpr bool operator==(FileRead a, FileRead b) { return a.outcome_ == b.outcome_; }
  friend constexpr bool operator!=(FileRead a, FileRead b) { return a.outcome_ != b.outcome_; }

 private:
  Outcome outcome_;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file into contents; unless the result is kRead, contents holds nothing of use.
  virtual FileRead Read(const std::string& path, std::string& contents) = 0;
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
