// The profile edit and program path dialogs run for real with the program's pictures, worked from a second
// thread as a user would (texts set and typed into their fields, buttons clicked), with a file dialog that
// answers as told; and the real file-open dialog under Wine once.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "artwork/profile_edit_dialog.h"
#include "artwork/program_path_dialog.h"
#include "option/common/program_path_browse.h"
#include "option/profiles/win32/profile_dialogs.h"
#include "option/common/win32/program_file_dialog.h"
#include "settings/bounded_text.h"
#include "skin/layout.h"
#include "tests/wine/skin_test_support.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/window_readback.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

using option::ProgramFileDialog;
using option::ProgramFileRequest;
namespace edit_art = artwork::profile_edit_dialog;
namespace path_art = artwork::program_path_dialog;

// Answers each Choose with the next of its answers (nothing once they run out) and notes what it was asked
// and whether the dialog over it could still be clicked.
class FakeFiles : public ProgramFileDialog {
 public:
  std::vector<std::optional<std::string>> answers;
  std::vector<ProgramFileRequest> requests;
  std::vector<bool> dialogEnabled;
  std::atomic<HWND> dialog{nullptr};

  std::string DesktopFolder() override { return "C:\\users\\kim\\Desktop"; }
  std::optional<std::string> Choose(const ProgramFileRequest& request) override {
    requests.push_back(request);
    dialogEnabled.push_back(::IsWindowEnabled(dialog.load()) != FALSE);
    if (requests.size() > answers.size()) return std::nullopt;
    return answers[requests.size() - 1];
  }
};

// The visible dialog-class window of the given width, waited for.
HWND WaitForDialog(int width) {
  for (int i = 0; i < 500; ++i) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, MAKEINTATOM(32770), nullptr)) != nullptr) {
      RECT bounds{};
      if (::IsWindowVisible(window) && ::GetWindowRect(window, &bounds) && bounds.right - bounds.left == width) {
        return window;
      }
    }
    ::Sleep(10);
  }
  return nullptr;
}

// What a worked dialog gave, and whether act ended it: the close that ends a run act left open gives what
// Cancel gives, so a case that ends with a button expects closedByAct as well as the result.
template <typename Result>
struct WorkedRun {
  Result result;
  bool closedByAct = false;
};

// Runs a dialog on this thread while act(window) works it from another.
template <typename Run>
auto RunWorkedBy(int width, Run run, const std::function<void(HWND)>& act) {
  bool closedByAct = false;
  std::thread user([&] {
    const HWND window = WaitForDialog(width);
    ::Sleep(100);
    if (window != nullptr) {
      act(window);
      closedByAct = WaitForWindowGone(window);
    }
    // Whatever act left open is closed, so that the run ends.
    if (window != nullptr && ::IsWindow(window)) ::PostMessageA(window, WM_CLOSE, 0, 0);
  });
  WorkedRun<decltype(run())> worked{run()};
  user.join();
  worked.closedByAct = closedByAct;
  return worked;
}

BOOL CALLBACK CollectEdit(HWND child, LPARAM found) {
  char name[16] = {};
  ::GetClassNameA(child, name, sizeof name);
  if (::lstrcmpiA(name, "Edit") == 0) reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  return TRUE;
}

// The dialog's edit fields from top to bottom.
std::vector<HWND> Fields(HWND dialog) {
  std::vector<HWND> fields;
  ::EnumChildWindows(dialog, CollectEdit, reinterpret_cast<LPARAM>(&fields));
  std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    ::GetWindowRect(a, &ra);
    ::GetWindowRect(b, &rb);
    return ra.top < rb.top;
  });
  return fields;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

POINT Centre(const char* layout) {
  const auto entry = kavo::skin::ParseLayout(layout);
  if (!entry) return {-1, -1};
  return {(entry->left + entry->right) / 2, (entry->top + entry->bottom) / 2};
}

