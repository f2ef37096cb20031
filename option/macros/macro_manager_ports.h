#pragma once
// What the macro manager needs around it: the macro library it edits in place, the small dialogs and
// notices it shows, and the views it drives (set selector, macro name list, the two editor views).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "option/macros/macro.h"
#include "settings/settings_record.h"

namespace kavo::option {

// The program-wide macro library. A set owns its macros, so the manager edits a set's list directly.
class MacroStorePort {
 public:
  virtual ~MacroStorePort() = default;
  virtual int SetCount() const = 0;
  // None when the index is out of range.
  virtual MacroSet* SetAt(int index) = 0;
  // Index of the first set whose trimmed name equals name, case-insensitive; -1 when none.
  virtual int FindSet(std::string_view name) const = 0;
  virtual void AppendSet(std::string_view name) = 0;
  virtual void DeleteSet(int index) = 0;
  // Closing the manager: OK saves the library, anything else drops every edit by reloading the file.
  virtual void Save() = 0;
  virtual void Clear() = 0;
  virtual void Load() = 0;
};

enum class MacroNotice { kNoSet, kNoMacro, kNoSelection };
enum class MacroQuestion { kDeleteSet, kDeleteMacro };

class MacroManagerDialogs {
 public:
  virtual ~MacroManagerDialogs() = default;
  // The set name dialog: the accepted (non-empty) text, or none when cancelled.
  virtual std::optional<std::string> AskSetName() = 0;
  virtual bool Confirm(MacroQuestion question) = 0;
  virtual void Notify(MacroNotice notice) = 0;
};

enum class MacroEditorView { kList, kTimeline };

class MacroManagerView {
 public:
  virtual ~MacroManagerView() = default;
  virtual void ShowSetName(const std::string& name) = 0;
  // Replaces the macro name list's rows and selects one (-1 for none).
  virtual void ShowMacroNames(const std::vector<std::string>& names, int selectedRow) = 0;
  virtual void SelectRow(int row) = 0;
  // Appends an empty row, scrolls it into view and opens the in-place edit on it.
  virtual void BeginNewRow() = 0;
  // Puts a row's text back, after a refused rename.
  virtual void SetRowText(int row, const std::string& text) = 0;
  // Removes a row from the list (a refused new name).
  virtual void RemoveRow(int row) = 0;
  // Tells both editor views which set and macro are selected; the shown one reloads it.
  virtual void ShowSelection(int set, int macro) = 0;
  // The timeline's bars into the selected macro, before anything else is shown in it.
  virtual void WriteBackTimeline() = 0;
  virtual void ShowEditor(MacroEditorView view) = 0;
};

// Told when the macro manager opens, and once its end has been dealt with (library saved or reloaded, the
// buttons given its changes), with the working record as it then is.
class MacroManagerSession {
 public:
  virtual ~MacroManagerSession() = default;
  virtual void Opened() = 0;
  virtual void Closed(const SettingsRecord& working) = 0;
};

}  // namespace kavo::option
