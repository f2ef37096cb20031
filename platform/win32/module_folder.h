#pragma once
#include <string>

namespace kavo::win32 {

// Drive and folder of the running executable, always ending in a backslash.
std::string ModuleFolder();

}  // namespace kavo::win32
