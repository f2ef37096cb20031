#pragma once
// The media player dialog: which player the mouse's media functions drive, stored in the profile as an
// index 0..3. The player button shows the chosen name and opens a menu of the four players.
//
// An index outside 0..3 (a damaged or future profile) is shown as an empty button and kept as it is: OK
// without a menu choice hands it back unchanged, so opening and confirming the dialog never rewrites a
// value the program does not understand. Any menu choice replaces it with a valid index.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kavo::option {

constexpr int kMediaPlayerCount = 4;
constexpr unsigned kFirstMediaPlayerCommand = 1001;
constexpr unsigned kLastMediaPlayerCommand = 1004;

struct MediaPlayerEntry {
  unsigned commandId;
  std::string_view name;
};

// The players in menu order; an entry's position is its index.
constexpr std::array<MediaPlayerEntry, kMediaPlayerCount> kMediaPlayers{{
    {1001, "Windows Media player"},
    {1002, "iTunes"},
    {1003, "VLC Media Player"},
    {1004, "Winamp"},
}};

// The player menu: every name followed by "TM", none highlighted, drawn in Arial 14 x 5 at normal weight.
constexpr int kMediaPlayerMenuWidth = 140;
constexpr int kMediaPlayerMenuFontHeight = 14;
constexpr int kMediaPlayerMenuFontWidth = 5;
constexpr int kMediaPlayerMenuHighlight = -1;
constexpr int kMediaPlayerMenuTrademark = 1;

// What the player button shows.
struct MediaPlayerCaption {
  std::string text;
  bool trademark = false;
};

MediaPlayerCaption CaptionForPlayer(int index);

// The index a menu command chooses: 1002..1004 pick iTunes, VLC and Winamp, 1001 and anything else in
// the menu's range Windows Media Player; nothing for a command outside the range.
std::optional<int> PlayerForCommand(unsigned commandId);

enum class MediaPlayerButton { kOk, kCancel, kExit };

class MediaPlayerDialog {
 public:
  explicit MediaPlayerDialog(int playerIndex) : index_(playerIndex) {}

  int playerIndex() const { return index_; }
  MediaPlayerCaption Caption() const { return CaptionForPlayer(index_); }

  // A command from the player menu; true when it was one and the button must show the new choice.
  bool OnMenuCommand(unsigned commandId);
  // The dialog's end code for a button: 1 for OK, 2 for Cancel and Exit.
  static int EndCode(MediaPlayerButton button);
  // What the caller stores after a run that ended with code: the index on OK, nothing otherwise.
  std::optional<int> Result(int endCode) const;

 private:
  int index_;
};

}  // namespace kavo::option
