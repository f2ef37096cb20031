#pragma once
// The profile edit dialog: a profile's name and the three programs that bring it to front. It edits four
// texts and writes them into the profile record on OK only; it checks nothing about them.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "option/common/program_path_browse.h"
#include "settings/settings_record.h"

namespace kavo::option {

enum class ProfileEditField { kName = 0, kGame0 = 1, kGame1 = 2, kGame2 = 3 };
constexpr int kProfileEditFieldCount = 4;

enum class ProfileEditCommand { kOk, kCancel, kExit, kBrowse0, kBrowse1, kBrowse2 };

// What the window does after a command: end with a code, or show a field's new text.
struct ProfileEditStep {
  std::optional<int> endCode;
  std::optional<ProfileEditField> changedField;
  BrowseOutcome browse = BrowseOutcome::kCancelled;  // for the browse commands
};

constexpr DialogPictures kProfileEditPictures{218, 425, 425, 423, 424, 425, {525, 356}};

class ProfileEditDialog {
 public:
  // newProfile: Create starts with four empty fields; Edit (false) fills them from the record.
  ProfileEditDialog(ProfileRecord& record, bool newProfile, ProgramFileDialog& files);

  // Characters an edit field takes. The name is held to 20 although its record field is wider; a path
  // field takes what its record field holds before the terminator.
  static std::size_t EditLimit(ProfileEditField field);

  const std::string& Text(ProfileEditField field) const;
  // The window's edit changed; false (and nothing kept) when the text exceeds the field's limit.
  bool SetText(ProfileEditField field, std::string_view text);

  ProfileEditStep OnCommand(ProfileEditCommand command);

 private:
  ProfileRecord& record_;
  ProgramFileDialog& files_;
  std::array<std::string, kProfileEditFieldCount> texts_;
};

}  // namespace kavo::option
