// The key shortcut dialog's decisions: its start from a button entry, the modifier toggles under None, what
// captured keys leave as the key, and what OK, Cancel and Exit do to the entry.
#include "option/assign/key_shortcut_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "settings/bounded_text.h"
#include "tests/support/fake_keyboard_layouts.h"

namespace kavo::option {
namespace {

using M = ShortcutModifier;
constexpr M kAllModifiers[] = {M::kNone, M::kShift, M::kCtrl, M::kAlt, M::kWin};

// Virtual keys as the low-level hook reports them: the left and right modifier keys, never the generic ones.
constexpr int kVkLeftShift = 160, kVkLeftCtrl = 162, kVkLeftAlt = 164, kVkTab = 9, kVkA = 'A';

MacroKeyInfo ShortcutEntry(int key, int mask) {
  MacroKeyInfo entry{};
  entry.slot = 3;
  entry.function = kFunctionKeyShortcut;
  entry.events[0].key = static_cast<std::uint8_t>(key);
  entry.events[0].action = static_cast<std::uint8_t>(mask);
  return entry;
}

// An entry that held a macro before, so that what OK writes and clears shows.
MacroKeyInfo MacroEntry() {
  MacroKeyInfo entry = ShortcutEntry(0, 0);
  entry.function = kFunctionMacro;
  CopyBounded(entry.macroSetName, "Raid");
  CopyBounded(entry.macroName, "Heal");
  entry.repeatCount = 4;
  entry.eventCount = 3;
  entry.events[0] = {30, kMacroPress, 15};
  entry.events[1] = {30, kMacroRelease, 15};
  entry.events[2] = {31, kMacroPress, 15};
  CopyBounded(entry.programPath, "C:\\Games\\tool.exe");
  return entry;
}

std::vector<ModifierToggleView> Toggles(const KeyShortcutDialog& dialog) {
  std::vector<ModifierToggleView> views;
  for (M modifier : kAllModifiers) views.push_back(dialog.Toggle(modifier));
  return views;
}

constexpr ModifierToggleView kOff{false, true}, kOn{true, true}, kLockedOff{false, false}, kLockedOn{true, false};

TEST(KeyShortcutDialogTest, StartsFromTheEntrysKeyAndMask) {
  struct Case {
    const char* name;
    int key, mask;
    std::string text;
    std::vector<ModifierToggleView> toggles;
    int storedMask;
  };
  const Case cases[] = {
      {"no key, no modifier", 0, 0, "", {kOff, kOff, kOff, kOff, kOff}, 0},
      {"letter with Shift and Ctrl", 4, 0x06, "A", {kOff, kOn, kOn, kOff, kOff}, 0x06},
      {"all four modifiers", 224, 0x1E, "Left Control", {kOff, kOn, kOn, kOn, kOn}, 0x1E},
      {"None locks the others", 58, 0x01, "F1", {kOn, kLockedOff, kLockedOff, kLockedOff, kLockedOff}, 0x01},
      {"None over Shift and Win", 89, 0x13, "Num_1", {kOn, kLockedOn, kLockedOff, kLockedOff, kLockedOn}, 0x01},
      {"a code without a name", 132, 0x08, "", {kOff, kOff, kOff, kOn, kOff}, 0x08},
      {"bits above Win are dropped", 44, 0xE4, "Space", {kOff, kOff, kOn, kOff, kOff}, 0x04},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto layout = test::UsLayout();
    const KeyShortcutDialog dialog(layout, ShortcutEntry(c.key, c.mask));
    EXPECT_EQ(dialog.keyCode(), c.key);
    EXPECT_EQ(dialog.KeyText(), c.text);
    EXPECT_EQ(Toggles(dialog), c.toggles);
    EXPECT_EQ(dialog.Mask(), c.storedMask);
  }
}

TEST(KeyShortcutDialogTest, TogglesBuildTheMaskWithNoneStandingAlone) {
  struct Case {
    const char* name;
    int startMask;
    std::vector<std::pair<M, bool>> clicks;
    std::vector<ModifierToggleView> toggles;
    int mask;
  };
  const Case cases[] = {
      {"Shift and Ctrl", 0, {{M::kShift, true}, {M::kCtrl, true}}, {kOff, kOn, kOn, kOff, kOff}, 0x06},
      {"Alt and Win", 0, {{M::kWin, true}, {M::kAlt, true}}, {kOff, kOff, kOff, kOn, kOn}, 0x18},
      {"one taken back", 0x1E, {{M::kCtrl, false}}, {kOff, kOn, kOff, kOn, kOn}, 0x1A},
      {"Shift then None", 0, {{M::kShift, true}, {M::kNone, true}}, {kOn, kLockedOn, kLockedOff, kLockedOff, kLockedOff}, 0x01},
      {"None cleared brings back the earlier states", 0x0D, {{M::kNone, false}}, {kOff, kOff, kOn, kOn, kOff}, 0x0C},
      {"None set and cleared again", 0x12, {{M::kNone, true}, {M::kNone, false}}, {kOff, kOn, kOff, kOff, kOn}, 0x12},
      {"None cleared with nothing else", 0x01, {{M::kNone, false}}, {kOff, kOff, kOff, kOff, kOff}, 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto layout = test::UsLayout();
    KeyShortcutDialog dialog(layout, ShortcutEntry(4, c.startMask));
    for (const auto& [modifier, checked] : c.clicks) dialog.SetFlag(modifier, checked);
    EXPECT_EQ(Toggles(dialog), c.toggles);
    EXPECT_EQ(dialog.Mask(), c.mask);
  }
}

TEST(KeyShortcutDialogTest, TheLastCapturedKeyWithADeviceCodeIsTheKey) {
  struct Case {
    const char* name;
    bool frenchLayout;
    std::vector<int> virtualKeys;  // presses and releases alike, in order
    std::vector<bool> taken;
    int key;
    std::string text;
  };
  const Case cases[] = {
      {"Shift held over A, Shift released last", false, {kVkLeftShift, kVkA, kVkA, kVkLeftShift}, {true, true, true, true}, 225, "Left Shift"},
      {"Shift released before A", false, {kVkLeftShift, kVkA, kVkLeftShift, kVkA}, {true, true, true, true}, 4, "A"},
      {"Alt+Tab: Tab released, then Alt", false, {kVkLeftAlt, kVkTab, kVkTab, kVkLeftAlt}, {true, true, true, true}, 226, "Left Alt"},
      {"Ctrl and F5", false, {kVkLeftCtrl, 116}, {true, true}, 62, "F5"},
      {"keypad and arrow keys", false, {101, 38}, {true, true}, 82, "Up Arrow"},
      {"generic Shift has no device code", false, {kVkA, 16}, {true, false}, 4, "A"},
      {"media and unknown keys leave the key", false, {kVkTab, 173, 255, 0}, {true, false, false, false}, 43, "Tab"},
      {"keys are positions: A on the Q key", true, {kVkA}, {true}, 20, "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto layout = c.frenchLayout ? test::LayoutWithAAtScanCode16() : test::UsLayout();
    KeyShortcutDialog dialog(layout, ShortcutEntry(0, 0x02));
    std::vector<bool> taken;
    for (int virtualKey : c.virtualKeys) taken.push_back(dialog.OnKeyCaptured(virtualKey));
    EXPECT_EQ(taken, c.taken);
    EXPECT_EQ(dialog.keyCode(), c.key);
    EXPECT_EQ(dialog.KeyText(), c.text);
    EXPECT_EQ(dialog.Mask(), 0x02) << "keys leave the modifiers alone";
  }
}

TEST(KeyShortcutDialogTest, AKeyWithoutDeviceCodeKeepsTheEntrysKey) {
  auto layout = test::UsLayout();
  KeyShortcutDialog dialog(layout, ShortcutEntry(41, 0));
  EXPECT_FALSE(dialog.OnKeyCaptured(0xB3));  // play/pause
  EXPECT_EQ(dialog.keyCode(), 41);
  EXPECT_EQ(dialog.KeyText(), "Esc");
}

TEST(KeyShortcutDialogTest, OkWritesKeyAndMaskAndOtherEndsLeaveTheEntry) {
  struct Case {
    const char* name;
    KeyShortcutCommand command;
    int code;
    bool written;
  };
  const Case cases[] = {
      {"OK", KeyShortcutCommand::kOk, kDialogOk, true},
      {"Cancel", KeyShortcutCommand::kCancel, kDialogCancel, false},
      {"Exit", KeyShortcutCommand::kExit, kDialogCancel, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto layout = test::UsLayout();
    const MacroKeyInfo original = MacroEntry();
    MacroKeyInfo entry = original;
    KeyShortcutDialog dialog(layout, entry);
    dialog.OnKeyCaptured(kVkLeftCtrl);
    dialog.OnKeyCaptured(kVkA);
    dialog.SetFlag(M::kNone, false);  // the macro's first action byte reads as None
    dialog.SetFlag(M::kCtrl, true);
    dialog.SetFlag(M::kAlt, true);

    EXPECT_EQ(dialog.OnCommand(c.command, entry), c.code);

    MacroKeyInfo expected = original;
    if (c.written) {
      expected.events[0].key = 4;
      expected.events[0].action = 0x0C;
      expected.eventCount = 1;
      std::memset(expected.macroSetName, 0, sizeof expected.macroSetName);
      std::memset(expected.macroName, 0, sizeof expected.macroName);
    }
    EXPECT_EQ(std::memcmp(&entry, &expected, sizeof entry), 0);
    EXPECT_EQ(entry.events[0].key, expected.events[0].key);
    EXPECT_EQ(entry.events[0].action, expected.events[0].action);
    EXPECT_EQ(entry.eventCount, expected.eventCount);
    EXPECT_EQ(entry.function, original.function) << "the function code is the caller's";
  }
}

TEST(KeyShortcutDialogTest, OkStoresNoneAloneWhateverElseIsChecked) {
  auto layout = test::UsLayout();
  MacroKeyInfo entry = ShortcutEntry(4, 0);
  KeyShortcutDialog dialog(layout, entry);
  dialog.SetFlag(M::kShift, true);
  dialog.SetFlag(M::kNone, true);
  ASSERT_EQ(dialog.OnCommand(KeyShortcutCommand::kOk, entry), kDialogOk);
  EXPECT_EQ(entry.events[0].action, 0x01);
  // The stored byte read back gives the same dialog.
  const KeyShortcutDialog reopened(layout, entry);
  EXPECT_EQ(Toggles(reopened), (std::vector<ModifierToggleView>{kOn, kLockedOff, kLockedOff, kLockedOff, kLockedOff}));
}

}  // namespace
}  // namespace kavo::option
