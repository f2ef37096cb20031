#pragma once
// Keys as playback sends them: a device key code turned into a virtual key with left and right
// modifiers folded into the generic ones, and each key sent with the layout's scan code.
#include "monitor/input_sink.h"
#include "settings/keyboard_layout.h"

namespace kavo::monitor {

constexpr int kVirtualShift = 16, kVirtualControl = 17, kVirtualAlt = 18, kVirtualLeftWindows = 91,
              kVirtualRightWindows = 92;
constexpr int kVirtualVolumeMute = 173, kVirtualVolumeDown = 174, kVirtualVolumeUp = 175;

// 0 for a code that is not in the key table.
int PlaybackVirtualKey(KeyboardLayout& layout, int deviceKey);
// Modifiers and the Windows keys, which never auto-repeat.
bool IsModifierKey(int virtualKey);

// One key down or up with its scan code.
void SendKey(InputSink& input, KeyboardLayout& layout, int virtualKey, bool up);
// A media key: press and release, scan code 0, extended.
void MediaKey(InputSink& input, int virtualKey);

}  // namespace kavo::monitor
