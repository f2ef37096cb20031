// The profile edit and program path dialogs: what they start with, what the edits take, what browsing
// puts into a field and what OK and Cancel leave in the records.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "option/profiles/profile_edit_dialog.h"
#include "option/assign/program_path_dialog.h"
#include "settings/bounded_text.h"

namespace kavo::option {
namespace {

using namespace std::string_literals;

// The file dialog answers from a script and notes every request.
class ScriptedFileDialog : public ProgramFileDialog {
 public:
  std::string desktop = "C:\\Users\\kim\\Desktop";
  std::vector<std::optional<std::string>> answers;
  std::vector<ProgramFileRequest> requests;

  std::string DesktopFolder() override { return desktop; }
  std::optional<std::string> Choose(const ProgramFileRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

class ProfileEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProfile(record_, 2);
    CopyBounded(record_.ProFileName, "Shooter");
    CopyBounded(record_.GameFile0, "C:\\Games\\a.exe");
    CopyBounded(record_.GameFile1, "C:\\Games\\b.exe");
    CopyBounded(record_.GameFile2, "C:\\Games\\c.exe");
    std::memcpy(&before_, &record_, sizeof record_);
  }
  bool RecordUnchanged() const { return std::memcmp(&before_, &record_, sizeof record_) == 0; }

  ProfileRecord record_{};
  ProfileRecord before_{};
  ScriptedFileDialog files_;
};

TEST_F(ProfileEditTest, EditStartsFromTheRecordAndCreateStartsEmpty) {
  ProfileEditDialog edit(record_, false, files_);
  EXPECT_EQ(edit.Text(ProfileEditField::kName), "Shooter");
  EXPECT_EQ(edit.Text(ProfileEditField::kGame0), "C:\\Games\\a.exe");
  EXPECT_EQ(edit.Text(ProfileEditField::kGame1), "C:\\Games\\b.exe");
  EXPECT_EQ(edit.Text(ProfileEditField::kGame2), "C:\\Games\\c.exe");

  ProfileEditDialog create(record_, true, files_);
  for (auto field : {ProfileEditField::kName, ProfileEditField::kGame0, ProfileEditField::kGame1,
                     ProfileEditField::kGame2}) {
    EXPECT_EQ(create.Text(field), "") << static_cast<int>(field);
  }
}

TEST_F(ProfileEditTest, CancelExitAndCancelledCreateLeaveTheRecordAlone) {
  for (bool newProfile : {false, true}) {
    for (auto command : {ProfileEditCommand::kCancel, ProfileEditCommand::kExit}) {
      ProfileEditDialog dialog(record_, newProfile, files_);
      ASSERT_TRUE(dialog.SetText(ProfileEditField::kName, "Other"));
      ASSERT_TRUE(dialog.SetText(ProfileEditField::kGame1, ""));
      const ProfileEditStep step = dialog.OnCommand(command);
      EXPECT_EQ(step.endCode, kDialogCancel);
      EXPECT_TRUE(RecordUnchanged()) << "new " << newProfile << " command " << static_cast<int>(command);
    }
  }
}

TEST_F(ProfileEditTest, OkWritesTheFourTextsAsTypedAndNothingElse) {
  ProfileEditDialog dialog(record_, false, files_);
  ASSERT_TRUE(dialog.SetText(ProfileEditField::kName, "Racing"));
  ASSERT_TRUE(dialog.SetText(ProfileEditField::kGame1, ""));  // an emptied path stores an empty name
  ASSERT_TRUE(dialog.SetText(ProfileEditField::kGame2, "D:\\x.exe"));
  EXPECT_EQ(dialog.OnCommand(ProfileEditCommand::kOk).endCode, kDialogOk);

  EXPECT_EQ(FieldText(record_.ProFileName), "Racing");
  EXPECT_EQ(FieldText(record_.GameFile0), "C:\\Games\\a.exe");
  EXPECT_EQ(FieldText(record_.GameFile1), "");
  EXPECT_EQ(FieldText(record_.GameFile2), "D:\\x.exe");
  // No trace of the longer old texts stays behind their terminators.
  EXPECT_EQ(record_.ProFileName[6], '\0');
  EXPECT_EQ(record_.ProFileName[7], '\0');
  EXPECT_EQ(record_.GameFile1[0], '\0');
  EXPECT_EQ(record_.GameFile1[5], '\0');
  // Everything after the four texts is untouched.
  EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&record_) + offsetof(ProfileRecord, padding),
                        reinterpret_cast<const char*>(&before_) + offsetof(ProfileRecord, padding),
                        sizeof record_ - offsetof(ProfileRecord, padding)),
            0);
}

