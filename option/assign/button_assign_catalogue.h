#pragma once
// The function catalogue of the button assignment page: every function code a slot can show, its label,
// where the popup menu offers it, and what each menu command id means.
#include <cstdint>
#include <string_view>

namespace kavo::option {

// Command ids of the function menu that set no function or select a macro.
constexpr int kAssignShortcutCommand = 1005;
constexpr int kAssignQuicklaunchCommand = 1015;
constexpr int kCreateMacroCommand = 1030;
constexpr int kSelectPlayerCommand = 1040;
constexpr int kMacroCommandBase = 1100;      // + 100 x set index + macro index
constexpr int kEditMacroCommandBase = 11100;  // + set index
constexpr int kAssignLastCommand = 11199;
constexpr int kMacroCommandsPerSet = 100;

// Where the function menu offers a code.
enum class MenuPlace { kNotOffered, kTop, kAltlayer, kMacro, kProfile, kDpi, kMultimedia };

struct CatalogueEntry {
  std::uint8_t code;
  std::string_view label;  // empty for the codes whose label comes from the slot's entry (5, 15, 48)
  MenuPlace place;
  int commandId;           // 0: none; for 48 the base of the per-macro ids
};

// Null for a code outside the catalogue (its slot shows an empty label).
const CatalogueEntry* FindCatalogueEntry(int code);
// The fixed label of a code; empty for codes labelled from their entry and for unknown codes.
std::string_view FixedLabel(int code);

enum class AssignCommandKind {
  kIgnored,       // an id no menu item carries
  kFunction,      // stores code as it is
  kShortcut,      // key shortcut dialog first
  kQuicklaunch,   // program path dialog first
  kMacro,         // the macro setIndex / macroIndex
  kCreateMacro,   // macro manager, new-macro mode
  kEditMacro,     // macro manager with setIndex preselected
  kSelectPlayer,  // media player dialog
};

struct AssignCommand {
  AssignCommandKind kind = AssignCommandKind::kIgnored;
  int code = -1;  // the function code the command sets; -1 for the commands that set none
  int setIndex = -1;
  int macroIndex = -1;
};

AssignCommand ParseAssignCommand(int commandId);

}  // namespace kavo::option
