#include "option/macros/macro_editor.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "settings/key_tables.h"

namespace kavo::option {
namespace {

constexpr int kFirstMouseButton = kMacroLeftButton;
constexpr int kLastMouseButton = kMacroSideButton2;
// The caret row is moved this far down, when the list has room around it, so the rows after it show.
constexpr int kContextRows = 2;
constexpr int kEdgeRows = 3;

std::uint32_t ItemValue(int eventIndex, std::uint32_t kind) {
  return static_cast<std::uint32_t>(eventIndex + 1) * 65536u + kind;
}

MacroEvent MakeEvent(int key, int action) {
  MacroEvent event{};
  event.key = static_cast<std::uint8_t>(key);
  event.action = static_cast<std::uint8_t>(action);
  return event;
}

}  // namespace

long ParseLeadingNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  constexpr long kCeiling = 1000000000L;  // far above every limit the editor applies
  long value = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
    value = std::min(kCeiling, value * 10 + (text[at] - '0'));
  }
  return negative ? -value : value;
}

std::optional<MouseEventCommand> MouseCommand(unsigned command) {
  if (command < kMouseEventFirst || command > kMouseEventLast) return std::nullopt;
  const int offset = static_cast<int>(command - kMouseEventFirst);
  return MouseEventCommand{kFirstMouseButton + offset / 3, offset % 3};
}

MacroEditor::MacroEditor(MacroEditorHost& host, TickClock& clock, KeyboardLayout& layout)
    : host_(host), clock_(clock), layout_(layout) {}

void MacroEditor::Select(Macro* macro, bool setSelected) {
  if (recording_) StopRecording();
  macro_ = macro;
  setSelected_ = setSelected || macro != nullptr;
  std::memset(events_, 0, sizeof(events_));
  if (macro != nullptr) {
    std::memcpy(events_, macro->events, sizeof(events_));
    count_ = std::clamp<int>(macro->eventCount, 0, kMaxMacroEvents);
    loopCount_ = macro->repeatCount;
    loopFlag_ = macro->repeatCount != 0;
  } else {
    count_ = 0;
    loopCount_ = 1;
    loopFlag_ = false;
  }
  loopCount_ = std::clamp(loopCount_, kMinLoopCount, kMaxRepeatCount);
  insertAt_ = -1;
  rememberedEvent_ = -1;
  topRow_ = -1;
  delayEdited_ = -1;
}

void MacroEditor::ShowMissingMacroNotice() {
  if (!setSelected_) {
    host_.ShowNoSetNotice();
  } else {
    host_.ShowNoMacroNotice();
  }
}

void MacroEditor::RecordButton() {
  if (macro_ == nullptr) {
    ShowMissingMacroNotice();
    return;
  }
  if (recording_) {
    StopRecording();
    return;
  }
  // The record button always records a new sequence from scratch.
  std::memset(events_, 0, sizeof(events_));
  count_ = 0;
  insertAt_ = -1;
  rememberedEvent_ = -1;
  StartRecording();
}

void MacroEditor::StartRecording() {
  recording_ = true;
  previousEvent_ = false;
  // A press repeated from the previous recording's last message is a new key stroke, not a held key.
  lastKey_.reset();
  host_.EnableControls(false);
}

void MacroEditor::StopRecording() {
  recording_ = false;
  lastTick_ = 0;
  host_.EnableControls(true);
  WriteBack();
}

void MacroEditor::KeyMessage(int virtualKey, int releaseFlag) {
  if (!recording_) return;
  const std::pair<int, int> message{virtualKey, releaseFlag};
  // A held key repeats its press message; only the first counts.
  if (lastKey_ == message) return;
  const KeyLookup key = VirtualKeyToDeviceKey(layout_, virtualKey);
  if (!key.found) return;
  const std::uint32_t now = clock_.NowMilliseconds();
  if (delayFlag_ && previousEvent_) {
    const std::uint32_t elapsed = std::min<std::uint32_t>(now - lastTick_, kMaxDelay);
    const int before = insertAt_ == -1 ? count_ - 1 : insertAt_ - 1;
    if (before >= 0 && before < count_) events_[before].delay = static_cast<std::uint16_t>(elapsed);
  }
  Insert(MakeEvent(key.code, releaseFlag != 0 ? kMacroRelease : kMacroPress));
  lastTick_ = now;
  previousEvent_ = true;
  if (count_ >= kMaxMacroEvents) {
    StopRecording();
  } else {
    WriteBack();
  }
  lastKey_ = message;
}

bool MacroEditor::Insert(MacroEvent event) {
  if (count_ >= kMaxMacroEvents) return false;
  const int at = insertAt_ == -1 ? count_ : std::clamp(insertAt_, 0, count_);
  std::memmove(&events_[at + 1], &events_[at], static_cast<std::size_t>(count_ - at) * sizeof(MacroEvent));
  events_[at] = event;
  ++count_;
  if (insertAt_ != -1) insertAt_ = at + 1;  // consecutive insertions keep their order
  rememberedEvent_ = at;
  return true;
}

int MacroEditor::EventOfRow(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return -1;
  const int index = static_cast<int>(rows_[static_cast<std::size_t>(row)].itemValue / 65536u) - 1;
  return index < count_ ? index : -1;
}

