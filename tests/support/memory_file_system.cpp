#include "tests/support/memory_file_system.h"

namespace kavo::test {

FileRead MemoryFileSystem::Read(const std::string& path, std::string& contents) {
  const auto found = files.find(path);
  if (found == files.end()) return FileRead::kMissing;
  if (unreadable_.count(path)) return FileRead::kUnreadable;
  contents = found->second;
  return FileRead::kRead;
}

bool MemoryFileSystem::Replace(const std::string& path, std::string_view contents) {
  if (failAll_ || failing_.count(path)) return false;
  files[path] = std::string(contents);
  ++replaceCount;
  return true;
}

bool MemoryFileSystem::Remove(const std::string& path) { return files.erase(path) > 0; }

bool MemoryFileSystem::IsReadable(const std::string& path) {
  return files.count(path) > 0 && unreadable_.count(path) == 0;
}

}  // namespace kavo::test
