#pragma once
// The button assignment page over the working record's edited profile: what each slot button shows, the
// function menu a slot opens, what each menu command writes into the slot (after any dialog it needs),
// the orientation, the hover pictures, and the Altlayer layer kept consistent with the side buttons.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "option/assign/button_assign_altlayer.h"
#include "option/assign/button_assign_menu.h"
#include "option/macros/macro_manager_ports.h"
#include "settings/keyboard_layout.h"
#include "settings/settings_record.h"

namespace kavo::option {

struct ShortcutChoice {
  std::uint8_t keyCode = 0;
  std::uint8_t mask = 0;
};

// The dialogs the page's commands open; each returns none on Cancel.
class ButtonAssignDialogs {
 public:
  virtual ~ButtonAssignDialogs() = default;
  // The key shortcut dialog, started from the key and modifier mask the slot holds.
  virtual std::optional<ShortcutChoice> AskShortcut(std::uint8_t keyCode, std::uint8_t mask) = 0;
  // The program path dialog, started from initialPath.
  virtual std::optional<std::string> AskProgramPath(const std::string& initialPath) = 0;
  // The macro manager over the store, for the scratch copy of the slot's entry; its end code. The page
  // saves or reloads the store afterwards.
  virtual int RunMacroManager(const MacroKeyInfo& scratch, bool newMacroMode, int preselectedSet) = 0;
  // The media player dialog started from the profile's choice.
  virtual std::optional<int> AskMediaPlayer(int current) = 0;
};

struct AssignSlotView {
  std::string label;
  std::string tooltip;  // empty: the tooltip holds only the help text
  bool active = false;  // active or inactive picture set
};

struct ButtonAssignView {
  std::array<AssignSlotView, kButtonSlotCount> slots;
  bool rightPressed = false;  // Orientation 0
  bool leftPressed = false;   // Orientation 1
  int background = 0;         // the background picture of this Orientation
  int hoverPicture = -1;      // the hover picture shown, -1 for none
};

class ButtonAssignPage {
 public:
  // session, when given, is told when the macro manager opens and after its end has been dealt with.
  ButtonAssignPage(SettingsRecord& working, KeyboardLayout& layout, MacroStorePort& store,
                   ButtonAssignDialogs& dialogs, MacroManagerSession* session = nullptr);

  const ButtonAssignView& View() const { return view_; }

  // Labels and orientation from the edited profile; the hover picture is hidden.
  void Refresh();

  // Slots 0 and 1, and slots not available (code 0), have no menu.
  bool HasMenu(int slot) const;
  // The menu for a slot: remembers the slot for the command and copies its entry to the scratch copy.
  // Empty when the slot has no menu.
  std::vector<AssignMenuItem> OpenMenu(int slot);
  // A command of the menu opened last (1001..11199), for the profile and slot it was opened on even when the
  // record changed since; each menu takes one command. Other ids and a closed page change nothing.
  void OnCommand(int commandId);

  void OnOrientation(int orientation);
  // "Macro Manager": new-macro mode, no set preselected.
  void OnMacroManager();
  // The slot buttons' hover notification: entering or leaving, with the button's notify value.
  void OnHoverNotify(bool entering, int notifyValue);

  const AltlayerRules& altlayer() const { return altlayer_; }
  // The slot buttons' closing-click memory, which the window feeds with the clicks and the menu's closing.

 private:
  ProfileRecord* EditedProfile();
  void RefreshLabels();
  void RefreshOrientation();
  void RunMacroManager(bool newMacroMode, int preselectedSet);
  bool HasMacro(int setIndex, int macroIndex);
  // The macro must exist (HasMacro).
  void CopyMacro(MacroKeyInfo& entry, int setIndex, int macroIndex);

  SettingsRecord& working_;
  KeyboardLayout& layout_;
  MacroStorePort& store_;
  ButtonAssignDialogs& dialogs_;
  MacroManagerSession* session_;
  ButtonAssignView view_;
  AltlayerRules altlayer_;
  MacroKeyInfo scratch_{};
  int menuProfile_ = -1;
  int menuSlot_ = -1;
};

}  // namespace kavo::option
