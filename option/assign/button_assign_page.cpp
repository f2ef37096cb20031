#include "option/assign/button_assign_page.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "option/assign/button_assign_catalogue.h"
#include "option/assign/button_assign_labels.h"
#include "option/macros/macro_button_copies.h"
#include "option/macros/macro_manager.h"
#include "option/assign/program_path_dialog.h"
#include "settings/bounded_text.h"

namespace kavo::option {
namespace {

void ClearMacroFields(MacroKeyInfo& entry) {
  entry.eventCount = 0;
  entry.repeatCount = 0;
  std::memset(entry.events, 0, sizeof(entry.events));
  std::memset(entry.macroSetName, 0, sizeof(entry.macroSetName));
  std::memset(entry.macroName, 0, sizeof(entry.macroName));
}

}  // namespace

ButtonAssignPage::ButtonAssignPage(SettingsRecord& working, KeyboardLayout& layout, MacroStorePort& store,
                                   ButtonAssignDialogs& dialogs, MacroManagerSession* session)
    : working_(working), layout_(layout), store_(store), dialogs_(dialogs), session_(session) {}

ProfileRecord* ButtonAssignPage::EditedProfile() {
  if (!IsProfileIndex(working_.CurrentProfile)) return nullptr;
  return &working_.profiles[working_.CurrentProfile];
}

void ButtonAssignPage::Refresh() {
  RefreshLabels();
  RefreshOrientation();
  view_.hoverPicture = -1;
}

void ButtonAssignPage::RefreshLabels() {
  const ProfileRecord* profile = EditedProfile();
  for (int slot = 0; slot < kButtonSlotCount; ++slot) {
    AssignSlotView& view = view_.slots[static_cast<std::size_t>(slot)];
    if (profile == nullptr) {
      view = AssignSlotView{};
      continue;
    }
    const MacroKeyInfo& entry = profile->buttons[slot];
    view.label = SlotLabel(layout_, entry);
    view.tooltip = SlotTooltip(entry);
    view.active = SlotActive(slot, entry);
  }
}

void ButtonAssignPage::RefreshOrientation() {
  const ProfileRecord* profile = EditedProfile();
  const int orientation = profile ? profile->Orientation : 0;
  view_.rightPressed = orientation == 0;
  view_.leftPressed = orientation == 1;
  view_.background = orientation == 1 ? 1 : 0;
}

bool ButtonAssignPage::HasMenu(int slot) const {
  if (slot < 2 || slot >= kButtonSlotCount || !IsProfileIndex(working_.CurrentProfile)) return false;
  return working_.profiles[working_.CurrentProfile].buttons[slot].function != kFunctionNone;
}

std::vector<AssignMenuItem> ButtonAssignPage::OpenMenu(int slot) {
  if (!HasMenu(slot)) return {};
  menuProfile_ = working_.CurrentProfile;
  menuSlot_ = slot;
  scratch_ = EditedProfile()->buttons[slot];
  return BuildAssignMenu(slot, scratch_, store_);
}

bool ButtonAssignPage::HasMacro(int setIndex, int macroIndex) {
  const MacroSet* set = store_.SetAt(setIndex);
  return set != nullptr && macroIndex >= 0 && macroIndex < static_cast<int>(set->macros.size());
}

void ButtonAssignPage::CopyMacro(MacroKeyInfo& entry, int setIndex, int macroIndex) {
  const MacroSet* set = store_.SetAt(setIndex);
  const Macro& macro = *set->macros[static_cast<std::size_t>(macroIndex)];
  CopyMacroPlayback(entry, macro);
  CopyBounded(entry.macroSetName, set->name);
  CopyBounded(entry.macroName, FieldText(macro.name));
}

void ButtonAssignPage::OnCommand(int commandId) {
  const AssignCommand command = ParseAssignCommand(commandId);
  if (command.kind == AssignCommandKind::kIgnored) return;
  // The mouse's profile button may bring another record while the command is queued or its dialog is
  // open: the edit and its flag stay with the profile whose button the menu was opened for.
  const int profileIndex = std::exchange(menuProfile_, -1);
  const int slot = std::exchange(menuSlot_, -1);
  if (!IsProfileIndex(profileIndex) || slot < 0) return;
  ProfileRecord* profile = &working_.profiles[profileIndex];
  MacroKeyInfo& entry = profile->buttons[slot];
  switch (command.kind) {
    case AssignCommandKind::kIgnored:
      return;
    case AssignCommandKind::kCreateMacro:
      RunMacroManager(true, -1);
      return;
    case AssignCommandKind::kEditMacro:
      if (command.setIndex < store_.SetCount()) RunMacroManager(false, command.setIndex);
      return;
    case AssignCommandKind::kSelectPlayer:
      if (const std::optional<int> player = dialogs_.AskMediaPlayer(profile->MediaOption)) {
        profile->MediaOption = *player;
      }
      return;
    case AssignCommandKind::kShortcut: {
      const std::optional<ShortcutChoice> choice = dialogs_.AskShortcut(entry.events[0].key, entry.events[0].action);
      if (!choice) return;
      entry.eventCount = 1;
      entry.events[0].key = choice->keyCode;
      entry.events[0].action = choice->mask;
      std::memset(entry.macroSetName, 0, sizeof(entry.macroSetName));
      std::memset(entry.macroName, 0, sizeof(entry.macroName));
      break;
    }
    case AssignCommandKind::kQuicklaunch: {
      const std::optional<std::string> path = dialogs_.AskProgramPath(ProgramPathDialog::InitialPath(entry));
      if (!path) return;
      CopyBounded(entry.programPath, *path);
      break;
    }
    case AssignCommandKind::kMacro:
      // The menu is built from the store just before it opens, so this only fails for a stray id.
      if (!HasMacro(command.setIndex, command.macroIndex)) return;
      break;
    case AssignCommandKind::kFunction:
      break;
  }

  const int oldCode = entry.function;
  entry.function = static_cast<std::uint8_t>(command.code);
  if (command.kind == AssignCommandKind::kMacro) {
    ClearMacroFields(entry);
    CopyMacro(entry, command.setIndex, command.macroIndex);
  } else if (command.kind != AssignCommandKind::kShortcut) {
    ClearMacroFields(entry);
  }
  std::int32_t* changed = working_.ButtonChanged[profileIndex];
  changed[slot] = 1;
  if (oldCode != command.code) {
    const SlotSet altered = altlayer_.Apply(*profile, command.code);
    for (int other = 0; other < kButtonSlotCount; ++other) {
      if (altered.test(static_cast<std::size_t>(other))) changed[other] = 1;
    }
  }
  RefreshLabels();
}

void ButtonAssignPage::OnOrientation(int orientation) {
  ProfileRecord* profile = EditedProfile();
  if (profile == nullptr) return;
  profile->Orientation = orientation;
  RefreshOrientation();
}

void ButtonAssignPage::OnMacroManager() { RunMacroManager(true, -1); }

void ButtonAssignPage::RunMacroManager(bool newMacroMode, int preselectedSet) {
  const MacroLibraryCopy before = CopyMacroLibrary(store_);
  if (session_) session_->Opened();
  const int endCode = dialogs_.RunMacroManager(scratch_, newMacroMode, preselectedSet);
  if (endCode == kMacroManagerOk) CarryChangedMacrosToButtons(before, store_, working_);
  FinishMacroManager(endCode, store_);
  if (session_) session_->Closed(working_);
}

void ButtonAssignPage::OnHoverNotify(bool entering, int notifyValue) {
  if (notifyValue < kFirstHoverNotify || notifyValue >= kFirstHoverNotify + kButtonSlotCount) return;
  const ProfileRecord* profile = EditedProfile();
  if (profile == nullptr) return;
  const int index = HoverPictureIndex(notifyValue, *profile);
  if (entering) {
    view_.hoverPicture = index;
  } else if (view_.hoverPicture == index) {
    // A late leave of a button whose picture another button's has replaced hides nothing.
    view_.hoverPicture = -1;
  }
}

}  // namespace kavo::option
