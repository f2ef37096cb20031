#pragma once
// The main window's ports over the real API: the peer programs' windows, the help libraries beside the
// program and the standard file dialogs.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "option/common/help_library_loader.h"
#include "option/main_window/main_window_ports.h"

namespace kavo::option::win32 {

class Win32PeerWindows : public PeerWindows {
 public:
  bool Send(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool Post(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
};

// Help libraries mapped as data files, never run; their strings read with LoadStringA.
class ModuleHelpFiles : public HelpLibraryFiles {
 public:
  std::unique_ptr<HelpStrings> Load(const std::string& path) override;
};

// GetOpenFileNameA / GetSaveFileNameA as the dialog asks; nothing when cancelled.
std::optional<std::string> RunFileDialog(HWND owner, const ProfileFileDialog& dialog);

}  // namespace kavo::option::win32
