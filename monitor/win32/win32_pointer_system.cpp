#include "monitor/win32/win32_pointer_system.h"

namespace kavo::monitor::win32 {

void Win32PointerSystem::SetDoubleClickTime(int milliseconds) { ::SetDoubleClickTime(static_cast<UINT>(milliseconds)); }

void Win32PointerSystem::SetAcceleration(int threshold1, int threshold2, int speed) {
  int values[3] = {threshold1, threshold2, speed};
  ::SystemParametersInfoA(SPI_SETMOUSE, 0, values, SPIF_SENDCHANGE);
  if (window_) ::SendMessageA(window_, WM_WININICHANGE, SPI_SETMOUSE, reinterpret_cast<LPARAM>(values));
}

void Win32PointerSystem::SetPointerSpeed(int speed) {
  // Windows takes the speed in pvParam; Wine reads uiParam. Both carry it, which Windows accepts.
  ::SystemParametersInfoA(SPI_SETMOUSESPEED, static_cast<UINT>(speed), reinterpret_cast<void*>(static_cast<INT_PTR>(speed)),
                          SPIF_SENDCHANGE);
  if (window_) ::SendMessageA(window_, WM_WININICHANGE, SPI_SETMOUSESPEED, 0);
}

void Win32PointerSystem::SetWheelScrollLines(int lines) {
  ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(lines), nullptr, SPIF_SENDCHANGE);
  ::PostMessageA(HWND_BROADCAST, WM_WININICHANGE, SPI_SETWHEELSCROLLLINES, 0);
}

void Win32PointerSystem::SetWheelScrollChars(int characters) {
  ::SystemParametersInfoA(SPI_SETWHEELSCROLLCHARS, static_cast<UINT>(characters), nullptr, SPIF_SENDCHANGE);
  ::PostMessageA(HWND_BROADCAST, WM_WININICHANGE, SPI_SETWHEELSCROLLCHARS, 0);
}

}  // namespace kavo::monitor::win32
