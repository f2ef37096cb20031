#include "option/profiles/profile_edit_dialog.h"

#include "settings/bounded_text.h"

namespace kavo::option {

namespace {
constexpr std::size_t kNameLimit = 20;

std::size_t Index(ProfileEditField field) { return static_cast<std::size_t>(field); }
}  // namespace

ProfileEditDialog::ProfileEditDialog(ProfileRecord& record, bool newProfile, ProgramFileDialog& files)
    : record_(record), files_(files) {
  if (newProfile) return;
  texts_[0] = FieldText(record.ProFileName);
  texts_[1] = FieldText(record.GameFile0);
  texts_[2] = FieldText(record.GameFile1);
  texts_[3] = FieldText(record.GameFile2);
}

std::size_t ProfileEditDialog::EditLimit(ProfileEditField field) {
  switch (field) {
    case ProfileEditField::kName: return kNameLimit;
    case ProfileEditField::kGame0: return sizeof(ProfileRecord::GameFile0) - 1;
    case ProfileEditField::kGame1: return sizeof(ProfileRecord::GameFile1) - 1;
    case ProfileEditField::kGame2: return sizeof(ProfileRecord::GameFile2) - 1;
  }
  return 0;
}

const std::string& ProfileEditDialog::Text(ProfileEditField field) const { return texts_[Index(field)]; }

bool ProfileEditDialog::SetText(ProfileEditField field, std::string_view text) {
  std::string& current = texts_[Index(field)];
  if (!EditAccepts(current, text, EditLimit(field))) return false;
  current = text;
  return true;
}

ProfileEditStep ProfileEditDialog::OnCommand(ProfileEditCommand command) {
  ProfileEditStep step;
  switch (command) {
    case ProfileEditCommand::kOk:
      CopyBounded(record_.ProFileName, texts_[0]);
      CopyBounded(record_.GameFile0, texts_[1]);
      CopyBounded(record_.GameFile1, texts_[2]);
      CopyBounded(record_.GameFile2, texts_[3]);
      step.endCode = kDialogOk;
      return step;
    case ProfileEditCommand::kCancel:
    case ProfileEditCommand::kExit:
      step.endCode = kDialogCancel;
      return step;
    case ProfileEditCommand::kBrowse0:
    case ProfileEditCommand::kBrowse1:
    case ProfileEditCommand::kBrowse2: {
      const auto field = static_cast<ProfileEditField>(
          1 + static_cast<int>(command) - static_cast<int>(ProfileEditCommand::kBrowse0));
      BrowseResult result = BrowseForProgram(files_, EditLimit(field));
      step.browse = result.outcome;
      if (result.outcome == BrowseOutcome::kChosen) {
        texts_[Index(field)] = std::move(result.path);
        step.changedField = field;
      }
      return step;
    }
  }
  return step;
}

}  // namespace kavo::option
