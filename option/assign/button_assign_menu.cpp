#include "option/assign/button_assign_menu.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "option/assign/button_assign_catalogue.h"
#include "option/macros/macro_store.h"
#include "settings/bounded_text.h"

namespace kavo::option {
namespace {

AssignMenuItem Command(int id, std::string text, bool highlighted = false) {
  AssignMenuItem item;
  item.text = std::move(text);
  item.commandId = id;
  item.highlighted = highlighted;
  return item;
}

AssignMenuItem Separator() {
  AssignMenuItem item;
  item.kind = AssignMenuItemKind::kSeparator;
  return item;
}

AssignMenuItem Submenu(std::string text, std::vector<AssignMenuItem> items, bool highlighted = false) {
  AssignMenuItem item;
  item.kind = AssignMenuItemKind::kSubmenu;
  item.text = std::move(text);
  item.highlighted = highlighted;
  item.items = std::move(items);
  return item;
}

// The items of one menu place in catalogue order, labelled from the catalogue.
std::vector<AssignMenuItem> Commands(std::initializer_list<int> codes) {
  std::vector<AssignMenuItem> items;
  for (int code : codes) {
    const CatalogueEntry* entry = FindCatalogueEntry(code);
    items.push_back(Command(entry->commandId, std::string(entry->label)));
  }
  return items;
}

void Append(std::vector<AssignMenuItem>& items, std::vector<AssignMenuItem> more) {
  for (AssignMenuItem& item : more) items.push_back(std::move(item));
}

std::vector<AssignMenuItem> MacroMenu(const MacroKeyInfo& entry, MacroStorePort& store) {
  std::vector<AssignMenuItem> items{Command(kCreateMacroCommand, "Create New Macro...")};
  const int setCount = std::min(store.SetCount(), kMaxMenuMacroSets);
  if (setCount > 0) items.push_back(Separator());
  const bool slotHasMacro = entry.function == kFunctionMacro;
  const std::string slotSet = FieldText(entry.macroSetName);
  const std::string slotMacro = FieldText(entry.macroName);
  for (int s = 0; s < setCount; ++s) {
    const MacroSet* set = store.SetAt(s);
    if (set == nullptr) continue;
    const bool setHighlighted = slotHasMacro && SameName(slotSet, set->name);
    std::vector<AssignMenuItem> setItems{Command(kEditMacroCommandBase + s, "Edit Macro...")};
    const int macroCount = std::min(static_cast<int>(set->macros.size()), kMaxMenuMacros);
    if (macroCount > 0) setItems.push_back(Separator());
    for (int m = 0; m < macroCount; ++m) {
      const std::string name = FieldText(set->macros[m]->name);
      setItems.push_back(Command(kMacroCommandBase + kMacroCommandsPerSet * s + m, name,
                                 setHighlighted && SameName(slotMacro, name)));
    }
    items.push_back(Submenu(set->name, std::move(setItems), setHighlighted));
    if (SeparatorAfterSet(set->name, s, setCount)) items.push_back(Separator());
  }
  return items;
}

}  // namespace

std::vector<AssignMenuItem> BuildAssignMenu(int slot, const MacroKeyInfo& entry, MacroStorePort& store) {
  std::vector<AssignMenuItem> top;
  if (slot == 3 || slot == 4) {
    std::vector<AssignMenuItem> altlayer = Commands({kFunctionAltlayer});
    altlayer.push_back(Separator());
    Append(altlayer, Commands({66, 67, 68, 69}));
    top.push_back(Submenu("Altlayer[+]", std::move(altlayer)));
  }
  top.push_back(Submenu("Macro + Preset Compilation", MacroMenu(entry, store)));
  top.push_back(Submenu("Profile", Commands({16, 17, 18})));
  top.push_back(Submenu("DPI Setting", Commands({20, 21, 22})));
  std::vector<AssignMenuItem> multimedia = Commands({37, 38, 39});
  multimedia.push_back(Separator());
  multimedia.push_back(Command(kSelectPlayerCommand, "Select Player"));
  multimedia.push_back(Separator());
  Append(multimedia, Commands({32, 33, 34, 35, 36}));
  top.push_back(Submenu("Multimedia", std::move(multimedia)));
  top.push_back(Separator());
  Append(top, Commands({1, 2, 3, 4}));
  top.push_back(Command(kAssignShortcutCommand, "Assign a Shortcut"));
  Append(top, Commands({6, 7, 8, 9, 10, 13, 14}));
  top.push_back(Command(kAssignQuicklaunchCommand, "Quicklaunch"));
  return top;
}

}  // namespace kavo::option
