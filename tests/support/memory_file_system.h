#pragma once
// Files kept in memory, with failures on request.
#include <map>
#include <set>
#include <string>

#include "settings/file_system.h"

namespace kavo::test {

class MemoryFileSystem final : public FileSystem {
 public:
  FileRead Read(const std::string& path, std::string& contents) override;
  bool Replace(const std::string& path, std::string_view contents) override;
  bool Remove(const std::string& path) override;
  bool IsReadable(const std::string& path) override;

  // Replacements of this path fail (a full disk, a read-only folder); the old content stays.
  void FailWritesTo(const std::string& path) { failing_.insert(path); }
  void FailAllWrites(bool fail) { failAll_ = fail; }
  // The file is there but cannot be read (another program holds it without sharing, an I/O error);
  // it stays so until StopFailingReadsOf.
  void FailReadsOf(const std::string& path) { unreadable_.insert(path); }
  void StopFailingReadsOf(const std::string& path) { unreadable_.erase(path); }

  std::map<std::string, std::string> files;
  int replaceCount = 0;

 private:
  std::set<std::string> failing_;
  std::set<std::string> unreadable_;
  bool failAll_ = false;
};

}  // namespace kavo::test
