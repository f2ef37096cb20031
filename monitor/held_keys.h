#pragma once
// The keys that key-shortcut buttons hold down for as long as their mouse button is held. Whatever is
// still down when the button's release can no longer come (the mouse was removed, the service ends, the
// configuration program changes the buttons) is let go, last pressed first, so no modifier stays stuck.
// Used from the window thread only.
#include <vector>

#include "monitor/key_input.h"
#include "monitor/service_ports.h"

namespace kavo {

class HeldKeys : public HeldFunctions {
 public:
  explicit HeldKeys(KeyInput& input) : input_(input) {}

  // A key already held is not pressed twice.
  void Press(int virtualKey);
  // Nothing happens for a key that is not held.
  void Release(int virtualKey);
  void ReleaseHeld() override;
  bool IsHeld(int virtualKey) const;

 private:
  KeyInput& input_;
  std::vector<int> held_;  // in the order they were pressed
};

}  // namespace kavo
