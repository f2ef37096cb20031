// The help line's messages: what a button, an edit or a slider posts to the window that shows the text.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "skin/skin_messages.h"
#include "skin/win32/help_text.h"
#include "tests/wine/recording_window.h"

namespace kavo::skin::win32 {
namespace {

using wine_test::RecordingWindow;

std::vector<WPARAM> HelpTextMessages(const RecordingWindow& window) {
  std::vector<WPARAM> seen;
  for (const auto& message : window.Received(kWmHelpText)) seen.push_back(message.wParam);
  return seen;
}

TEST(HelpTextTest, ButtonsAnnounceEnteringAndLeavingEditsOnlyANewText) {
  RecordingWindow line("Kavo help line");
  ASSERT_NE(line.window(), nullptr);
  SetHelpLineWindow(line.window());
  EnterHelpText("Push one");
  EXPECT_EQ(CurrentHelpText(), "Push one");
  LeaveHelpText();
  EXPECT_EQ(CurrentHelpText(), "");
  OfferHelpText("Type digits here");
  OfferHelpText("Type digits here");
  ASSERT_TRUE(line.WaitFor(kWmHelpText, 3, 5000));
  ::Sleep(100);
  EXPECT_EQ(HelpTextMessages(line), (std::vector<WPARAM>{1, 0, 1}));
  EXPECT_EQ(CurrentHelpText(), "Type digits here") << "an edit's text stays after the mouse left";

  SetHelpLineWindow(nullptr);
  EnterHelpText("nobody is told");
  EXPECT_EQ(CurrentHelpText(), "nobody is told");
}

}  // namespace
}  // namespace kavo::skin::win32
