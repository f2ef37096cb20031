#include "option/assign/media_player_dialog.h"

namespace kavo::option {

MediaPlayerCaption CaptionForPlayer(int index) {
  if (index < 0 || index >= kMediaPlayerCount) return {};
  return {std::string(kMediaPlayers[static_cast<std::size_t>(index)].name), true};
}

std::optional<int> PlayerForCommand(unsigned commandId) {
  if (commandId < kFirstMediaPlayerCommand || commandId > kLastMediaPlayerCommand) return std::nullopt;
  for (int index = 1; index < kMediaPlayerCount; ++index) {
    if (kMediaPlayers[static_cast<std::size_t>(index)].commandId == commandId) return index;
  }
  return 0;
}

bool MediaPlayerDialog::OnMenuCommand(unsigned commandId) {
  const std::optional<int> index = PlayerForCommand(commandId);
  if (!index) return false;
  index_ = *index;
  return true;
}

int MediaPlayerDialog::EndCode(MediaPlayerButton button) { return button == MediaPlayerButton::kOk ? 1 : 2; }

std::optional<int> MediaPlayerDialog::Result(int endCode) const {
  if (endCode != EndCode(MediaPlayerButton::kOk)) return std::nullopt;
  return index_;
}

}  // namespace kavo::option
