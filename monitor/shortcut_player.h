#pragma once
// Key shortcuts of the buttons: modifiers and a key pressed while the button is held, the key repeated
// while it stays held, everything released with the button. Window thread only.
#include <cstdint>
#include <vector>

#include "monitor/clock.h"
#include "monitor/input_sink.h"
#include "settings/keyboard_layout.h"

namespace kavo::monitor {

// The first four bytes of a shortcut button's event area: byte 0 the device key code, byte 1 the
// modifier mask (bit 0 none, which overrides bits 1..4 Shift, Ctrl, Alt, Windows).
std::uint32_t ShortcutValue(const std::uint8_t* eventArea);

class ShortcutPlayer {
 public:
  ShortcutPlayer(InputSink& input, KeyboardLayout& layout, Clock& clock) : input_(input), layout_(layout), clock_(clock) {}

  // Ctrl, Shift, Alt and Windows as the mask asks, 1 ms apart, then the key. A key already held is not
  // pressed again.
  void Press(std::uint32_t value);
  // Everything pressed and still held, last pressed first, 1 ms apart.
  void Release();
  // The typematic repeat of a held shortcut: its key up and down again; never for modifiers alone.
  void Repeat(std::uint32_t value);
  bool holding() const { return !held_.empty(); }

 private:
  void Down(int virtualKey);
  InputSink& input_;
  KeyboardLayout& layout_;
  Clock& clock_;
  std::vector<int> held_;  // in pressing order
};

}  // namespace kavo::monitor
