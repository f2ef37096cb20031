#include "monitor/win32/win32_clock.h"

#include <windows.h>

namespace kavo::monitor::win32 {

void Win32Clock::Sleep(int milliseconds) { ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

}  // namespace kavo::monitor::win32
