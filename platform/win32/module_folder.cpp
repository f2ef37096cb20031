#include "platform/win32/module_folder.h"

#include <windows.h>

#include <vector>

namespace kavo::win32 {

std::string ModuleFolder() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".\\";
    if (length < path.size()) {
      std::string folder(path.data(), length);
      const auto separator = folder.find_last_of("\\/");
      return separator == std::string::npos ? ".\\" : folder.substr(0, separator + 1);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace kavo::win32
