#include "outside/osd/notice_board.h"

#include <utility>

namespace kavo::osd {

NoticeAction NoticeBoard::Notice(std::string text) {
  if (!settings_.noticesShown) return {};
  showing_ = true;
  return {NoticeAction::Kind::Show, std::move(text), settings_.durationMs};
}

NoticeAction NoticeBoard::SettingsChanged(const DisplaySettings& settings) {
  settings_ = settings;
  // Turning notices off takes away the one on screen as well.
  if (!settings_.noticesShown) return Hide();
  return Notice(kSettingsAppliedText);
}

NoticeAction NoticeBoard::Hide() {
  if (!std::exchange(showing_, false)) return {};
  return {NoticeAction::Kind::Hide, {}, 0};
}

}  // namespace kavo::osd
