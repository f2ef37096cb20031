#pragma once
// The desktop around the service on Windows: other programs' windows by title, the shell, the debugger
// output and synthetic input.
#include "monitor/debug_output.h"
#include "monitor/input_sink.h"
#include "monitor/service_ports.h"

namespace kavo::monitor::win32 {

class Win32Desktop final : public Desktop {
 public:
  bool PostToWindow(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool BringToFront(const char* title) override;
  bool WindowExists(const char* title) override;
};

class Win32Shell final : public Shell {
 public:
  void Open(const std::string& path) override;
};

class Win32DebugOutput final : public DebugOutput {
 public:
  void Write(const char* text) override;
};

// keybd_event and mouse_event, as every program's input.
class Win32InputSink final : public InputSink {
 public:
  void Key(int virtualKey, int scanCode, bool up, bool extended) override;
  void Button(MouseButton button, bool up) override;
};

}  // namespace kavo::monitor::win32
