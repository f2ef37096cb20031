#include "settings/key_tables.h"

#include <cstdio>

namespace kavo {

// Searched from first to last row; device codes 50 and 100 (the extra keys of European keyboards) have none.
const KeyCodeRow kKeyCodeTable[kKeyCodeRows] = {
    // Letters A..Z
    {65, 4, 30}, {66, 5, 48}, {67, 6, 46}, {68, 7, 32}, {69, 8, 18}, {70, 9, 33}, {71, 10, 34},
    {72, 11, 35}, {73, 12, 23}, {74, 13, 36}, {75, 14, 37}, {76, 15, 38}, {77, 16, 50}, {78, 17, 49},
    {79, 18, 24}, {80, 19, 25}, {81, 20, 16}, {82, 21, 19}, {83, 22, 31}, {84, 23, 20}, {85, 24, 22},
    {86, 25, 47}, {87, 26, 17}, {88, 27, 45}, {89, 28, 21}, {90, 29, 44},
    // Digits 1..9, 0
    {49, 30, 2}, {50, 31, 3}, {51, 32, 4}, {52, 33, 5}, {53, 34, 6}, {54, 35, 7}, {55, 36, 8},
    {56, 37, 9}, {57, 38, 10}, {48, 39, 11},
    // Enter, Esc, Backspace, Tab, Space
    {13, 40, 28}, {27, 41, 1}, {8, 42, 14}, {9, 43, 15}, {32, 44, 57},
    // Punctuation - = [ ] \ ; ' ` , . /
    {189, 45, 12}, {187, 46, 13}, {219, 47, 26}, {221, 48, 27}, {220, 49, 43}, {186, 51, 39},
    {222, 52, 40}, {192, 53, 41}, {188, 54, 51}, {190, 55, 52}, {191, 56, 53},
    // Caps Lock
    {20, 57, 58},
    // F1..F12
    {112, 58, 59}, {113, 59, 60}, {114, 60, 61}, {115, 61, 62}, {116, 62, 63}, {117, 63, 64},
    {118, 64, 65}, {119, 65, 66}, {120, 66, 67}, {121, 67, 68}, {122, 68, 87}, {123, 69, 88},
    // Print Screen, Scroll Lock, Pause, Insert, Home, Page Up, Delete, End, Page Down
    {44, 70, 0}, {145, 71, 0}, {19, 72, 0}, {45, 73, 0}, {36, 74, 0}, {33, 75, 0}, {46, 76, 0},
    {35, 77, 0}, {34, 78, 0},
    // Arrows right, left, down, up
    {39, 79, 0}, {37, 80, 0}, {40, 81, 0}, {38, 82, 0},
    // Num Lock, keypad / * - + and separator
    {144, 83, 0}, {111, 84, 0}, {106, 85, 0}, {109, 86, 0}, {107, 87, 0}, {108, 88, 0},
    // Keypad 1, 2, 3, 4, 5, 7, 6, 8, 9, 0, decimal
    {97, 89, 0}, {98, 90, 0}, {99, 91, 0}, {100, 92, 0}, {101, 93, 0}, {103, 95, 0}, {102, 94, 0},
    {104, 96, 0}, {105, 97, 0}, {96, 98, 0}, {110, 99, 0},
    // Application key
    {93, 101, 0},
    // Left Ctrl, Shift, Alt, Windows; right Ctrl, Shift, Alt, Windows
    {162, 224, 0}, {160, 225, 0}, {164, 226, 0}, {91, 227, 0}, {163, 228, 0}, {161, 229, 0},
    {165, 230, 0}, {92, 231, 0},
    // Mouse buttons
    {240, 240, 0}, {241, 241, 0}, {242, 242, 0}, {243, 243, 0}, {244, 244, 0},
};

namespace {

struct KeyName {
  int code;
  const char* name;
};

constexpr KeyName kVirtualKeyNames[] = {
    {8, "BackSpace"}, {9, "Tab"}, {12, "Clr"}, {13, "Enter"}, {16, "Shift"}, {17, "Ctrl"}, {18, "Alt"},
    {19, "Pause"}, {20, "Caps Lock"}, {27, "Esc"}, {32, "Space"}, {33, "Page Up"}, {34, "Page Down"},
    {35, "End"}, {36, "Home"}, {37, "Left Arrow"}, {38, "Up Arrow"}, {39, "Right Arrow"},
    {40, "Down Arrow"}, {41, "Select"}, {42, "Print Screen"}, {43, "Exe"}, {44, "Snapshot"},
    {45, "Insert"}, {46, "Delete"}, {47, "Help"}, {91, "Left Windows Button"},
    {92, "Right Windows Button"}, {93, "APP"}, {96, "Num0"}, {97, "Num1"}, {98, "Num2"}, {99, "Num3"},
    {100, "Num4"}, {101, "Num5"}, {102, "Num6"}, {103, "Num7"}, {104, "Num8"}, {105, "Num9"},
    {106, "Num*"}, {107, "Num+"}, {108, "NumRet"}, {109, "Num-"}, {110, "Num."}, {111, "Num/"},
    {112, "F1"}, {113, "F2"}, {114, "F3"}, {115, "F4"}, {116, "F5"}, {117, "F6"}, {118, "F7"},
    {119, "F8"}, {120, "F9"}, {121, "F10"}, {122, "F11"}, {123, "F12"}, {144, "Num Lock"},
    {145, "Scroll Lock"}, {160, "Left Shift"}, {161, "Right Shift"}, {162, "Left Ctrl"},
    {163, "Right Ctrl"}, {164, "Left Alt"}, {165, "Right Alt"}, {240, "Left Button"},
    {241, "Right Button"}, {242, "Wheel"}, {243, "Side Button 1"}, {244, "Side Button 2"},
};

constexpr KeyName kDeviceKeyNames[] = {
    {58, "F1"}, {59, "F2"}, {60, "F3"}, {61, "F4"}, {62, "F5"}, {63, "F6"}, {64, "F7"}, {65, "F8"},
    {66, "F9"}, {67, "F10"}, {68, "F11"}, {69, "F12"}, {70, "Print Screen"}, {71, "Scroll Lock"},
    {72, "Break"}, {73, "Insert"}, {74, "Home"}, {75, "Page Up"}, {76, "Delete"}, {77, "End"},
    {78, "Page Down"}, {79, "Right Arrow"}, {80, "Left Arrow"}, {81, "Down Arrow"}, {82, "Up Arrow"},
    {83, "Num Lock"}, {84, "Num_/"}, {85, "Num_*"}, {86, "Num_-"}, {87, "Num_+"}, {88, "Num_Enter"},
    {89, "Num_1"}, {90, "Num_2"}, {91, "Num_3"}, {92, "Num_4"}, {93, "Num_5"}, {94, "Num_6"},
    {95, "Num_7"}, {96, "Num_8"}, {97, "Num_9"}, {98, "Num_0"}, {99, "Num_."}, {100, "Europe 2"},
    {101, "APP"}, {130, "Sleep"}, {224, "Left Control"}, {225, "Left Shift"}, {226, "Left Alt"},
    {227, "Left GUI"}, {228, "Right Control"}, {229, "Right Shift"}, {230, "Right Alt"},
    {231, "Right GUI"}, {240, "Left Button"}, {241, "Right Button"}, {242, "Wheel"},
    {243, "Side Button 1"}, {244, "Side Button 2"},
};

template <std::size_t N>
const char* NameOf(const KeyName (&names)[N], int code) {
  for (const auto& entry : names) {
    if (entry.code == code) return entry.name;
  }
  return nullptr;
}

// Keys whose meaning moves with the layout: letters, digits, punctuation, Enter..Space, F1..F12.
bool HasScanCode(int deviceKey) { return deviceKey >= 4 && deviceKey <= 69; }

const KeyCodeRow* RowOfVirtualKey(int virtualKey) {
  for (const auto& row : kKeyCodeTable) {
    if (row.virtualKey == virtualKey) return &row;
  }
  return nullptr;
}

const KeyCodeRow* RowOfDeviceKey(int deviceKey) {
  for (const auto& row : kKeyCodeTable) {
    if (row.deviceKey == deviceKey) return &row;
  }
  return nullptr;
}

const KeyCodeRow* RowOfScanCode(int scanCode) {
  if (scanCode == 0) return nullptr;  // 0 means "no scan code", never the rows that are found by virtual key
  for (const auto& row : kKeyCodeTable) {
    if (row.scanCode == scanCode) return &row;
  }
  return nullptr;
}

}  // namespace

KeyLookup VirtualKeyToDeviceKey(KeyboardLayout& layout, int virtualKey) {
  const KeyCodeRow* row = RowOfVirtualKey(virtualKey);
  if (!row) return {false, 0};
  if (HasScanCode(row->deviceKey)) {
    // The position of the key on this layout decides: a French A sits where the US Q does.
    if (const KeyCodeRow* position = RowOfScanCode(layout.ScanCodeOfVirtualKey(virtualKey))) {
      return {true, position->deviceKey};
    }
  }
  return {true, row->deviceKey};
}

KeyLookup DeviceKeyToVirtualKey(KeyboardLayout& layout, int deviceKey) {
  const KeyCodeRow* row = RowOfDeviceKey(deviceKey);
  if (!row) return {false, 0};
  if (HasScanCode(row->deviceKey)) {
    const int translated = layout.VirtualKeyOfScanCode(row->scanCode);
    if (translated != 0) return {true, translated};
  }
  return {true, row->virtualKey};
}

std::string VirtualKeyName(KeyboardLayout& layout, int virtualKey) {
  if (const char* name = NameOf(kVirtualKeyNames, virtualKey)) return name;
  const auto character = layout.CharacterOfKey(virtualKey, layout.ScanCodeOfVirtualKey(virtualKey));
  if (!character || *character == '\0') return "";
  char c = *character;
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return std::string(1, c);
}

std::string DeviceKeyName(KeyboardLayout& layout, int deviceKey) {
  if (deviceKey >= 4 && deviceKey <= 57) {
    const KeyLookup key = DeviceKeyToVirtualKey(layout, deviceKey);
    return key.found ? VirtualKeyName(layout, key.code) : "";
  }
  const char* name = NameOf(kDeviceKeyNames, deviceKey);
  return name ? name : "";
}

}  // namespace kavo
