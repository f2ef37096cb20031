#include "option/profiles/profile_file_dialog.h"

namespace kavo::option {

ProfileFileDialog ProfileFileDialogFor(FileDialogKind kind, const std::string& programFolder) {
  ProfileFileDialog dialog{};
  dialog.kind = kind;
  dialog.defaultExtension = "*.vmp";
  dialog.initialName = programFolder + "config\\.vmp";
  dialog.filter = "Velmar Mouse Profile(*.vmp)|*.vmp|";
  dialog.hideReadOnly = true;
  dialog.overwritePrompt = true;
  // Loading needs a file that is there; saving may name several, of which the first is used.
  dialog.fileMustExist = kind == FileDialogKind::kOpen;
  dialog.allowMultiSelect = kind == FileDialogKind::kSave;
  return dialog;
}

}  // namespace kavo::option
