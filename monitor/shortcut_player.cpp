#include "monitor/shortcut_player.h"

#include <algorithm>
#include <utility>

#include "monitor/playback_keys.h"
#include "settings/settings_record.h"

namespace kavo::monitor {
namespace {

constexpr int kKeyGap = 1;  // ms between the keys of a shortcut

int KeyOf(std::uint32_t value) { return static_cast<int>(value & 0xFF); }
std::uint8_t MaskOf(std::uint32_t value) { return static_cast<std::uint8_t>(value >> 8 & 0xFF); }

}  // namespace

std::uint32_t ShortcutValue(const std::uint8_t* eventArea) {
  return static_cast<std::uint32_t>(eventArea[0]) | static_cast<std::uint32_t>(eventArea[1]) << 8 |
         static_cast<std::uint32_t>(eventArea[2]) << 16 | static_cast<std::uint32_t>(eventArea[3]) << 24;
}

void ShortcutPlayer::Down(int virtualKey) {
  if (std::find(held_.begin(), held_.end(), virtualKey) != held_.end()) return;
  SendKey(input_, layout_, virtualKey, false);
  held_.push_back(virtualKey);
}

void ShortcutPlayer::Press(std::uint32_t value) {
  const std::uint8_t mask = MaskOf(value);
  if (!(mask & kShortcutNone)) {
    const std::pair<std::uint8_t, int> modifiers[] = {
        {kShortcutCtrl, kVirtualControl}, {kShortcutShift, kVirtualShift}, {kShortcutAlt, kVirtualAlt},
        {kShortcutWin, kVirtualLeftWindows}};
    for (const auto& [bit, key] : modifiers) {
      if (!(mask & bit)) continue;
      Down(key);
      clock_.Sleep(kKeyGap);
    }
  }
  if (const int key = PlaybackVirtualKey(layout_, KeyOf(value))) Down(key);
}

void ShortcutPlayer::Release() {
  std::vector<int> keys;
  keys.swap(held_);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    if (key != keys.rbegin()) clock_.Sleep(kKeyGap);
    SendKey(input_, layout_, *key, true);
  }
}

void ShortcutPlayer::Repeat(std::uint32_t value) {
  const int key = PlaybackVirtualKey(layout_, KeyOf(value));
  if (key == 0 || IsModifierKey(key)) return;
  SendKey(input_, layout_, key, true);
  clock_.Sleep(kKeyGap);
  SendKey(input_, layout_, key, false);
}

}  // namespace kavo::monitor
