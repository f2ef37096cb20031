#include "settings/file_system.h"

namespace kavo {

bool CopyFileContents(FileSystem& files, const std::string& from, const std::string& to) {
  std::string contents;
  return files.Read(from, contents) && files.Replace(to, contents);
}

std::string BaseNameWithoutExtension(std::string_view path) {
  const auto separator = path.find_last_of("\\/:");
  std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace kavo
