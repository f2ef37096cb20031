// The function menu of a slot: its fixed parts, the Altlayer submenu of the side buttons, the macro part
// built from the store with the slot's own set and macro highlighted, and the second click that closes it.
#include "option/assign/button_assign_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/bounded_text.h"
#include "tests/unit/option/assign/button_assign_test_support.h"

namespace kavo::option {
namespace {

using Kind = AssignMenuItemKind;

// One line per item: "text=id", "-" for a separator, "text>" for a submenu, "*" before a highlighted item.
std::vector<std::string> Lines(const std::vector<AssignMenuItem>& items) {
  std::vector<std::string> lines;
  for (const AssignMenuItem& item : items) {
    std::string line = item.highlighted ? "*" : "";
    switch (item.kind) {
      case Kind::kSeparator: line += "-"; break;
      case Kind::kSubmenu: line += item.text + ">"; break;
      case Kind::kCommand: line += item.text + "=" + std::to_string(item.commandId); break;
    }
    lines.push_back(line);
  }
  return lines;
}

const AssignMenuItem& Submenu(const std::vector<AssignMenuItem>& items, const std::string& text) {
  for (const AssignMenuItem& item : items) {
    if (item.kind == Kind::kSubmenu && item.text == text) return item;
  }
  static const AssignMenuItem none;
  ADD_FAILURE() << "no submenu " << text;
  return none;
}

MacroKeyInfo MacroSlot(const char* set, const char* macro) {
  MacroKeyInfo entry{};
  entry.function = kFunctionMacro;
  CopyBounded(entry.macroSetName, set);
  CopyBounded(entry.macroName, macro);
  return entry;
}

const std::vector<std::string> kFunctions = {
    "-", "Click=1001", "Menu=1002", "Universal scrolling=1003", "Double-click=1004", "Assign a Shortcut=1005",
    "Disabled=1006", "IE Forward=1007", "IE Backward=1008", "Tilt Left=1009", "Tilt Right=1010",
    "Scroll Up=1013", "Scroll Down=1014", "Quicklaunch=1015"};

std::vector<std::string> TopLines(bool withAltlayer) {
  std::vector<std::string> lines;
  if (withAltlayer) lines.push_back("Altlayer[+]>");
  for (const char* submenu : {"Macro + Preset Compilation>", "Profile>", "DPI Setting>", "Multimedia>"}) {
    lines.push_back(submenu);
  }
  lines.insert(lines.end(), kFunctions.begin(), kFunctions.end());
  return lines;
}

TEST(ButtonAssignMenu, AltlayerSubmenuOnlyForTheSideButtons) {
  test::CountingStorePort store;
  for (int slot = 2; slot < kButtonSlotCount; ++slot) {
    const bool side = slot == 3 || slot == 4;
    const std::vector<AssignMenuItem> menu = BuildAssignMenu(slot, MacroKeyInfo{}, store);
    EXPECT_EQ(Lines(menu), TopLines(side)) << "slot " << slot;
    if (side) {
      EXPECT_EQ(Lines(Submenu(menu, "Altlayer[+]").items),
                (std::vector<std::string>{"Altlayer[+]=1024", "-", "Dualwheel Sensitivity=1025",
                                          "Dualwheel Profile=1026", "Dualwheel DPI=1027",
                                          "Dualwheel Volume=1028"}));
    }
  }
}

TEST(ButtonAssignMenu, FixedSubmenus) {
  test::CountingStorePort store;
  const std::vector<AssignMenuItem> menu = BuildAssignMenu(5, MacroKeyInfo{}, store);
  EXPECT_EQ(Lines(Submenu(menu, "Profile").items),
            (std::vector<std::string>{"Profile Cycle=1016", "Profile Up=1017", "Profile Down=1018"}));
  EXPECT_EQ(Lines(Submenu(menu, "DPI Setting").items),
            (std::vector<std::string>{"DPI Cycle=1020", "DPI Up=1021", "DPI Down=1022"}));
  EXPECT_EQ(Lines(Submenu(menu, "Multimedia").items),
            (std::vector<std::string>{"Windows Mute=1037", "Windows Volume Up=1038", "Windows Volume Down=1039",
                                      "-", "Select Player=1040", "-", "Open Player=1032",
                                      "Previous Track=1033", "Next Track=1034", "Play/Pause=1035",
                                      "Stop=1036"}));
  // An empty store offers only the way to make a first macro.
  EXPECT_EQ(Lines(Submenu(menu, "Macro + Preset Compilation").items),
            (std::vector<std::string>{"Create New Macro...=1030"}));
}

TEST(ButtonAssignMenu, MacroSetsWithSeparatorsAfterThePresetSets) {
  struct Case { std::vector<std::string> sets; std::vector<std::string> lines; };
  const Case cases[] = {
      {{"World of Warcraft", "Xfire", "Mine"},
       {"Create New Macro...=1030", "-", "World of Warcraft>", "-", "Xfire>", "-", "Mine>"}},
      // Case-insensitive; a last Xfire has nothing to stand apart from, a last World of Warcraft still does.
      {{"mine", "world of WARCRAFT"}, {"Create New Macro...=1030", "-", "mine>", "world of WARCRAFT>", "-"}},
      {{"XFIRE"}, {"Create New Macro...=1030", "-", "XFIRE>"}},
      {{"Xfire2", "World"}, {"Create New Macro...=1030", "-", "Xfire2>", "World>"}},
  };
  for (const Case& c : cases) {
    test::CountingStorePort store;
    for (const std::string& set : c.sets) store.AddSet(set, {});
    const std::vector<AssignMenuItem> menu = BuildAssignMenu(2, MacroKeyInfo{}, store);
    EXPECT_EQ(Lines(Submenu(menu, "Macro + Preset Compilation").items), c.lines) << c.sets.front();
  }
}

TEST(ButtonAssignMenu, SetSubmenuHoldsEditThenItsMacros) {
  test::CountingStorePort store;
  store.AddSet("Empty", {});
  store.AddSet("Raid", {"Heal", "Buff", "Pull"});
  const std::vector<AssignMenuItem> macros =
      Submenu(BuildAssignMenu(2, MacroKeyInfo{}, store), "Macro + Preset Compilation").items;
  EXPECT_EQ(Lines(Submenu(macros, "Empty").items), (std::vector<std::string>{"Edit Macro...=11100"}));
  EXPECT_EQ(Lines(Submenu(macros, "Raid").items),
            (std::vector<std::string>{"Edit Macro...=11101", "-", "Heal=1200", "Buff=1201", "Pull=1202"}));
}

TEST(ButtonAssignMenu, HighlightsTheSlotsOwnSetAndMacro) {
  struct Case { const char* name; MacroKeyInfo entry; std::vector<std::string> sets; std::vector<std::string> raid; };
  MacroKeyInfo notMacro = MacroSlot("Raid", "Buff");
  notMacro.function = kFunctionKeyShortcut;
  const Case cases[] = {
      {"exact", MacroSlot("Raid", "Buff"), {"Create New Macro...=1030", "-", "Solo>", "*Raid>"},
       {"Edit Macro...=11101", "-", "Heal=1200", "*Buff=1201"}},
      {"case and blanks", MacroSlot(" rAID ", "BUFF"), {"Create New Macro...=1030", "-", "Solo>", "*Raid>"},
       {"Edit Macro...=11101", "-", "Heal=1200", "*Buff=1201"}},
      // The macro name alone marks nothing in another set of the same macro names.
      {"set only", MacroSlot("Raid", "Gone"), {"Create New Macro...=1030", "-", "Solo>", "*Raid>"},
       {"Edit Macro...=11101", "-", "Heal=1200", "Buff=1201"}},
      {"no such set", MacroSlot("Other", "Buff"), {"Create New Macro...=1030", "-", "Solo>", "Raid>"},
       {"Edit Macro...=11101", "-", "Heal=1200", "Buff=1201"}},
      {"not a macro", notMacro, {"Create New Macro...=1030", "-", "Solo>", "Raid>"},
       {"Edit Macro...=11101", "-", "Heal=1200", "Buff=1201"}},
  };
  for (const Case& c : cases) {
    test::CountingStorePort store;
    store.AddSet("Solo", {"Heal", "Buff"});
    store.AddSet("Raid", {"Heal", "Buff"});
    const std::vector<AssignMenuItem> macros =
        Submenu(BuildAssignMenu(6, c.entry, store), "Macro + Preset Compilation").items;
    EXPECT_EQ(Lines(macros), c.sets) << c.name;
    EXPECT_EQ(Lines(Submenu(macros, "Raid").items), c.raid) << c.name;
    EXPECT_EQ(Lines(Submenu(macros, "Solo").items),
              (std::vector<std::string>{"Edit Macro...=11100", "-", "Heal=1100", "Buff=1101"}))
        << c.name;
  }
}

TEST(ButtonAssignMenu, AHundredSetsOfAHundredMacrosKeepTheirIdsApart) {
  test::CountingStorePort store;
  std::vector<std::string> names;
  for (int m = 0; m < 101; ++m) names.push_back("M" + std::to_string(m));
  // The file may hold more sets than the manager lets one make; the menu shows the first hundred.
  for (int s = 0; s < 101; ++s) store.AddSet("Set" + std::to_string(s), names);
  const std::vector<AssignMenuItem> macros =
      Submenu(BuildAssignMenu(2, MacroKeyInfo{}, store), "Macro + Preset Compilation").items;
  ASSERT_EQ(macros.size(), 2u + 100u);
  EXPECT_EQ(macros.back().text, "Set99");

  const std::vector<AssignMenuItem>& last = macros.back().items;
  ASSERT_EQ(last.size(), 2u + 100u);
  EXPECT_EQ(last[0].commandId, 11199);
  EXPECT_EQ(last[2].commandId, 11000);
  EXPECT_EQ(last.back().commandId, 11099);
  EXPECT_EQ(last.back().text, "M99");
  for (int s = 0; s < 100; ++s) {
    EXPECT_EQ(macros[static_cast<std::size_t>(2 + s)].items[0].commandId, 11100 + s);
  }
}

}  // namespace
}  // namespace kavo::option