TEST_F(ProfileEditTest, CreateThenOkStoresEmptyFieldsOverAnExistingProfile) {
  ProfileEditDialog dialog(record_, true, files_);
  ASSERT_TRUE(dialog.SetText(ProfileEditField::kName, "New"));
  dialog.OnCommand(ProfileEditCommand::kOk);
  EXPECT_EQ(FieldText(record_.ProFileName), "New");
  EXPECT_EQ(FieldText(record_.GameFile0), "");
  EXPECT_EQ(FieldText(record_.GameFile1), "");
  EXPECT_EQ(FieldText(record_.GameFile2), "");
}

TEST_F(ProfileEditTest, EditsRefuseTextsBeyondTheirLimits) {
  struct Case {
    ProfileEditField field;
    std::size_t limit;
  };
  for (const Case& c : {Case{ProfileEditField::kName, 20}, Case{ProfileEditField::kGame0, 499},
                        Case{ProfileEditField::kGame1, 499}, Case{ProfileEditField::kGame2, 499}}) {
    SCOPED_TRACE(static_cast<int>(c.field));
    EXPECT_EQ(ProfileEditDialog::EditLimit(c.field), c.limit);
    ProfileEditDialog dialog(record_, true, files_);
    EXPECT_TRUE(dialog.SetText(c.field, std::string(c.limit, 'n')));
    EXPECT_FALSE(dialog.SetText(c.field, std::string(c.limit + 1, 'n')));  // the 21st character
    EXPECT_EQ(dialog.Text(c.field).size(), c.limit);
    dialog.OnCommand(ProfileEditCommand::kOk);
  }
  EXPECT_EQ(FieldText(record_.GameFile2), std::string(499, 'n'));  // the full width fits with its zero
}

TEST_F(ProfileEditTest, ANameLongerThanTheEditLimitFromTheRecordCanOnlyShrink) {
  CopyBounded(record_.ProFileName, std::string(30, 'q'));
  ProfileEditDialog dialog(record_, false, files_);
  EXPECT_EQ(dialog.Text(ProfileEditField::kName).size(), 30u);
  EXPECT_FALSE(dialog.SetText(ProfileEditField::kName, std::string(31, 'q')));
  EXPECT_TRUE(dialog.SetText(ProfileEditField::kName, std::string(29, 'q')));
  dialog.OnCommand(ProfileEditCommand::kOk);
  EXPECT_EQ(FieldText(record_.ProFileName), std::string(29, 'q'));
}