bool MacroEditor::IsDelayRow(int row) const {
  return EventOfRow(row) >= 0 && (rows_[static_cast<std::size_t>(row)].itemValue & 0xFFFFu) == kMacroRowDelay;
}

bool MacroEditor::Command(unsigned command, int row, int topRow) {
  if (macro_ == nullptr) {
    ShowMissingMacroNotice();
    return false;
  }
  if (recording_) return false;
  const int event = EventOfRow(row);
  switch (command) {
    case kStartRecordBefore:
      insertAt_ = event;
      StartRecording();
      return false;
    case kStartRecordAfter:
      insertAt_ = event == -1 ? -1 : event + 1;
      StartRecording();
      return false;
    case kInsertDelay:
      if (event >= 1 && !IsDelayRow(row) && events_[event - 1].delay == 0) {
        events_[event - 1].delay = 1;
        rememberedEvent_ = event;
        topRow_ = topRow;
        WriteBack();
      }
      return false;
    case kEditDelay:
      if (!IsDelayRow(row)) return false;
      delayEdited_ = event;
      return true;
    case kDeleteEntry:
      if (event == -1) return false;
      if (IsDelayRow(row)) {
        events_[event].delay = 0;
      } else {
        std::memmove(&events_[event], &events_[event + 1],
                     static_cast<std::size_t>(count_ - event - 1) * sizeof(MacroEvent));
        --count_;
        events_[count_] = MacroEvent{};
      }
      rememberedEvent_ = std::min(event, count_ - 1);
      topRow_ = topRow;
      WriteBack();
      return false;
    default:
      break;
  }
  const std::optional<MouseEventCommand> mouse = MouseCommand(command);
  if (!mouse) return false;
  insertAt_ = event;
  if (mouse->kind == 2 && count_ > kMaxMacroEvents - 2) return false;  // a click needs both halves
  if (mouse->kind != 1) Insert(MakeEvent(mouse->buttonCode, kMacroPress));
  if (mouse->kind != 0) Insert(MakeEvent(mouse->buttonCode, kMacroRelease));
  topRow_ = topRow;
  WriteBack();
  return false;
}

void MacroEditor::DelayEdited(std::string_view text, int topRow) {
  const int event = delayEdited_;
  delayEdited_ = -1;
  if (macro_ == nullptr || event < 0 || event >= count_) return;
  // An edited delay stays: 0 would drop the row, so only Delete removes it.
  const long value = std::clamp<long>(ParseLeadingNumber(text), 1, kMaxDelay);
  events_[event].delay = static_cast<std::uint16_t>(value);
  rememberedEvent_ = event;
  topRow_ = topRow;
  WriteBack();
}

void MacroEditor::SetLoopFlag(bool on) {
  loopFlag_ = on;
  WriteBackLoop();
}

std::optional<std::string> MacroEditor::LoopCountEdited(std::string_view text) {
  const long typed = ParseLeadingNumber(text);
  const long value = std::clamp<long>(typed, kMinLoopCount, kMaxRepeatCount);
  loopCount_ = static_cast<int>(value);
  WriteBackLoop();
  if (value == typed) return std::nullopt;
  return std::to_string(value);
}

void MacroEditor::WriteBack() {
  if (macro_ == nullptr) return;
  std::memcpy(macro_->events, events_, sizeof(events_));
  macro_->eventCount = count_;
}

void MacroEditor::WriteBackLoop() {
  if (macro_ == nullptr) return;
  macro_->repeatCount = loopFlag_ ? loopCount_ : 1;
}

MacroEditorListView MacroEditor::Refresh() {
  MacroEditorListView view;
  int rememberedRow = -1;
  for (int i = 0; i < count_; ++i) {
    const MacroEvent& event = events_[i];
    const bool press = event.action != kMacroRelease;
    const bool mouse = event.key >= kFirstMouseButton && event.key <= kLastMouseButton;
    const std::uint32_t kind = mouse ? kMacroRowMouseButton : press ? kMacroRowKeyPressed : kMacroRowKeyReleased;
    if (i == rememberedEvent_) rememberedRow = static_cast<int>(view.rows.size());
    view.rows.push_back({ItemValue(i, kind), DeviceKeyName(layout_, event.key) + (press ? " Press" : " Release")});
    if (event.delay != 0) {
      view.rows.push_back({ItemValue(i, kMacroRowDelay), std::to_string(event.delay) + " ms"});
    }
  }
  const int rowCount = static_cast<int>(view.rows.size());
  if (topRow_ != -1) {
    view.topRow = std::min(topRow_, std::max(rowCount - 1, 0));
    topRow_ = -1;
  }
  if (rowCount > 0) {
    view.caretRow = rememberedRow >= 0 && rememberedRow < rowCount ? rememberedRow : rowCount - 1;
    view.visibleRow = view.caretRow;
    if (view.caretRow > kEdgeRows && rowCount - 1 - view.caretRow > kEdgeRows) view.visibleRow += kContextRows;
  }
  rows_ = view.rows;
  return view;
}

}  // namespace kavo::option
