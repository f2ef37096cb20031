#include "monitor/held_keys.h"

#include <algorithm>

namespace kavo {

void HeldKeys::Press(int virtualKey) {
  if (IsHeld(virtualKey)) return;
  input_.KeyDown(virtualKey);
  held_.push_back(virtualKey);
}

void HeldKeys::Release(int virtualKey) {
  auto held = std::find(held_.begin(), held_.end(), virtualKey);
  if (held == held_.end()) return;
  held_.erase(held);
  input_.KeyUp(virtualKey);
}

void HeldKeys::ReleaseHeld() {
  // Taken out first: a key-up may re-enter through a hook before this returns.
  std::vector<int> keys;
  keys.swap(held_);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) input_.KeyUp(*key);
}

bool HeldKeys::IsHeld(int virtualKey) const {
  return std::find(held_.begin(), held_.end(), virtualKey) != held_.end();
}

}  // namespace kavo
