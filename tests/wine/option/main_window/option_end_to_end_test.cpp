// The whole system as a user runs it: KavoMonitor.exe with the simulated mouse, and the real KavoOption.exe
// driven by real clicks through the X server. What the configuration program shows is compared with its
// own pictures and texts; what it changes is read back from the mouse (kavo-sim dump), config.ini and the
// shared block.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "artwork/main_settings_page.h"
#include "artwork/main_window.h"
#include "artwork/message_box_a.h"
#include "option/main_window/main_window_view.h"
#include "settings/language.h"
#include "settings/settings_record.h"
#include "skin/slider_math.h"
#include "tests/wine/option_screen.h"
#include "tests/wine/option_session.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::main_window;
constexpr DWORD kReactionMs = kOptionReactionMs;
// How long a declined question is watched for a reset request (the accepted one reaches the mouse sooner).
constexpr DWORD kDeclinedResetMs = 3000;
constexpr std::uint8_t kProfileUp = 17;

BOOL CALLBACK DescribeChild(HWND child, LPARAM text) {
  char name[32] = {};
  ::GetClassNameA(child, name, sizeof name);
  *reinterpret_cast<std::string*>(text) += std::string(name) + "#" + std::to_string(::GetDlgCtrlID(child)) + " ";
  return TRUE;
}
std::string DescribeChildren(HWND window) {
  std::string text;
  ::EnumChildWindows(window, DescribeChild, reinterpret_cast<LPARAM>(&text));
  return text;
}

class OptionEndToEndTest : public OptionSessionTest {
 protected:
  // Runs the file dialog a command opens and chooses path in it.
  void ChooseInFileDialog(const char* command, const std::string& path) {
    ASSERT_NO_FATAL_FAILURE(Click(command));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no dialog; the screen is in " << XSession::Screenshot("option-no-file-dialog");
    ASSERT_TRUE(ChooseFile(dialog, path)) << DescribeChildren(dialog);
    ASSERT_TRUE(WaitForNoDialog()) << "the dialog stayed";
  }
};

TEST_F(OptionEndToEndTest, TheSlotsShowTheProfilesTheServiceReadAndOnlyOkChangesTheMouseProfile) {
  ASSERT_NO_FATAL_FAILURE(PrepareFolder());
  ASSERT_NO_FATAL_FAILURE(StartSystem());
  EXPECT_TRUE(WaitFor([&] { return ShowsActiveSlot(0); }, kReactionMs)) << "the five names, slot 1 active";
  EXPECT_FALSE(XSession::Screenshot("option-with-service").empty());

  struct Case {
    const char* close;
    int profileAfter;
  };
  for (const Case& c : {Case{art::kCancel, 0}, Case{art::kOk, 2}}) {
    SCOPED_TRACE(c.close);
    if (!option_.Running()) {
      ASSERT_NO_FATAL_FAILURE(StartOption());
    }
    ASSERT_NO_FATAL_FAILURE(Click(art::kProfile3));
    ASSERT_TRUE(WaitFor([&] { return ShowsActiveSlot(2); }, kReactionMs)) << "slot 3 shows active";
    ASSERT_NO_FATAL_FAILURE(CloseWith(c.close));
    EXPECT_EQ(folder().ConfigInt("CurrentProfile", -1), c.profileAfter);
    auto block = FetchBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->CurrentProfile, c.profileAfter);
    EXPECT_EQ(folder().DumpLine(0), "active " + std::to_string(c.profileAfter));
  }
}

TEST_F(OptionEndToEndTest, AProfileChangedWithTheMouseButtonShowsInTheOpenProgram) {
  ASSERT_NO_FATAL_FAILURE(PrepareFolder(kProfileUp));
  ASSERT_NO_FATAL_FAILURE(StartSystem());
  ASSERT_TRUE(WaitFor([&] { return ShowsActiveSlot(0); }, kReactionMs));
  const auto run = folder().Sim("click 1");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_TRUE(WaitFor([&] { return ShowsActiveSlot(1); }, kReactionMs)) << "slot 2 active after the mouse's step";
  EXPECT_EQ(folder().DumpLine(0), "active 1");
}

TEST_F(OptionEndToEndTest, AProfileSavedToAFileLoadsIntoAnotherSlot) {
  ASSERT_NO_FATAL_FAILURE(PrepareFolder());
  ASSERT_NO_FATAL_FAILURE(StartSystem());
  const std::string file = folder().File("config\\Saved alpha.vmp");
  ASSERT_NO_FATAL_FAILURE(ChooseInFileDialog(art::kSave, file));
  ASSERT_TRUE(WaitFor([&] { return folder().files().IsReadable(file); }, kReactionMs)) << "nothing saved";
  auto saved = NewRecord();
  ASSERT_EQ(folder().settings().ReadProfile(saved->profiles[0], file), 1);
  EXPECT_STREQ(saved->profiles[0].ProFileName, kSessionProfileNames[0]);

  ASSERT_NO_FATAL_FAILURE(Click(art::kProfile2));
  ASSERT_TRUE(WaitFor([&] { return ShowsActiveSlot(1); }, kReactionMs));
  ASSERT_NO_FATAL_FAILURE(ChooseInFileDialog(art::kLoad, file));
  EXPECT_TRUE(WaitFor([&] { return screen().ShowsName(art::kProfile2Name, kSessionProfileNames[0], option::kActiveNameColour); },
                      kReactionMs))
      << "slot 2 carries the loaded profile's name";
  ASSERT_NO_FATAL_FAILURE(CloseWith(art::kOk));
  auto block = FetchBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_STREQ(block->profiles[1].ProFileName, kSessionProfileNames[0]);
  EXPECT_STREQ(block->profiles[0].ProFileName, kSessionProfileNames[0]) << "the saved slot keeps its own";
  EXPECT_STREQ(block->profiles[2].ProFileName, kSessionProfileNames[2]);
}

