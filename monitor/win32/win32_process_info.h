#pragma once
// The program in front: the name of the program of the process that owns the foreground window, read
// with the least rights that work.
#include "monitor/game_profiles.h"

namespace kavo::monitor::win32 {

class Win32ProcessInfo final : public ProcessInfo {
 public:
  std::optional<std::string> ForegroundModuleBaseName() override;
};

}  // namespace kavo::monitor::win32