// The click a button sends its dialog, for the button under a layout string's centre.
void Click(HWND dialog, const char* layout) {
  const HWND button = ::ChildWindowFromPointEx(dialog, Centre(layout), CWP_SKIPINVISIBLE);
  ASSERT_NE(button, nullptr);
  ASSERT_NE(button, dialog) << layout;
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Type(HWND field, const std::string& text) {
  for (char c : text) ::SendMessageA(field, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
}

ProfileRecord FilledRecord() {
  ProfileRecord record{};
  CopyBounded(record.ProFileName, "Arena");
  CopyBounded(record.GameFile0, "C:\\Games\\one.exe");
  CopyBounded(record.GameFile1, "C:\\Games\\two.exe");
  CopyBounded(record.GameFile2, "C:\\Games\\three.exe");
  return record;
}

std::vector<std::string> RecordTexts(const ProfileRecord& record) {
  return {FieldText(record.ProFileName), FieldText(record.GameFile0), FieldText(record.GameFile1),
          FieldText(record.GameFile2)};
}

bool SameRecord(const ProfileRecord& a, const ProfileRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

HINSTANCE Module() { return ::GetModuleHandleA(nullptr); }

struct EditRun {
  bool ok = false;
  bool closedByAct = false;
  std::vector<std::string> shown;  // the fields as the dialog first showed them
};

EditRun RunEdit(ProfileRecord& record, bool newProfile, FakeFiles& files, const std::function<void(HWND)>& act) {
  EditRun run;
  const auto worked = RunWorkedBy(
      edit_art::kWidth, [&] { return option::win32::RunProfileEdit(Module(), nullptr, record, newProfile, files); },
      [&](HWND dialog) {
        files.dialog = dialog;
        for (HWND field : Fields(dialog)) run.shown.push_back(TextOf(field));
        act(dialog);
      });
  run.ok = worked.result;
  run.closedByAct = worked.closedByAct;
  return run;
}

TEST(ProfileEditDialogTest, EditShowsTheRecordAndCreateStartsEmptyWithoutTouchingTheRecord) {
  struct Case {
    const char* name;
    bool newProfile;
    std::vector<std::string> shown;
  };
  const ProfileRecord original = FilledRecord();
  const Case cases[] = {
      {"Edit", false, RecordTexts(original)},
      {"Create", true, {"", "", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileRecord record = original;
    FakeFiles files;
    const EditRun run = RunEdit(record, c.newProfile, files, [](HWND dialog) { Click(dialog, edit_art::kButtonCancel); });
    EXPECT_FALSE(run.ok);
    EXPECT_TRUE(run.closedByAct) << "Cancel left the dialog open";
    EXPECT_EQ(run.shown, c.shown);
    EXPECT_TRUE(SameRecord(record, original));
  }
}

TEST(ProfileEditDialogTest, OkStoresTheFourTextsAndEveryOtherEndLeavesTheRecord) {
  struct Case {
    const char* name;
    std::function<void(HWND)> end;
    bool ok;
  };
  const Case cases[] = {
      {"Ok", [](HWND d) { Click(d, edit_art::kButtonOk); }, true},
      {"Cancel", [](HWND d) { Click(d, edit_art::kButtonCancel); }, false},
      {"Exit", [](HWND d) { Click(d, edit_art::kButtonExit); }, false},
      {"Close", [](HWND d) { ::SendMessageA(d, WM_CLOSE, 0, 0); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProfileRecord original = FilledRecord();
    ProfileRecord record = original;
    FakeFiles files;
    const EditRun run = RunEdit(record, false, files, [&](HWND dialog) {
      const std::vector<HWND> fields = Fields(dialog);
      ASSERT_EQ(fields.size(), 4u);
      ::SetWindowTextA(fields[0], "Racing");
      ::SetWindowTextA(fields[2], "");  // a game emptied
      ::SendMessageA(fields[3], EM_SETSEL, 100, 100);  // after the last character
      Type(fields[3], "x");
      c.end(dialog);
    });
    EXPECT_EQ(run.ok, c.ok);
    EXPECT_TRUE(run.closedByAct) << "the end left the dialog open";
    if (c.ok) {
      EXPECT_EQ(RecordTexts(record),
                (std::vector<std::string>{"Racing", "C:\\Games\\one.exe", "", "C:\\Games\\three.exex"}));
    } else {
      EXPECT_TRUE(SameRecord(record, original));
    }
  }
}

TEST(ProfileEditDialogTest, TheNameTakesTwentyCharactersAndALongerRecordNameCanOnlyShrink) {
  // Created: a 21st character typed is refused.
  ProfileRecord record{};
  FakeFiles files;
  std::string shownAfterTyping;
  EXPECT_TRUE(RunEdit(record, true, files, [&](HWND dialog) {
                const HWND name = Fields(dialog).at(0);
                Type(name, "abcdefghijklmnopqrstu");
                shownAfterTyping = TextOf(name);
                Click(dialog, edit_art::kButtonOk);
              }).ok);
  EXPECT_EQ(shownAfterTyping, "abcdefghijklmnopqrst");
  EXPECT_EQ(FieldText(record.ProFileName), "abcdefghijklmnopqrst");

  // A name from the file longer than twenty is shown whole; a character more is refused, one less taken.
  const std::string longName(30, 'n');
  CopyBounded(record.ProFileName, longName);
  std::string afterCharacter;
  EXPECT_TRUE(RunEdit(record, false, files, [&](HWND dialog) {
                const HWND name = Fields(dialog).at(0);
                ::SendMessageA(name, EM_SETSEL, 30, 30);
                Type(name, "z");
                afterCharacter = TextOf(name);
                Type(name, "\b");
                Click(dialog, edit_art::kButtonOk);
              }).ok);
  EXPECT_EQ(afterCharacter, longName);
  EXPECT_EQ(FieldText(record.ProFileName), std::string(29, 'n'));
}

TEST(ProfileEditDialogTest, ATextLongerThanItsRecordFieldIsTakenBackOutOfTheField) {
  const ProfileRecord original = FilledRecord();
  ProfileRecord record = original;
  FakeFiles files;
  std::string shown;
  EXPECT_TRUE(RunEdit(record, false, files, [&](HWND dialog) {
                const HWND game0 = Fields(dialog).at(1);
                ::SetWindowTextA(game0, std::string(sizeof record.GameFile0, 'p').c_str());
                shown = TextOf(game0);
                Click(dialog, edit_art::kButtonOk);
              }).ok);
  EXPECT_EQ(shown, "C:\\Games\\one.exe");
  EXPECT_TRUE(SameRecord(record, original));
}

TEST(ProfileEditDialogTest, BrowseReplacesOnlyItsFieldWithOneChosenFileAndLeavesItOtherwise) {
  const std::string chosen = "C:\\Program Files\\Race\\race.exe";
  struct Case {
    const char* name;
    const char* button;
    std::optional<std::string> answer;
    std::vector<std::string> stored;
  };
  const Case cases[] = {
      {"Browse0", edit_art::kBrowse0, chosen, {"Arena", chosen, "C:\\Games\\two.exe", "C:\\Games\\three.exe"}},
      {"Browse1", edit_art::kBrowse1, chosen, {"Arena", "C:\\Games\\one.exe", chosen, "C:\\Games\\three.exe"}},
      {"Browse2", edit_art::kBrowse2, chosen, {"Arena", "C:\\Games\\one.exe", "C:\\Games\\two.exe", chosen}},
      {"Cancelled", edit_art::kBrowse1, std::nullopt, RecordTexts(FilledRecord())},
      {"SeveralFiles", edit_art::kBrowse1, std::string("C:\\Games\0a.exe\0b.exe", 21), RecordTexts(FilledRecord())},
      {"TooLong", edit_art::kBrowse1, "C:\\" + std::string(sizeof(ProfileRecord::GameFile1), 'g') + ".exe",
       RecordTexts(FilledRecord())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileRecord record = FilledRecord();
    FakeFiles files;
    files.answers = {c.answer};
    bool enabledAfter = false;
    EXPECT_TRUE(RunEdit(record, false, files, [&](HWND dialog) {
                  Click(dialog, c.button);
                  enabledAfter = ::IsWindowEnabled(dialog) != FALSE;
                  Click(dialog, edit_art::kButtonOk);
                }).ok);
    EXPECT_EQ(RecordTexts(record), c.stored);
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].initialFile, "C:\\users\\kim\\Desktop\\.exe");
    // The skinned dialog takes no clicks while the file dialog is up, and takes them again afterwards.
    EXPECT_EQ(files.dialogEnabled, std::vector<bool>{false});
    EXPECT_TRUE(enabledAfter);
  }
}

TEST(ProgramPathDialogTest, OkGivesTheFieldsTextAndCancelOrExitNothing) {
  struct Case {
    const char* name;
    std::optional<std::string> browseAnswer;  // browse first when set
    const char* typed;                        // else typed over the field, when set
    const char* end;
    std::optional<std::string> result;
  };
  const std::string initial = "C:\\Tools\\old.exe";
  const Case cases[] = {
      {"UntouchedOk", std::nullopt, nullptr, path_art::kButtonOk, initial},
      {"TypedOk", std::nullopt, "D:\\new.exe", path_art::kButtonOk, std::string("D:\\new.exe")},
      {"TypedCancel", std::nullopt, "D:\\new.exe", path_art::kButtonCancel, std::nullopt},
      {"TypedExit", std::nullopt, "D:\\new.exe", path_art::kButtonExit, std::nullopt},
      {"EmptiedOk", std::nullopt, "", path_art::kButtonOk, std::string()},
      {"BrowsedOk", std::string("C:\\Apps\\app.exe"), nullptr, path_art::kButtonOk, std::string("C:\\Apps\\app.exe")},
      {"SeveralFilesOk", std::string("C:\\Apps\0a.exe\0b.exe", 20), nullptr, path_art::kButtonOk, initial},
      {"TooLongOk", "C:\\" + std::string(sizeof(MacroKeyInfo::programPath), 'q'), nullptr, path_art::kButtonOk, initial},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFiles files;
    if (c.browseAnswer) files.answers = {c.browseAnswer};
    std::string shown;
    std::string afterBrowse;
    const auto worked = RunWorkedBy(
        path_art::kWidth, [&] { return option::win32::RunProgramPath(Module(), nullptr, initial, files); },
        [&](HWND dialog) {
          files.dialog = dialog;
          const std::vector<HWND> fields = Fields(dialog);
          ASSERT_EQ(fields.size(), 1u);
          shown = TextOf(fields[0]);
          if (c.browseAnswer) {
            Click(dialog, path_art::kBrowser1);
            afterBrowse = TextOf(fields[0]);
          }
          if (c.typed != nullptr) ::SetWindowTextA(fields[0], c.typed);
          Click(dialog, c.end);
        });
    EXPECT_EQ(shown, initial);
    EXPECT_EQ(worked.result, c.result);
    EXPECT_TRUE(worked.closedByAct) << "the end left the dialog open";
    EXPECT_EQ(files.requests.size(), c.browseAnswer ? 1u : 0u);
    if (c.browseAnswer) {
      EXPECT_EQ(afterBrowse, c.result.value_or(""));
    }
  }
}

// The whole screen as a user sees it: real clicks and keys through X.
POINT OnScreen(HWND dialog, POINT client) {
  ::ClientToScreen(dialog, &client);
  return client;
}

// The edit's colours on the screen: some white text, black beyond its end.
void ExpectWhiteOnBlack(HWND dialog, const char* layout) {
  const auto entry = kavo::skin::ParseLayout(layout);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(wine_test::skin::ScreenPixel(dialog, entry->right - 3, (entry->top + entry->bottom) / 2), RGB(0, 0, 0)) << layout;
  bool white = false;
  for (int x = entry->left; x < entry->left + 40 && !white; ++x) {
    for (int y = entry->top; y < entry->bottom && !white; ++y) {
      white = wine_test::skin::ScreenPixel(dialog, x, y) == RGB(255, 255, 255);
    }
  }
  EXPECT_TRUE(white) << layout;
}

TEST(ProfileDialogsScreenTest, TypedAndClickedForRealAndKeptAsScreenshots) {
  ProfileRecord record = FilledRecord();
  FakeFiles files;
  std::string screenshot;
  const auto edited = RunWorkedBy(
      edit_art::kWidth, [&] { return option::win32::RunProfileEdit(Module(), nullptr, record, false, files); },
      [&](HWND dialog) {
        const HWND name = Fields(dialog).at(0);
        const POINT field = OnScreen(dialog, Centre(edit_art::kEditProfileName));
        ASSERT_TRUE(XSession::ClickAt(field.x, field.y));
        ::SendMessageA(name, EM_SETSEL, 0, -1);
        // The 21st character is refused.
        ASSERT_TRUE(XSession::XDo("type --delay 30 Downhill-Racing-2026xy"));
        ::Sleep(300);
        ExpectWhiteOnBlack(dialog, edit_art::kEditProfileName);
        ExpectWhiteOnBlack(dialog, edit_art::kPath0);
        screenshot = XSession::Screenshot("option-profile-edit");
        const POINT okButton = OnScreen(dialog, Centre(edit_art::kButtonOk));
        ASSERT_TRUE(XSession::ClickAt(okButton.x, okButton.y));
      });
  EXPECT_TRUE(edited.result);
  EXPECT_TRUE(edited.closedByAct) << "OK left the dialog open";
  EXPECT_FALSE(screenshot.empty());
  EXPECT_EQ(FieldText(record.ProFileName), "Downhill-Racing-2026");

  const auto path = RunWorkedBy(
      path_art::kWidth,
      [&] { return option::win32::RunProgramPath(Module(), nullptr, "C:\\Program Files\\Tools\\launcher.exe", files); },
      [&](HWND dialog) {
        ExpectWhiteOnBlack(dialog, path_art::kGamingPathToExecuteable);
        screenshot = XSession::Screenshot("option-program-path");
        const POINT cancel = OnScreen(dialog, Centre(path_art::kButtonCancel));
        ASSERT_TRUE(XSession::ClickAt(cancel.x, cancel.y));
      });
  EXPECT_FALSE(path.result.has_value());
  EXPECT_TRUE(path.closedByAct) << "Cancel left the dialog open";
  EXPECT_FALSE(screenshot.empty());
}

// The open dialog Wine shows, once it is up.
HWND WaitForOpenDialog() {
  for (int i = 0; i < 1000; ++i) {
    const HWND window = ::FindWindowA(MAKEINTATOM(32770), "Open");
    if (window != nullptr && ::IsWindowVisible(window)) return window;
    ::Sleep(10);
  }
  return nullptr;
}

TEST(Win32ProgramFileDialogTest, GivesTheDesktopAndTheFileChosenInTheRealDialog) {
  option::win32::Win32ProgramFileDialog files(nullptr);
  const std::string desktop = files.DesktopFolder();
  ASSERT_FALSE(desktop.empty());
  EXPECT_NE(desktop.back(), '\\');
  const DWORD attributes = ::GetFileAttributesA(desktop.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) << desktop;

  TempFolder folder;
  const std::string program = folder.File("game.exe");
  {
    const HANDLE file = ::CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
  }
  struct Case {
    const char* name;
    bool confirm;
    std::optional<std::string> result;
  };
  const Case cases[] = {{"Chosen", true, program}, {"Cancelled", false, std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<std::string> result = std::string("not run");
    std::thread chooser([&] { result = files.Choose(option::MakeProgramFileRequest(desktop)); });
    const HWND open = WaitForOpenDialog();
    if (open != nullptr) {
      ::Sleep(300);
      if (c.confirm) {
        // The file name box: an edit in the older layout, a combo box with an edit in the newer one.
        HWND name = ::GetDlgItem(open, 0x480);  // edt1
        if (name == nullptr) name = ::GetDlgItem(open, 0x47c);  // cmb13
        EXPECT_NE(name, nullptr);
        ::SetWindowTextA(name, program.c_str());
        ::PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      } else {
        ::PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }
    }
    chooser.join();
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(result, c.result);
  }
}

}  // namespace
}  // namespace kavo::wine_test
