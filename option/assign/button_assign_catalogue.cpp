#include "option/assign/button_assign_catalogue.h"

#include "settings/settings_record.h"

namespace kavo::option {
namespace {

constexpr CatalogueEntry kCatalogue[] = {
    {0, "Disabled", MenuPlace::kNotOffered, 0},
    {1, "Click", MenuPlace::kTop, 1001},
    {2, "Menu", MenuPlace::kTop, 1002},
    {3, "Universal scrolling", MenuPlace::kTop, 1003},
    {4, "Double-click", MenuPlace::kTop, 1004},
    {5, "", MenuPlace::kTop, 1005},
    {6, "Disabled", MenuPlace::kTop, 1006},
    {7, "IE Forward", MenuPlace::kTop, 1007},
    {8, "IE Backward", MenuPlace::kTop, 1008},
    {9, "Tilt Left", MenuPlace::kTop, 1009},
    {10, "Tilt Right", MenuPlace::kTop, 1010},
    {11, "DPI Change", MenuPlace::kNotOffered, 0},
    {13, "Scroll Up", MenuPlace::kTop, 1013},
    {14, "Scroll Down", MenuPlace::kTop, 1014},
    {15, "", MenuPlace::kTop, 1015},
    {16, "Profile Cycle", MenuPlace::kProfile, 1016},
    {17, "Profile Up", MenuPlace::kProfile, 1017},
    {18, "Profile Down", MenuPlace::kProfile, 1018},
    {19, "Assign a sensitivity", MenuPlace::kNotOffered, 0},
    {20, "DPI Cycle", MenuPlace::kDpi, 1020},
    {21, "DPI Up", MenuPlace::kDpi, 1021},
    {22, "DPI Down", MenuPlace::kDpi, 1022},
    {32, "Open Player", MenuPlace::kMultimedia, 1032},
    {33, "Previous Track", MenuPlace::kMultimedia, 1033},
    {34, "Next Track", MenuPlace::kMultimedia, 1034},
    {35, "Play/Pause", MenuPlace::kMultimedia, 1035},
    {36, "Stop", MenuPlace::kMultimedia, 1036},
    {37, "Windows Mute", MenuPlace::kMultimedia, 1037},
    {38, "Windows Volume Up", MenuPlace::kMultimedia, 1038},
    {39, "Windows Volume Down", MenuPlace::kMultimedia, 1039},
    {48, "", MenuPlace::kMacro, kMacroCommandBase},
    {64, "Disabled", MenuPlace::kNotOffered, 0},
    {65, "Altlayer[+]", MenuPlace::kAltlayer, 1024},
    {66, "Dualwheel Sensitivity", MenuPlace::kAltlayer, 1025},
    {67, "Dualwheel Profile", MenuPlace::kAltlayer, 1026},
    {68, "Dualwheel DPI", MenuPlace::kAltlayer, 1027},
    {69, "Dualwheel Volume", MenuPlace::kAltlayer, 1028},
};

AssignCommand FunctionCommand(int code) {
  AssignCommand command;
  command.kind = AssignCommandKind::kFunction;
  command.code = code;
  return command;
}

}  // namespace

const CatalogueEntry* FindCatalogueEntry(int code) {
  for (const CatalogueEntry& entry : kCatalogue) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

std::string_view FixedLabel(int code) {
  const CatalogueEntry* entry = FindCatalogueEntry(code);
  return entry ? entry->label : std::string_view();
}

AssignCommand ParseAssignCommand(int id) {
  AssignCommand command;
  if (id == kAssignShortcutCommand) {
    command.kind = AssignCommandKind::kShortcut;
    command.code = kFunctionKeyShortcut;
  } else if (id == kAssignQuicklaunchCommand) {
    command.kind = AssignCommandKind::kQuicklaunch;
    command.code = kFunctionQuicklaunch;
  } else if ((id >= 1001 && id <= 1010) || (id >= 1013 && id <= 1022) || (id >= 1032 && id <= 1039)) {
    command = FunctionCommand(id - 1000);
  } else if (id >= 1024 && id <= 1028) {
    command = FunctionCommand(id - 1024 + kFunctionAltlayer);
  } else if (id == kCreateMacroCommand) {
    command.kind = AssignCommandKind::kCreateMacro;
  } else if (id == kSelectPlayerCommand) {
    command.kind = AssignCommandKind::kSelectPlayer;
  } else if (id >= kMacroCommandBase && id < kEditMacroCommandBase) {
    command.kind = AssignCommandKind::kMacro;
    command.code = kFunctionMacro;
    command.setIndex = (id - kMacroCommandBase) / kMacroCommandsPerSet;
    command.macroIndex = (id - kMacroCommandBase) % kMacroCommandsPerSet;
  } else if (id >= kEditMacroCommandBase && id <= kAssignLastCommand) {
    command.kind = AssignCommandKind::kEditMacro;
    command.setIndex = id - kEditMacroCommandBase;
  }
  return command;
}

}  // namespace kavo::option
