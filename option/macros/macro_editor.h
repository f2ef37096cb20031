#pragma once
// The macro editor's model: the event list of the one Macro being edited and every decision of the list
// editor in the macro manager. It records key strokes (with or without the time between them), inserts
// mouse button events and delays, edits and deletes entries, keeps the repeat count, and turns the events
// into the rows of the key-sequence list. Every change is written straight into the selected Macro; the
// manager decides on OK or Cancel whether the store keeps it.
//
// The window feeds it the hook's key messages, its buttons and its list commands, then shows Refresh().
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "option/common/tick_clock.h"
#include "option/macros/macro.h"
#include "settings/keyboard_layout.h"

namespace kavo::option {

// Row kinds of the key-sequence list; the low 16 bits of a row's item value, so also the id of the row's
// picture.
constexpr std::uint32_t kMacroRowDelay = 0x87;
constexpr std::uint32_t kMacroRowKeyReleased = 0x89;
constexpr std::uint32_t kMacroRowKeyPressed = 0x8A;
constexpr std::uint32_t kMacroRowMouseButton = 0x92;

// Commands of the editor's context menu.
enum MacroEditorCommand : unsigned {
  kStartRecordBefore = 1001,
  kStartRecordAfter = 1002,
  kInsertDelay = 1003,
  kEditDelay = 1004,
  kDeleteEntry = 1005,
  kMouseEventFirst = 1020,  // Down, Up, Click per button: left, right, wheel, side 1, side 2
  kMouseEventLast = 1034,
};

constexpr int kMinLoopCount = 1;
constexpr int kMaxDelay = 65535;

// What the editor needs of the macro manager that hosts it.
class MacroEditorHost {
 public:
  virtual ~MacroEditorHost() = default;
  // Off while recording, so the manager cannot be closed or switch macros in the middle of it.
  virtual void EnableControls(bool enabled) = 0;
  // An action needs a macro: no set is selected, or the set has no selected macro.
  virtual void ShowNoSetNotice() = 0;
  virtual void ShowNoMacroNotice() = 0;
};

struct MacroEditorRow {
  std::uint32_t itemValue;  // (event index + 1) * 65536 + row kind
  std::string text;
};

// The list as it should look after a change.
struct MacroEditorListView {
  std::vector<MacroEditorRow> rows;
  int topRow = -1;      // scroll this row to the top (the list keeps its position); -1: use caretRow
  int caretRow = -1;    // row to select; -1 when the list is empty
  int visibleRow = -1;  // row to bring into view, a little below the caret so context shows
};

class MacroEditor {
 public:
  MacroEditor(MacroEditorHost& host, TickClock& clock, KeyboardLayout& layout);

  // The macro to edit (null: none) and whether a set is selected, for the notice an action then shows.
  // Loads the events, the count and the loop state; stops a recording first.
  void Select(Macro* macro, bool setSelected);

  // The record button: starts a new recording from scratch, or stops the running one.
  void RecordButton();
  // A key message of the hook: virtual key and 0x80 for a release, 0 for a press.
  void KeyMessage(int virtualKey, int releaseFlag);
  // A context menu command on a list row (-1 for none). topRow is the list's current scroll position,
  // kept where the command says so. Returns true when the command opens the in-place delay edit.
  bool Command(unsigned command, int row, int topRow);
  // The in-place delay edit ended with text.
  void DelayEdited(std::string_view text, int topRow);
  void SetDelayFlag(bool on) { delayFlag_ = on; }
  void SetLoopFlag(bool on);
  // The loop count edit lost the focus with text; the text to show instead when it was corrected.
  std::optional<std::string> LoopCountEdited(std::string_view text);

  // The rows and where the list should stand; consumes the remembered scroll position.
  MacroEditorListView Refresh();

  bool recording() const { return recording_; }
  bool delayFlag() const { return delayFlag_; }
  bool loopFlag() const { return loopFlag_; }
  int loopCount() const { return loopCount_; }
  int eventCount() const { return count_; }
  const MacroEvent& event(int index) const { return events_[index]; }
  bool hasMacro() const { return macro_ != nullptr; }

 private:
  void StartRecording();
  void StopRecording();
  bool Insert(MacroEvent event);
  void WriteBack();
  void WriteBackLoop();
  // The event index of a row of the last refresh; -1 for none.
  int EventOfRow(int row) const;
  bool IsDelayRow(int row) const;
  void ShowMissingMacroNotice();

  MacroEditorHost& host_;
  TickClock& clock_;
  KeyboardLayout& layout_;
  Macro* macro_ = nullptr;
  bool setSelected_ = false;
  MacroEvent events_[kMaxMacroEvents] = {};
  int count_ = 0;
  bool loopFlag_ = false;
  int loopCount_ = 1;
  bool delayFlag_ = false;
  bool recording_ = false;
  bool previousEvent_ = false;
  std::uint32_t lastTick_ = 0;
  int insertAt_ = -1;
  std::optional<std::pair<int, int>> lastKey_;  // virtual key and release flag of the last key message
  int rememberedEvent_ = -1;
  int topRow_ = -1;
  int delayEdited_ = -1;
  std::vector<MacroEditorRow> rows_;  // as last refreshed, to map rows back to events
};

// The mouse button and the kind of event a context menu command inserts; none for other commands.
struct MouseEventCommand {
  int buttonCode;
  int kind;  // 0 Down, 1 Up, 2 Click
};
std::optional<MouseEventCommand> MouseCommand(unsigned command);

// A number as the edits give it: leading blanks, an optional sign, digits up to the first other character;
// saturates instead of overflowing. 0 when there are no digits.
long ParseLeadingNumber(std::string_view text);

}  // namespace kavo::option
