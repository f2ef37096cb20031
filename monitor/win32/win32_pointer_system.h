#pragma once
#include <windows.h>

#include "monitor/pointer_settings.h"

namespace kavo::monitor::win32 {

// SystemParametersInfoA with SPIF_SENDCHANGE; the acceleration and speed changes are also sent as
// WM_WININICHANGE to the service's own window, the wheel changes posted to every top-level window.
// A setting Windows refuses is left as it was.
class Win32PointerSystem final : public PointerSystem {
 public:
  explicit Win32PointerSystem(HWND window) : window_(window) {}
  void SetDoubleClickTime(int milliseconds) override;
  void SetAcceleration(int threshold1, int threshold2, int speed) override;
  void SetPointerSpeed(int speed) override;
  void SetWheelScrollLines(int lines) override;
  void SetWheelScrollChars(int characters) override;

 private:
  HWND window_;
};

}  // namespace kavo::monitor::win32
