// The media player dialog's choices: what the player button shows for a stored index, what each menu
// command picks, what a run hands back, and the click toggle that keeps a closing click from reopening
// the menu.
#include "option/assign/media_player_dialog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace kavo::option {
namespace {

TEST(MediaPlayerCaptionTest, NamesTheFourPlayersWithTheirMarkAndLeavesAnyOtherIndexBlank) {
  struct Case {
    int index;
    std::string text;
    bool trademark;
  };
  const Case cases[] = {
      {0, "Windows Media player", true}, {1, "iTunes", true}, {2, "VLC Media Player", true},
      {3, "Winamp", true},               {4, "", false},      {7, "", false},
      {-1, "", false},                   {INT32_MIN, "", false}, {INT32_MAX, "", false},
  };
  for (const Case& c : cases) {
    const MediaPlayerCaption caption = MediaPlayerDialog(c.index).Caption();
    EXPECT_EQ(caption.text, c.text) << c.index;
    EXPECT_EQ(caption.trademark, c.trademark) << c.index;
  }
}

TEST(MediaPlayerMenuTest, TheMenuListsEachPlayerOnceInIndexOrderWithConsecutiveCommands) {
  std::set<std::string_view> names;
  for (int index = 0; index < kMediaPlayerCount; ++index) {
    const MediaPlayerEntry& entry = kMediaPlayers[static_cast<std::size_t>(index)];
    EXPECT_EQ(entry.commandId, kFirstMediaPlayerCommand + static_cast<unsigned>(index));
    // The menu shows the same name the button shows once the entry is chosen.
    EXPECT_EQ(CaptionForPlayer(index).text, entry.name);
    names.insert(entry.name);
  }
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kMediaPlayerCount));
  EXPECT_EQ(kLastMediaPlayerCommand, kFirstMediaPlayerCommand + kMediaPlayerCount - 1);
}

TEST(MediaPlayerMenuTest, EachCommandInTheRangePicksItsPlayerAndOthersAreIgnored) {
  struct Case {
    unsigned command;
    std::optional<int> index;
  };
  const Case cases[] = {
      {1001, 0}, {1002, 1}, {1003, 2}, {1004, 3},
      {1000, std::nullopt}, {1005, std::nullopt}, {0, std::nullopt}, {2048, std::nullopt}, {1, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlayerForCommand(c.command), c.index) << c.command;
    // From a valid and from an unknown stored index alike.
    for (const int start : {3, 7}) {
      MediaPlayerDialog dialog(start);
      EXPECT_EQ(dialog.OnMenuCommand(c.command), c.index.has_value()) << c.command;
      EXPECT_EQ(dialog.playerIndex(), c.index.value_or(start)) << c.command << " from " << start;
    }
  }
}

TEST(MediaPlayerDialogTest, OkHandsBackTheChoiceAndCancelOrExitNothing) {
  struct Case {
    int stored;
    unsigned command;  // 0: no menu choice
    MediaPlayerButton button;
    std::optional<int> result;
  };
  const Case cases[] = {
      {0, 1003, MediaPlayerButton::kOk, 2},
      {2, 0, MediaPlayerButton::kOk, 2},
      {1, 1004, MediaPlayerButton::kCancel, std::nullopt},
      {1, 1004, MediaPlayerButton::kExit, std::nullopt},
      // An unknown stored index is kept through OK unless a player is chosen.
      {7, 0, MediaPlayerButton::kOk, 7},
      {7, 1001, MediaPlayerButton::kOk, 0},
      {7, 1002, MediaPlayerButton::kOk, 1},
      {-3, 1004, MediaPlayerButton::kOk, 3},
      {7, 1003, MediaPlayerButton::kCancel, std::nullopt},
  };
  for (const Case& c : cases) {
    MediaPlayerDialog dialog(c.stored);
    if (c.command != 0) dialog.OnMenuCommand(c.command);
    const int code = MediaPlayerDialog::EndCode(c.button);
    EXPECT_EQ(dialog.Result(code), c.result) << c.stored << " " << c.command << " " << code;
  }
  EXPECT_EQ(MediaPlayerDialog::EndCode(MediaPlayerButton::kOk), 1);
  EXPECT_EQ(MediaPlayerDialog::EndCode(MediaPlayerButton::kCancel), 2);
  EXPECT_EQ(MediaPlayerDialog::EndCode(MediaPlayerButton::kExit), 2);
  // A run that ended otherwise (the window could not be made) stores nothing either.
  EXPECT_EQ(MediaPlayerDialog(1).Result(-1), std::nullopt);
}

}  // namespace
}  // namespace kavo::option
