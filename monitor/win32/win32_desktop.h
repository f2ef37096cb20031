#pragma once
// The desktop around the service on Windows: other programs' windows by title, the shell, the debugger
// output and synthetic keys.
#include "monitor/debug_output.h"
#include "monitor/key_input.h"
#include "monitor/service_ports.h"

namespace kavo::win32 {

class Win32Desktop final : public Desktop {
 public:
  bool PostToWindow(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool BringToFront(const char* title) override;
};

class Win32Shell final : public Shell {
 public:
  void Open(const std::string& path) override;
};

class Win32DebugOutput final : public DebugOutput {
 public:
  void Write(const char* text) override;
};

// keybd_event with the key's scan code from the active layout.
class Win32KeyInput final : public KeyInput {
 public:
  void KeyDown(int virtualKey) override;
  void KeyUp(int virtualKey) override;
};

}  // namespace kavo::win32