TEST_F(ProfileEditTest, BrowseReplacesOnlyItsOwnFieldWithTheChosenPath) {
  struct Case {
    ProfileEditCommand command;
    ProfileEditField field;
  };
  for (const Case& c : {Case{ProfileEditCommand::kBrowse0, ProfileEditField::kGame0},
                        Case{ProfileEditCommand::kBrowse1, ProfileEditField::kGame1},
                        Case{ProfileEditCommand::kBrowse2, ProfileEditField::kGame2}}) {
    SCOPED_TRACE(static_cast<int>(c.field));
    ProfileEditDialog dialog(record_, false, files_);
    files_.answers = {"E:\\Steam\\game.exe"s};
    const ProfileEditStep step = dialog.OnCommand(c.command);
    EXPECT_FALSE(step.endCode);
    EXPECT_EQ(step.browse, BrowseOutcome::kChosen);
    EXPECT_EQ(step.changedField, c.field);
    const char* original[] = {"Shooter", "C:\\Games\\a.exe", "C:\\Games\\b.exe", "C:\\Games\\c.exe"};
    for (int i = 0; i < kProfileEditFieldCount; ++i) {
      const auto other = static_cast<ProfileEditField>(i);
      EXPECT_EQ(dialog.Text(other), other == c.field ? "E:\\Steam\\game.exe" : original[i]);
    }
    EXPECT_TRUE(RecordUnchanged());  // browsing writes nothing until OK
  }
}

