#pragma once
// The macro manager's timeline view: a macro shown as one bar per key stroke on a time axis. Presses and
// releases are paired into bars on load and turned back into events on write-back; the view scrolls over
// rows and time, zooms in fixed steps, adds a bar whose key is captured next, and lets a bar be dragged.
#include <cstdint>
#include <vector>

#include "option/macros/macro.h"

namespace kavo::option {

constexpr int kMaxKeyBars = 250;              // two events per bar fill the macro's 500 slots
constexpr int kKeyUnset = -1;                 // a bar added by the user until its key arrives
constexpr int kMaxBarTime = 65535;            // the events' 16-bit delay field carries the differences
constexpr int kMaxTimelineSpan = 48000;
constexpr int kInitialTimelineSpan = 3000;
constexpr int kTimelineRows = 19;
constexpr int kBarEdgeGrip = 3;               // pixels either side of a bar end that take that end

// Times are milliseconds from the start of the macro.
struct KeyBar {
  std::int32_t key;
  std::int32_t press;
  std::int32_t release;
  bool operator==(const KeyBar& other) const {
    return key == other.key && press == other.press && release == other.release;
  }
};

struct TimelineScroll {
  int range;  // the scroll bar runs over 0..range
  int page;
  int position;
};

// One visible row as the control paints it.
struct TimelineRow {
  int bar;            // index into bars()
  int key;            // device key code, kKeyUnset when not set yet
  bool selected;
  bool barShown;      // false when the whole bar lies outside the time window
  int left;           // bar pixels inside the bar area, ends cut at its edges
  int right;
  bool pressInside;   // which ends lie inside the window, so the row draws only those
  bool releaseInside;
};

enum class BarGrip { kNone, kPress, kRelease, kWhole };

class MacroTimeline {
 public:
  // Pairs the macro's presses and releases into bars; none (no macro) gives an empty view.
  void Load(const Macro* macro);
  // Puts the bars into the macro only when the user changed them since Load: leaving the view without
  // an edit leaves the macro byte for byte as it was. True when the macro was written.
  bool WriteBack(Macro& macro) const;
  // Turns the bars into press and release events sorted by time, with delays as differences.
  void WriteBars(Macro& macro) const;

  // False when the bars cannot give the loaded macro back as it is (an unpaired press or release, a
  // delay after the last event, more than kMaxKeyBars strokes, events in an order the bars do not keep):
  // such a macro is shown but the bars take no edits, so nothing of it is lost.
  bool representsWhole() const { return whole_; }
  bool edited() const { return edited_; }

  const std::vector<KeyBar>& bars() const { return bars_; }
  int selected() const { return selected_; }
  void Select(int bar);  // -1 or out of range clears the selection

  // False when the view is full or shows a macro it cannot represent whole. Otherwise inserts a bar with
  // no key yet and waits for one.
  bool Add();
  bool waitingForKey() const { return pending_ >= 0; }
  // A captured key while waiting: false (and the wait goes on) for a key without a device code.
  bool SetCapturedKey(bool hasDeviceCode, int deviceKey);
  // False when no bar is selected or the macro is not represented whole.
  bool DeleteSelected();

  int span() const { return span_; }
  int start() const { return start_; }
  void ZoomIn();
  void ZoomOut();
  // The span after a zoom: small spans snap to fixed steps.
  static int SnapSpan(int span);

  int topRow() const { return topRow_; }
  TimelineScroll RowScroll() const;
  TimelineScroll TimeScroll() const;
  void ScrollRowsTo(int top);
  void ScrollTimeTo(int start);

  // The visible rows for a bar area of width pixels.
  std::vector<TimelineRow> Rows(int width) const;

  // Which part of a bar lies under x in a visible row (0-based from the top row).
  BarGrip HitTest(int visibleRow, int x, int width) const;
  // A button press on a visible row selects its bar and, over the bar, starts dragging that part (not in
  // a macro that is not represented whole). True when a drag started.
  bool BeginDrag(int visibleRow, int x, int width);
  // Moves the dragged part by the pixels since the press, clamped to 0..kMaxBarTime with the press
  // never after the release. True when the bar changed.
  bool DragTo(int x);
  void EndDrag() { grip_ = BarGrip::kNone; }
  bool dragging() const { return grip_ != BarGrip::kNone; }

 private:
  int LatestTime() const;
  int TimeToX(int time, int width) const;
  void ClampScroll();

  std::vector<KeyBar> bars_;
  bool whole_ = true;
  bool edited_ = false;
  int selected_ = -1;
  int pending_ = -1;
  int span_ = kInitialTimelineSpan;
  int start_ = 0;
  int topRow_ = 0;

  BarGrip grip_ = BarGrip::kNone;
  int dragWidth_ = 1;
  int dragX_ = 0;
  KeyBar dragFrom_{};
};

}  // namespace kavo::option
