#include "option/macros/macro_manager.h"

#include <algorithm>
#include <memory>

#include "option/macros/macro_store.h"
#include "settings/bounded_text.h"

namespace kavo::option {

MacroManager::MacroManager(MacroStorePort& store, MacroManagerDialogs& dialogs, MacroManagerView& view,
                           const MacroKeyInfo& slot, bool newMacroMode, int preselectedSet)
    : store_(store),
      dialogs_(dialogs),
      view_(view),
      slot_(slot),
      newMacroMode_(newMacroMode),
      preselectedSet_(preselectedSet) {}

bool MacroManager::Initialise() {
  const bool empty = store_.SetCount() == 0;
  int set = -1;
  if (!empty && !newMacroMode_) {
    set = store_.FindSet(FieldText(slot_.macroSetName));
    if (set < 0) set = preselectedSet_;
  }
  SelectSet(set);
  return empty;
}

MacroSet* MacroManager::CurrentSet() const {
  return selectedSet_ >= 0 ? store_.SetAt(selectedSet_) : nullptr;
}

std::vector<std::string> MacroManager::RowNames() const {
  std::vector<std::string> names;
  if (const MacroSet* set = CurrentSet()) {
    for (const auto& macro : set->macros) names.push_back(FieldText(macro->name));
  }
  return names;
}

int MacroManager::PreselectedRow(const MacroSet& set) const {
  const int rows = static_cast<int>(set.macros.size());
  if (rows == 0) return -1;
  if (slot_.function != kFunctionMacro || !SameName(FieldText(slot_.macroSetName), set.name)) return 0;
  // The list's prefix search starts after its first row and wraps around to it.
  const std::string prefix = FieldText(slot_.macroName);
  for (int step = 1; step <= rows; ++step) {
    const int row = step % rows;
    if (NameStartsWith(FieldText(set.macros[static_cast<std::size_t>(row)]->name), prefix)) return row;
  }
  return 0;
}

void MacroManager::SelectSet(int index) {
  selectedSet_ = store_.SetAt(index) ? index : -1;
  const MacroSet* set = CurrentSet();
  selectedMacro_ = set ? PreselectedRow(*set) : -1;
  view_.ShowSetName(set ? set->name : std::string());
  view_.ShowMacroNames(RowNames(), selectedMacro_);
  view_.ShowSelection(selectedSet_, selectedMacro_);
}

std::vector<MacroSetMenuEntry> MacroManager::SetMenu() const {
  std::vector<MacroSetMenuEntry> menu;
  const int count = store_.SetCount();
  const bool slotHasMacro = slot_.function == kFunctionMacro;
  const std::string slotSet = FieldText(slot_.macroSetName);
  for (int k = 0; k < count; ++k) {
    const MacroSet* set = store_.SetAt(k);
    if (!set) continue;
    menu.push_back({false, kMacroSetCommandBase + k, set->name, slotHasMacro && SameName(slotSet, set->name)});
    if (SeparatorAfterSet(set->name, k, count)) menu.push_back({true, 0, {}, false});
  }
  menu.push_back({true, 0, {}, false});
  menu.push_back({false, kAddMacroSetCommand, "[+]Add Macro Set", false});
  menu.push_back({false, kDeleteMacroSetCommand, "[x]Delete Macro Set", false});
  return menu;
}

void MacroManager::OnSetMenuCommand(int id) {
  if (id == kAddMacroSetCommand) {
    AddSet();
  } else if (id == kDeleteMacroSetCommand) {
    DeleteSet();
  } else if (id >= kMacroSetCommandBase && id < kMacroSetCommandBase + store_.SetCount()) {
    LeaveMacro();
    SelectSet(id - kMacroSetCommandBase);
  }
}

void MacroManager::AddSet() {
  const std::optional<std::string> answer = dialogs_.AskSetName();
  if (!answer || store_.SetCount() >= kMaxMacroSets) return;
  const std::string_view name = TrimmedName(*answer);
  if (!UsableSetName(name) || store_.FindSet(name) >= 0) return;
  LeaveMacro();
  store_.AppendSet(name);
  SelectSet(store_.SetCount() - 1);
}

void MacroManager::DeleteSet() {
  if (selectedSet_ < 0) {
    dialogs_.Notify(MacroNotice::kNoSet);
    return;
  }
  if (!dialogs_.Confirm(MacroQuestion::kDeleteSet)) return;
  // The editor views lose their macro with the set: nothing to write back.
  store_.DeleteSet(selectedSet_);
  const int count = store_.SetCount();
  SelectSet(std::min(selectedSet_, count - 1));
}

void MacroManager::NewMacro() {
  const MacroSet* set = CurrentSet();
  if (set && static_cast<int>(set->macros.size()) >= kMaxMacrosPerSet) return;
  if (!set) {
    dialogs_.Notify(MacroNotice::kNoSet);
    return;
  }
  view_.BeginNewRow();
}

int MacroManager::DuplicateRow(std::string_view text, int except) const {
  const MacroSet* set = CurrentSet();
  if (!set) return -1;
  for (std::size_t i = 0; i < set->macros.size(); ++i) {
    if (static_cast<int>(i) != except && SameName(FieldText(set->macros[i]->name), text)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void MacroManager::OnNewRowNamed(int row, std::string_view text) {
  MacroSet* set = CurrentSet();
  if (!set) return;
  const int rows = static_cast<int>(set->macros.size());
  if (DuplicateRow(text, -1) >= 0 || rows >= kMaxMacrosPerSet) {
    view_.RemoveRow(row);
    selectedMacro_ = std::min(selectedMacro_, rows - 1);
    view_.ShowSelection(selectedSet_, selectedMacro_);
    view_.SelectRow(selectedMacro_);
    return;
  }
  LeaveMacro();
  auto macro = std::make_unique<Macro>();  // value-initialised: zero-filled, never edited
  CopyBounded(macro->name, text);
  set->macros.push_back(std::move(macro));
  selectedMacro_ = rows;
  view_.ShowSelection(selectedSet_, selectedMacro_);
}

void MacroManager::OnRowRenamed(int row, std::string_view text) {
  MacroSet* set = CurrentSet();
  if (!set || row < 0 || row >= static_cast<int>(set->macros.size())) return;
  Macro& macro = *set->macros[static_cast<std::size_t>(row)];
  if (DuplicateRow(text, row) >= 0) {
    view_.SetRowText(row, FieldText(macro.name));
    view_.SelectRow(selectedMacro_);
    return;
  }
  CopyBounded(macro.name, text);
}

void MacroManager::DeleteMacro() {
  MacroSet* set = CurrentSet();
  if (!set || selectedMacro_ < 0 || selectedMacro_ >= static_cast<int>(set->macros.size())) {
    dialogs_.Notify(MacroNotice::kNoSelection);
    return;
  }
  if (!dialogs_.Confirm(MacroQuestion::kDeleteMacro)) return;
  set->macros.erase(set->macros.begin() + selectedMacro_);
  selectedMacro_ = std::min(selectedMacro_, static_cast<int>(set->macros.size()) - 1);
  view_.ShowMacroNames(RowNames(), selectedMacro_);
  view_.ShowSelection(selectedSet_, selectedMacro_);
}

void MacroManager::OnListSelection(int row) {
  LeaveMacro();
  const MacroSet* set = CurrentSet();
  selectedMacro_ = set && row >= 0 && row < static_cast<int>(set->macros.size()) ? row : -1;
  view_.ShowSelection(selectedSet_, selectedMacro_);
}

void MacroManager::SwitchEditor() {
  LeaveMacro();
  editor_ = editor_ == MacroEditorView::kList ? MacroEditorView::kTimeline : MacroEditorView::kList;
  view_.ShowEditor(editor_);
  view_.ShowSelection(selectedSet_, selectedMacro_);
}

int MacroManager::OnOk() {
  LeaveMacro();
  return kMacroManagerOk;
}

void MacroManager::LeaveMacro() {
  if (editor_ == MacroEditorView::kTimeline) view_.WriteBackTimeline();
}

void FinishMacroManager(int endCode, MacroStorePort& store) {
  if (endCode == kMacroManagerOk) {
    store.Save();
    return;
  }
  store.Clear();
  store.Load();
}

}  // namespace kavo::option