TEST_F(ProfileEditTest, BrowseThatYieldsNothingUsableLeavesTheField) {
  struct Case {
    const char* what;
    std::optional<std::string> answer;
    BrowseOutcome outcome;
  };
  const Case cases[] = {
      {"cancelled", std::nullopt, BrowseOutcome::kCancelled},
      {"empty buffer", ""s, BrowseOutcome::kCancelled},
      {"several files", "C:\\Games\0a.exe\0b.exe"s, BrowseOutcome::kSeveralRefused},
      {"too long", "C:\\" + std::string(497, 'p'), BrowseOutcome::kTooLongRefused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProfileEditDialog dialog(record_, false, files_);
    files_.answers = {c.answer};
    const ProfileEditStep step = dialog.OnCommand(ProfileEditCommand::kBrowse1);
    EXPECT_EQ(step.browse, c.outcome);
    EXPECT_FALSE(step.changedField);
    EXPECT_EQ(dialog.Text(ProfileEditField::kGame1), "C:\\Games\\b.exe");
  }
}

TEST(ProgramBrowse, AsksTheFileDialogForProgramsStartingOnTheDesktop) {
  ScriptedFileDialog files;
  files.desktop = "C:\\Users\\ana\\Desktop";
  files.answers = {"C:\\Tools\\run.exe\0"s};  // trailing terminators are no second part
  const BrowseResult result = BrowseForProgram(files, 261);
  ASSERT_EQ(result.outcome, BrowseOutcome::kChosen);
  EXPECT_EQ(result.path, "C:\\Tools\\run.exe");

  ASSERT_EQ(files.requests.size(), 1u);
  const ProgramFileRequest& request = files.requests[0];
  EXPECT_EQ(request.defaultExtension, "*.exe");
  EXPECT_EQ(request.initialFile, "C:\\Users\\ana\\Desktop\\.exe");
  EXPECT_EQ(request.filter, "exe file(*.exe)|*.EXE|");
  EXPECT_EQ(request.flags & 0x206u, 0x206u);  // overwrite prompt, hide read-only, multiple selection
  EXPECT_NE(request.flags & 0x80000u, 0u);    // explorer style: a multiple selection comes zero-separated
  EXPECT_EQ(request.structureSize, 88u);
  EXPECT_GT(request.bufferSize, 261u);
}

TEST(ProgramBrowse, PathsAreTakenUpToTheLimitExactly) {
  ScriptedFileDialog files;
  const std::string exact = "C:\\" + std::string(258, 'x');  // 261 characters
  files.answers = {exact, exact + "y"};
  EXPECT_EQ(BrowseForProgram(files, 261).outcome, BrowseOutcome::kChosen);
  EXPECT_EQ(BrowseForProgram(files, 261).outcome, BrowseOutcome::kTooLongRefused);
}

TEST(ProgramBrowse, FilterBecomesTheZeroSeparatedListOfTheFileDialog) {
  EXPECT_EQ(FileDialogFilter("exe file(*.exe)|*.EXE|"), "exe file(*.exe)\0*.EXE\0\0"s);
  EXPECT_EQ(FileDialogFilter("a|*.a"), "a\0*.a\0\0"s);
}

class ProgramPathTest : public ::testing::Test {
 protected:
  MacroKeyInfo entry_{};
  ScriptedFileDialog files_;
};

TEST_F(ProgramPathTest, StartsWithTheEntrysPathOnlyWhenItAlreadyLaunchesAProgram) {
  CopyBounded(entry_.programPath, "C:\\x\\tool.exe");
  struct Case {
    std::uint8_t function;
    const char* expected;
  };
  for (const Case& c : {Case{kFunctionQuicklaunch, "C:\\x\\tool.exe"}, Case{kFunctionMacro, ""},
                        Case{kFunctionClick, ""}, Case{kFunctionKeyShortcut, ""}}) {
    entry_.function = c.function;
    EXPECT_EQ(ProgramPathDialog::InitialPath(entry_), c.expected) << int(c.function);
  }
}

TEST_F(ProgramPathTest, OkStoresTheFieldAndCancelOrExitKeepTheEntry) {
  CopyBounded(entry_.programPath, "C:\\old.exe");
  struct Case {
    ProgramPathCommand end;
    int code;
    const char* stored;
  };
  for (const Case& c : {Case{ProgramPathCommand::kOk, kDialogOk, "C:\\new.exe"},
                        Case{ProgramPathCommand::kCancel, kDialogCancel, "C:\\old.exe"},
                        Case{ProgramPathCommand::kExit, kDialogCancel, "C:\\old.exe"}}) {
    MacroKeyInfo entry = entry_;
    ProgramPathDialog dialog("C:\\old.exe", files_);
    ASSERT_TRUE(dialog.SetText("C:\\new.exe"));
    EXPECT_EQ(dialog.path(), "C:\\old.exe");  // the path text follows the field only on OK
    EXPECT_EQ(dialog.OnCommand(c.end).endCode, c.code);
    EXPECT_EQ(dialog.StoreInto(entry), c.code == kDialogOk);
    EXPECT_EQ(FieldText(entry.programPath), c.stored);
  }
}

TEST_F(ProgramPathTest, BrowseThenOkStoresTheChosenProgramWithinTheEntrysField) {
  ProgramPathDialog dialog("", files_);
  files_.answers = {std::nullopt, "C:\\Apps\\a.exe\0b.exe"s, "C:\\Apps\\chosen.exe"s};
  EXPECT_FALSE(dialog.OnCommand(ProgramPathCommand::kBrowse).fieldChanged);
  EXPECT_FALSE(dialog.OnCommand(ProgramPathCommand::kBrowse).fieldChanged);
  EXPECT_EQ(dialog.Text(), "");
  const ProgramPathStep step = dialog.OnCommand(ProgramPathCommand::kBrowse);
  EXPECT_TRUE(step.fieldChanged);
  EXPECT_FALSE(step.endCode);
  dialog.OnCommand(ProgramPathCommand::kOk);
  EXPECT_TRUE(dialog.StoreInto(entry_));
  EXPECT_EQ(FieldText(entry_.programPath), "C:\\Apps\\chosen.exe");
}

TEST_F(ProgramPathTest, TheFieldTakesWhatTheEntryHolds) {
  EXPECT_EQ(ProgramPathDialog::EditLimit(), 261u);
  ProgramPathDialog dialog("", files_);
  EXPECT_FALSE(dialog.SetText(std::string(262, 'z')));
  ASSERT_TRUE(dialog.SetText(std::string(261, 'z')));
  dialog.OnCommand(ProgramPathCommand::kOk);
  entry_.programPath[261] = 'x';  // a stale byte where the terminator belongs
  ASSERT_TRUE(dialog.StoreInto(entry_));
  EXPECT_EQ(FieldText(entry_.programPath), std::string(261, 'z'));
  EXPECT_EQ(entry_.programPath[261], '\0');
}

}  // namespace
}  // namespace kavo::option
