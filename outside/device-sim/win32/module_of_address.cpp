#include "outside/device-sim/win32/module_of_address.h"

#include <vector>

namespace kavo::sim::win32 {

HMODULE ModuleOfAddress(const void* address) {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module)) {
    return nullptr;
  }
  return module;
}

std::string FolderOfModule(HMODULE module) {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".\\";
    if (length < path.size()) {
      const std::string file(path.data(), length);
      const auto separator = file.find_last_of("\\/");
      return separator == std::string::npos ? ".\\" : file.substr(0, separator + 1);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace kavo::sim::win32
