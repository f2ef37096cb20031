#include "option/common/keys_down_at_start.h"

namespace kavo::option {

void KeysDownAtStart::Start(const KeyDown& keyDown) {
  held_.reset();
  for (int key = 1; key < kKeyCount; ++key) {
    if (keyDown(key)) held_.set(static_cast<std::size_t>(key));
  }
}

StartKeyVerdict KeysDownAtStart::OnKey(int virtualKey, bool released) {
  if (virtualKey <= 0 || virtualKey >= kKeyCount) return StartKeyVerdict::kCapture;
  const auto key = static_cast<std::size_t>(virtualKey);
  if (!held_.test(key)) return StartKeyVerdict::kCapture;
  if (!released) return StartKeyVerdict::kIgnore;
  held_.reset(key);
  return StartKeyVerdict::kPassOn;
}

bool KeysDownAtStart::AllUp(const KeyDown& keyDown) {
  for (int key = 1; key < kKeyCount; ++key) {
    const auto bit = static_cast<std::size_t>(key);
    if (held_.test(bit) && !keyDown(key)) held_.reset(bit);
  }
  return held_.none();
}

}  // namespace kavo::option
