#pragma once
// The file dialogs of the Load and Save commands.
#include <string>

#include "option/main_window/main_window_ports.h"

namespace kavo::option {

// programFolder ends in a backslash; the dialog starts in its "config\" folder.
ProfileFileDialog ProfileFileDialogFor(FileDialogKind kind, const std::string& programFolder);

}  // namespace kavo::option
