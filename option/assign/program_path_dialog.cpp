#include "option/assign/program_path_dialog.h"

#include "settings/bounded_text.h"

namespace kavo::option {

std::string ProgramPathDialog::InitialPath(const MacroKeyInfo& entry) {
  if (entry.function != kFunctionQuicklaunch) return {};
  return FieldText(entry.programPath);
}

ProgramPathDialog::ProgramPathDialog(std::string_view path, ProgramFileDialog& files)
    : files_(files), path_(path), text_(path) {}

bool ProgramPathDialog::SetText(std::string_view text) {
  if (!EditAccepts(text_, text, EditLimit())) return false;
  text_ = text;
  return true;
}

ProgramPathStep ProgramPathDialog::OnCommand(ProgramPathCommand command) {
  ProgramPathStep step;
  switch (command) {
    case ProgramPathCommand::kOk:
      path_ = text_;
      endCode_ = kDialogOk;
      break;
    case ProgramPathCommand::kCancel:
    case ProgramPathCommand::kExit:
      endCode_ = kDialogCancel;
      break;
    case ProgramPathCommand::kBrowse: {
      BrowseResult result = BrowseForProgram(files_, EditLimit());
      step.browse = result.outcome;
      if (result.outcome == BrowseOutcome::kChosen) {
        text_ = std::move(result.path);
        step.fieldChanged = true;
      }
      break;
    }
  }
  step.endCode = endCode_;
  return step;
}

bool ProgramPathDialog::StoreInto(MacroKeyInfo& entry) const {
  if (endCode_ != kDialogOk) return false;
  CopyBounded(entry.programPath, path_);
  return true;
}

}  // namespace kavo::option
