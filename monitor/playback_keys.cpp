#include "monitor/playback_keys.h"

#include "settings/key_tables.h"

namespace kavo::monitor {
namespace {

constexpr int kLeftShift = 160, kRightShift = 161, kLeftControl = 162, kRightControl = 163, kLeftAlt = 164,
              kRightAlt = 165;

}  // namespace

int PlaybackVirtualKey(KeyboardLayout& layout, int deviceKey) {
  const int key = DeviceKeyToVirtualKey(layout, deviceKey).code;
  switch (key) {
    case kLeftShift:
    case kRightShift:
      return kVirtualShift;
    case kLeftControl:
    case kRightControl:
      return kVirtualControl;
    case kLeftAlt:
    case kRightAlt:
      return kVirtualAlt;
    default:
      return key;
  }
}

bool IsModifierKey(int virtualKey) {
  return virtualKey == kVirtualShift || virtualKey == kVirtualControl || virtualKey == kVirtualAlt ||
         virtualKey == kVirtualLeftWindows || virtualKey == kVirtualRightWindows ||
         (virtualKey >= kLeftShift && virtualKey <= kRightAlt);
}

void SendKey(InputSink& input, KeyboardLayout& layout, int virtualKey, bool up) {
  input.Key(virtualKey, layout.ScanCodeOfVirtualKey(virtualKey), up, false);
}

void MediaKey(InputSink& input, int virtualKey) {
  input.Key(virtualKey, 0, false, true);
  input.Key(virtualKey, 0, true, true);
}

}  // namespace kavo::monitor
