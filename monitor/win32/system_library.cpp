#include "monitor/win32/system_library.h"

#include <string>

namespace kavo::monitor::win32 {

using kavo::win32::UniqueModule;

UniqueModule LoadSystemLibrary(const char* name) {
  // The search flags came with AddDllDirectory (Windows 8, and 7 with its update); a loader without it
  // refuses them.
  if (::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "AddDllDirectory") != nullptr) {
    return UniqueModule(::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  }
  return LoadSystemLibraryByPath(name);
}

UniqueModule LoadSystemLibraryByPath(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return UniqueModule();
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  path += name;
  // Its own imports are looked for beside it, in the system folder, before anywhere else.
  return UniqueModule(::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace kavo::monitor::win32
