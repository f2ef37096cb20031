// The function catalogue: each code's label, what a slot shows for shortcuts, programs and macros, which
// slots look active, and what each menu command id stands for.
#include "option/assign/button_assign_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "option/assign/button_assign_labels.h"
#include "settings/bounded_text.h"
#include "tests/support/fake_keyboard_layouts.h"

namespace kavo::option {
namespace {

constexpr std::uint8_t kKeyA = 4, kKeyF5 = 62, kKeyEnter = 40;

MacroKeyInfo Entry(int code) {
  MacroKeyInfo entry{};
  entry.function = static_cast<std::uint8_t>(code);
  return entry;
}

MacroKeyInfo Shortcut(std::uint8_t key, std::uint8_t mask, int eventCount = 1) {
  MacroKeyInfo entry = Entry(kFunctionKeyShortcut);
  entry.eventCount = static_cast<std::uint16_t>(eventCount);
  entry.events[0].key = key;
  entry.events[0].action = mask;
  return entry;
}

TEST(ButtonAssignLabels, FixedLabelOfEveryCatalogueCode) {
  struct Case { int code; const char* label; };
  const Case cases[] = {
      {0, "Disabled"}, {1, "Click"}, {2, "Menu"}, {3, "Universal scrolling"}, {4, "Double-click"},
      {6, "Disabled"}, {7, "IE Forward"}, {8, "IE Backward"}, {9, "Tilt Left"}, {10, "Tilt Right"},
      {11, "DPI Change"}, {13, "Scroll Up"}, {14, "Scroll Down"}, {16, "Profile Cycle"}, {17, "Profile Up"},
      {18, "Profile Down"}, {19, "Assign a sensitivity"}, {20, "DPI Cycle"}, {21, "DPI Up"}, {22, "DPI Down"},
      {32, "Open Player"}, {33, "Previous Track"}, {34, "Next Track"}, {35, "Play/Pause"}, {36, "Stop"},
      {37, "Windows Mute"}, {38, "Windows Volume Up"}, {39, "Windows Volume Down"}, {64, "Disabled"},
      {65, "Altlayer[+]"}, {66, "Dualwheel Sensitivity"}, {67, "Dualwheel Profile"}, {68, "Dualwheel DPI"},
      {69, "Dualwheel Volume"},
      // Outside the catalogue, and the gaps inside it: nothing to show.
      {12, ""}, {23, ""}, {31, ""}, {40, ""}, {47, ""}, {49, ""}, {63, ""}, {70, ""}, {255, ""},
  };
  test::FakeKeyboardLayout layout = test::UsLayout();
  for (const Case& c : cases) {
    // Fields that other codes use must not leak into a fixed label.
    MacroKeyInfo entry = Entry(c.code);
    CopyBounded(entry.macroName, "Stale");
    CopyBounded(entry.programPath, "C:\\stale.exe");
    entry.eventCount = 1;
    EXPECT_EQ(SlotLabel(layout, entry), c.label) << "code " << c.code;
  }
}

TEST(ButtonAssignLabels, ShortcutShowsModifiersInFixedOrderThenKeyName) {
  struct Case { std::uint8_t key; std::uint8_t mask; int events; const char* label; };
  const Case cases[] = {
      {kKeyA, 0x06, 1, "Ctrl+Shift+A"},
      {kKeyA, 0x01, 1, "A"},                    // None: the key alone
      {kKeyA, 0x1F, 1, "A"},                    // None wins over the others
      {kKeyA, 0x1E, 1, "Ctrl+Shift+Alt+Win+A"},
      {kKeyF5, 0x08, 1, "Alt+F5"},
      {kKeyEnter, 0x10, 1, "Win+Enter"},
      {kKeyF5, 0x00, 1, "F5"},
      {kKeyA, 0x06, 0, ""},                     // no event: nothing assigned yet
      {0, 0x04, 1, "Ctrl+"},                    // a code without a name
  };
  test::FakeKeyboardLayout layout = test::UsLayout();
  for (const Case& c : cases) {
    EXPECT_EQ(SlotLabel(layout, Shortcut(c.key, c.mask, c.events)), c.label)
        << "key " << int{c.key} << " mask " << int{c.mask} << " events " << c.events;
  }
}

TEST(ButtonAssignLabels, ShortcutKeyNameFollowsTheLayout) {
  test::FakeKeyboardLayout french = test::LayoutWithAAtScanCode16();
  EXPECT_EQ(SlotLabel(french, Shortcut(20, 0x04)), "Ctrl+A");
}

TEST(ButtonAssignLabels, QuicklaunchLabelShowsTheFileNameAndItsTooltipTheWholePath) {
  struct Case { const char* path; const char* label; };
  const Case cases[] = {
      {"C:\\Program Files\\Game\\game.exe", "game.exe"},
      {"C:/tools/run.bat", "run.bat"},
      {"D:notes.txt", "notes.txt"},
      {"\\\\server\\share\\tools\\app.exe", "app.exe"},
      {"https://example.com/tools/start", "start"},
      {"plain.exe", "plain.exe"},
      {"C:\\folder\\", ""},
      {"", ""},
  };
  test::FakeKeyboardLayout layout = test::UsLayout();
  for (const Case& c : cases) {
    MacroKeyInfo entry = Entry(kFunctionQuicklaunch);
    CopyBounded(entry.programPath, c.path);
    EXPECT_EQ(SlotLabel(layout, entry), c.label) << c.path;
    EXPECT_EQ(SlotTooltip(entry), c.path) << "the tooltip has the whole path";
  }
  // Other slots keep their tooltip to the help text, whatever their path field holds.
  for (int code : {kFunctionMacro, kFunctionKeyShortcut, kFunctionNone}) {
    MacroKeyInfo entry = Entry(code);
    CopyBounded(entry.programPath, "C:\\left\\over.exe");
    EXPECT_EQ(SlotTooltip(entry), "") << "code " << code;
  }
}

TEST(ButtonAssignLabels, MacroShowsItsNameWithinTheField) {
  test::FakeKeyboardLayout layout = test::UsLayout();
  MacroKeyInfo entry = Entry(kFunctionMacro);
  CopyBounded(entry.macroSetName, "Raid");
  CopyBounded(entry.macroName, "Heal all");
  EXPECT_EQ(SlotLabel(layout, entry), "Heal all");

  // A name field without its terminator (a record from outside) is read to its end and no further.
  std::memset(entry.macroName, 'x', sizeof(entry.macroName));
  EXPECT_EQ(SlotLabel(layout, entry), std::string(sizeof(entry.macroName), 'x'));
}

TEST(ButtonAssignLabels, MainButtonsAndUnavailableSlotsLookInactive) {
  struct Case { int slot; int code; bool active; };
  const Case cases[] = {
      {0, 1, false}, {1, 2, false}, {2, 3, true}, {3, 65, true}, {4, 64, true},
      {6, 14, true}, {7, 8, true}, {10, 0, false}, {13, 0, false}, {13, 39, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SlotActive(c.slot, Entry(c.code)), c.active) << "slot " << c.slot << " code " << c.code;
  }
}

TEST(ButtonAssignCommands, EveryIdMapsToItsFunctionOrAction) {
  using K = AssignCommandKind;
  struct Case { int id; K kind; int code; int set; int macro; };
  const Case cases[] = {
      {1001, K::kFunction, 1, -1, -1},   {1004, K::kFunction, 4, -1, -1},
      {1005, K::kShortcut, 5, -1, -1},   {1006, K::kFunction, 6, -1, -1},
      {1010, K::kFunction, 10, -1, -1},  {1011, K::kIgnored, -1, -1, -1},
      {1012, K::kIgnored, -1, -1, -1},   {1013, K::kFunction, 13, -1, -1},
      {1014, K::kFunction, 14, -1, -1},  {1015, K::kQuicklaunch, 15, -1, -1},
      {1016, K::kFunction, 16, -1, -1},  {1018, K::kFunction, 18, -1, -1},
      {1020, K::kFunction, 20, -1, -1},  {1022, K::kFunction, 22, -1, -1},
      {1023, K::kIgnored, -1, -1, -1},   {1024, K::kFunction, 65, -1, -1},
      {1025, K::kFunction, 66, -1, -1},  {1028, K::kFunction, 69, -1, -1},
      {1029, K::kIgnored, -1, -1, -1},   {1030, K::kCreateMacro, -1, -1, -1},
      {1031, K::kIgnored, -1, -1, -1},   {1032, K::kFunction, 32, -1, -1},
      {1036, K::kFunction, 36, -1, -1},  {1039, K::kFunction, 39, -1, -1},
      {1040, K::kSelectPlayer, -1, -1, -1}, {1041, K::kIgnored, -1, -1, -1},
      {1000, K::kIgnored, -1, -1, -1},   {1099, K::kIgnored, -1, -1, -1},
      {1100, K::kMacro, 48, 0, 0},       {1199, K::kMacro, 48, 0, 99},
      {1200, K::kMacro, 48, 1, 0},       {1307, K::kMacro, 48, 2, 7},
      {11000, K::kMacro, 48, 99, 0},     {11099, K::kMacro, 48, 99, 99},
      {11100, K::kEditMacro, -1, 0, -1}, {11105, K::kEditMacro, -1, 5, -1},
      {11199, K::kEditMacro, -1, 99, -1}, {11200, K::kIgnored, -1, -1, -1},
      {0, K::kIgnored, -1, -1, -1},      {-1100, K::kIgnored, -1, -1, -1},
  };
  for (const Case& c : cases) {
    const AssignCommand command = ParseAssignCommand(c.id);
    EXPECT_EQ(command.kind, c.kind) << c.id;
    EXPECT_EQ(command.code, c.code) << c.id;
    EXPECT_EQ(command.setIndex, c.set) << c.id;
    EXPECT_EQ(command.macroIndex, c.macro) << c.id;
  }
}

TEST(ButtonAssignCommands, EveryOfferedCodeComesBackFromItsCommand) {
  for (int code = 0; code < 256; ++code) {
    const CatalogueEntry* entry = FindCatalogueEntry(code);
    if (entry == nullptr || entry->place == MenuPlace::kNotOffered || code == kFunctionMacro) continue;
    EXPECT_EQ(ParseAssignCommand(entry->commandId).code, code) << "code " << code;
  }
}

}  // namespace
}  // namespace kavo::option
