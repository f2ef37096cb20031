#pragma once
// The standard file-open dialog and the Desktop folder behind the program dialogs' browse buttons.
#include <windows.h>

#include <optional>
#include <string>

#include "option/common/program_path_browse.h"

namespace kavo::option::win32 {

class Win32ProgramFileDialog : public ProgramFileDialog {
 public:
  // owner: the window the file dialog is modal over (may be null).
  explicit Win32ProgramFileDialog(HWND owner) : owner_(owner) {}

  std::string DesktopFolder() override;
  std::optional<std::string> Choose(const ProgramFileRequest& request) override;

 private:
  HWND owner_;
};

}  // namespace kavo::option::win32
