#pragma once
// Lines for a debugger attached to the program (DebugView and the like); nothing when none listens.
#include <windows.h>

#include <string>

namespace kavo::win32 {

inline void DebugTrace(const char* line) { ::OutputDebugStringA(line); }
inline void DebugTrace(const std::string& line) { ::OutputDebugStringA(line.c_str()); }

}  // namespace kavo::win32
