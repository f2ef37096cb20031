#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "outside/osd/notice_board.h"

namespace kavo::osd {
namespace {

using Kind = NoticeAction::Kind;

struct Step {
  enum class Event { Notice, Settings, TimeUp, Dismissed } event;
  std::string text;          // Notice
  std::uint32_t lParam = 0;  // Settings
  Kind kind = Kind::None;    // what the board asks for
  std::string shownText = {};
  int durationMs = 0;
};

Step Notice(std::string text, Kind kind, int durationMs = 0) {
  return {Step::Event::Notice, text, 0, kind, kind == Kind::Show ? text : "", durationMs};
}
Step Settings(std::uint32_t lParam, Kind kind, int durationMs = 0) {
  return {Step::Event::Settings, "", lParam, kind, kind == Kind::Show ? kSettingsAppliedText : "", durationMs};
}
Step TimeUp(Kind kind) { return {Step::Event::TimeUp, "", 0, kind}; }
Step Dismissed(Kind kind) { return {Step::Event::Dismissed, "", 0, kind}; }

struct Script {
  const char* name;
  DisplaySettings start;
  std::vector<Step> steps;
};
// Test names and failure messages show the case by name, not as raw bytes.
void PrintTo(const Script& c, std::ostream* out) { *out << c.name; }


class NoticeBoardTest : public ::testing::TestWithParam<Script> {};

TEST_P(NoticeBoardTest, DecidesWhatTheDisplayDoes) {
  NoticeBoard board(GetParam().start);
  int index = 0;
  bool showing = false;
  for (const Step& step : GetParam().steps) {
    SCOPED_TRACE(::testing::Message() << "step " << index++);
    NoticeAction action;
    switch (step.event) {
      case Step::Event::Notice: action = board.Notice(step.text); break;
      case Step::Event::Settings: action = board.SettingsChanged(DisplaySettingsFromMessage(step.lParam)); break;
      case Step::Event::TimeUp: action = board.TimeUp(); break;
      case Step::Event::Dismissed: action = board.Dismissed(); break;
    }
    EXPECT_EQ(action.kind, step.kind);
    EXPECT_EQ(action.text, step.shownText);
    EXPECT_EQ(action.durationMs, step.durationMs);
    if (step.kind != Kind::None) showing = step.kind == Kind::Show;
    EXPECT_EQ(board.showing(), showing);
  }
}

const DisplaySettings kHidden{false, 2000};

INSTANTIATE_TEST_SUITE_P(
    Scripts, NoticeBoardTest,
    ::testing::Values(
        Script{"ShownThenTimeUp", {},
               {Notice("Low Battery", Kind::Show, 2000), TimeUp(Kind::Hide), TimeUp(Kind::None)}},
        Script{"NewNoticeReplacesAndRestarts", {},
               {Notice("Profile 1", Kind::Show, 2000), Notice("Profile 2", Kind::Show, 2000), Dismissed(Kind::Hide),
                Dismissed(Kind::None), TimeUp(Kind::None)}},
        Script{"NothingToHide", {}, {TimeUp(Kind::None), Dismissed(Kind::None)}},
        Script{"SettingsTimeUsedFromThenOn", {},
               {Settings(0x00000BB8, Kind::Show, 3000), Notice("Low Battery", Kind::Show, 3000)}},
        Script{"ZeroPairRestoresDefaults", {false, 5000},
               {Notice("x", Kind::None), Settings(0, Kind::Show, 2000), Notice("Low Battery", Kind::Show, 2000)}},
        Script{"HiddenFromTheStart", kHidden, {Notice("Low Battery", Kind::None), TimeUp(Kind::None)}},
        Script{"HidingSilently", {},
               {Settings(0x00010000, Kind::None), Notice("Low Battery", Kind::None), TimeUp(Kind::None)}},
        Script{"HidingTakesAwayTheShowingNotice", {},
               {Notice("Profile 3", Kind::Show, 2000), Settings(0x000107D0, Kind::Hide), TimeUp(Kind::None),
                Notice("Profile 4", Kind::None)}}),
    [](const ::testing::TestParamInfo<Script>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::osd