TEST_F(OptionEndToEndTest, TheSensitivitySliderReachesTheMouseWhenApplied) {
  ASSERT_NO_FATAL_FAILURE(PrepareFolder());
  ASSERT_NO_FATAL_FAILURE(StartSystem());
  ASSERT_EQ(MouseSensitivity(0), 5);
  ASSERT_NO_FATAL_FAILURE(ClickSlider(artwork::main_settings_page::kSensitivitySlider, 7, 1, 10));
  ::Sleep(500);
  EXPECT_EQ(MouseSensitivity(0), 5) << "nothing reaches the mouse before Apply";
  ASSERT_NO_FATAL_FAILURE(Click(art::kApply));
  EXPECT_TRUE(WaitFor([&] { return MouseSensitivity(0) == 7; }, kReactionMs)) << "sensitivity 7 in the mouse";
  EXPECT_EQ(MouseSensitivity(1), 5) << "another profile changed";
  auto block = FetchBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->profiles[0].Sensitivity_X, 7);
  EXPECT_EQ(block->profiles[0].Sensitivity_Y, 7);
  ASSERT_NO_FATAL_FAILURE(CloseWith(art::kCancel));
}

TEST_F(OptionEndToEndTest, ResetWithOkReturnsEveryProfileToItsDefaultsAndAsksTheMouseToReset) {
  ASSERT_NO_FATAL_FAILURE(PrepareFolder(kFunctionClick, 9));
  ASSERT_NO_FATAL_FAILURE(StartSystem());
  ASSERT_EQ(folder().DumpLine(4), "resets 0");
  auto defaults = NewRecord();
  ResetToDefaults(*defaults, kEnglish);

  // The question answered with Cancel changes nothing; then with OK.
  for (const char* answer : {artwork::message_box_a::kButtonCancel, artwork::message_box_a::kButtonOk}) {
    SCOPED_TRACE(answer);
    const POINT reset = screen().PageCentre(artwork::main_settings_page::kButtonReset);
    ASSERT_TRUE(XSession::ClickAt(reset.x, reset.y));
    const HWND question = WaitForDialog();
    ASSERT_NE(question, nullptr) << "no question";
    ::Sleep(300);
    if (answer == artwork::message_box_a::kButtonCancel) {
      EXPECT_FALSE(XSession::Screenshot("option-reset-question").empty());
    }
    RECT bounds{};
    ::GetWindowRect(question, &bounds);
    const skin::Rect button = LayoutRect(answer);
    ASSERT_TRUE(XSession::ClickAt(bounds.left + (button.left + button.right) / 2,
                                  bounds.top + (button.top + button.bottom) / 2));
    ASSERT_TRUE(WaitForNoDialog());
    ASSERT_TRUE(screen().MovePointerAway());
    if (answer == artwork::message_box_a::kButtonCancel) {
      EXPECT_FALSE(WaitFor([&] { return folder().DumpLine(4) != "resets 0"; }, kDeclinedResetMs)) << "reset asked";
      EXPECT_EQ(folder().DumpLine(4), "resets 0");
      EXPECT_EQ(MouseSensitivity(0), 9);
      auto file = NewRecord();
      ASSERT_EQ(folder().settings().ReadProfile(file->profiles[0], folder().settings().SlotPath(0)), 1);
      EXPECT_EQ(file->profiles[0].Sensitivity_X, 9);
    }
  }
  EXPECT_TRUE(WaitFor([&] { return folder().DumpLine(4) == "resets 1"; }, kReactionMs)) << "no reset request";
  for (int p = 0; p < kProfileCount; ++p) {
    SCOPED_TRACE(p);
    EXPECT_TRUE(WaitFor([&] { return MouseSensitivity(p) == defaults->profiles[p].Sensitivity_X; }, kReactionMs));
    auto file = NewRecord();
    ASSERT_EQ(folder().settings().ReadProfile(file->profiles[p], folder().settings().SlotPath(p)), 1);
    EXPECT_STREQ(file->profiles[p].ProFileName, defaults->profiles[p].ProFileName);
    EXPECT_EQ(file->profiles[p].Sensitivity_X, defaults->profiles[p].Sensitivity_X);
  }
  ASSERT_NO_FATAL_FAILURE(CloseWith(art::kCancel));
}

}  // namespace
}  // namespace kavo::wine_test
