#pragma once
// The macro manager's decisions: which set and macro are selected, the set menu, adding and deleting
// sets and macros, renaming, which editor view shows, and how the dialog ends. It edits the library in
// place; the caller saves it after OK and reloads it otherwise (FinishMacroManager).
#include <string>
#include <string_view>
#include <vector>

#include "option/macros/macro_manager_ports.h"
#include "settings/settings_record.h"

namespace kavo::option {

constexpr int kMacroSetCommandBase = 2000;  // + set index
constexpr int kAddMacroSetCommand = 2998;
constexpr int kDeleteMacroSetCommand = 2999;
constexpr int kMacroSetMenuWidth = 176;
constexpr int kFirstSetTimerId = 2000;      // an empty library asks for a first set name at once
constexpr int kFirstSetTimerMs = 100;
constexpr int kMacroManagerOk = 1;
constexpr int kMacroManagerCancel = 2;

struct MacroSetMenuEntry {
  bool separator;
  int id;
  std::string text;
  bool highlighted;  // the set that the button's own macro belongs to
};

class MacroManager {
 public:
  // slot: the scratch copy of the button entry whose menu opened the manager. newMacroMode starts with
  // no set selected; preselectedSet is the set of "Edit Macro..." or -1.
  MacroManager(MacroStorePort& store, MacroManagerDialogs& dialogs, MacroManagerView& view,
               const MacroKeyInfo& slot, bool newMacroMode, int preselectedSet);

  // Chooses and shows the first selection. True when the library is empty: the caller then starts the
  // first-set timer, whose expiry calls OnFirstSetTimer.
  bool Initialise();
  void OnFirstSetTimer() { AddSet(); }

  void SelectSet(int index);
  std::vector<MacroSetMenuEntry> SetMenu() const;
  void OnSetMenuCommand(int id);
  void AddSet();
  void DeleteSet();

  void NewMacro();
  // The list's in-place edit ended with text: on the new row (1524) or on an existing one (1526).
  void OnNewRowNamed(int row, std::string_view text);
  void OnRowRenamed(int row, std::string_view text);
  void DeleteMacro();
  void OnListSelection(int row);

  void SwitchEditor();
  int OnOk();
  int OnCancel() { return kMacroManagerCancel; }

  int selectedSet() const { return selectedSet_; }
  int selectedMacro() const { return selectedMacro_; }
  MacroEditorView editor() const { return editor_; }

 private:
  MacroSet* CurrentSet() const;
  std::vector<std::string> RowNames() const;
  int PreselectedRow(const MacroSet& set) const;
  int DuplicateRow(std::string_view text, int except) const;
  // Before the editor views show another macro: the timeline keeps its bars only until then.
  void LeaveMacro();

  MacroStorePort& store_;
  MacroManagerDialogs& dialogs_;
  MacroManagerView& view_;
  const MacroKeyInfo& slot_;
  bool newMacroMode_;
  int preselectedSet_;
  int selectedSet_ = -1;
  int selectedMacro_ = -1;
  MacroEditorView editor_ = MacroEditorView::kList;
};

// After the dialog: OK saves the library; anything else clears it and reloads it from its file.
void FinishMacroManager(int endCode, MacroStorePort& store);

}  // namespace kavo::option
