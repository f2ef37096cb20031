#pragma once
#include <windows.h>

#include <string>

namespace kavo::sim::win32 {

// The module (executable or DLL) that holds the code at address, without taking a reference on it.
HMODULE ModuleOfAddress(const void* address);
// Its folder, ending in a backslash; ".\" when it cannot be found.
std::string FolderOfModule(HMODULE module);

}  // namespace kavo::sim::win32
