#include "option/macros/macro_timeline.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kavo::option {

namespace {

struct OpenPress {
  int key;
  int time;
  int order;  // index of the press among the events, so bars come out in the order of their presses
};

struct TimedEvent {
  MacroEvent event;
  std::int64_t time;
};

}  // namespace

void MacroTimeline::Load(const Macro* macro) {
  bars_.clear();
  selected_ = -1;
  pending_ = -1;
  grip_ = BarGrip::kNone;
  start_ = 0;
  topRow_ = 0;
  whole_ = true;
  edited_ = false;
  if (!macro) return;

  const int count = std::clamp(static_cast<int>(macro->eventCount), 0, kMaxMacroEvents);
  std::vector<OpenPress> open;
  std::vector<std::pair<int, KeyBar>> paired;  // (press order, bar)
  int time = 0;
  for (int i = 0; i < count; ++i) {
    const MacroEvent& event = macro->events[i];
    if (event.action == kMacroPress) {
      open.push_back({event.key, time, i});
    } else if (event.action == kMacroRelease) {
      // The most recent open press of the same key: a key held across another's stroke still pairs.
      for (auto it = open.rbegin(); it != open.rend(); ++it) {
        if (it->key != event.key) continue;
        paired.push_back({it->order, KeyBar{it->key, it->time, time}});
        open.erase(std::next(it).base());
        break;
      }
    }
    time += event.delay;
  }
  std::stable_sort(paired.begin(), paired.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [order, bar] : paired) {
    if (static_cast<int>(bars_.size()) == kMaxKeyBars) break;
    bars_.push_back(bar);
  }
  // Whatever the bars would write must be the macro itself, else an edit here would drop the rest.
  Macro rewritten{};
  WriteBars(rewritten);
  whole_ = macro->eventCount >= 0 && macro->eventCount <= kMaxMacroEvents &&
           rewritten.eventCount == macro->eventCount &&
           std::equal(macro->events, macro->events + count, rewritten.events,
                      [](const MacroEvent& a, const MacroEvent& b) {
                        return a.key == b.key && a.action == b.action && a.delay == b.delay;
                      });
  ClampScroll();
}

bool MacroTimeline::WriteBack(Macro& macro) const {
  if (!edited_ || !whole_) return false;
  WriteBars(macro);
  return true;
}

void MacroTimeline::WriteBars(Macro& macro) const {
  std::vector<TimedEvent> events;
  events.reserve(bars_.size() * 2);
  for (const KeyBar& bar : bars_) {
    // A bar still waiting for its key has nothing to play.
    if (bar.key == kKeyUnset) continue;
    const auto key = static_cast<std::uint8_t>(bar.key);
    events.push_back({MacroEvent{key, kMacroPress, 0}, bar.press});
    events.push_back({MacroEvent{key, kMacroRelease, 0}, bar.release});
  }
  // Stable: events of equal times keep the bar order, so a bar's press stays ahead of its own release when
  // both fall on the same millisecond.
  std::stable_sort(events.begin(), events.end(),
                   [](const TimedEvent& a, const TimedEvent& b) { return a.time < b.time; });
  std::memset(macro.events, 0, sizeof(macro.events));
  const std::size_t count = std::min<std::size_t>(events.size(), kMaxMacroEvents);
  for (std::size_t i = 0; i < count; ++i) {
    MacroEvent event = events[i].event;
    if (i + 1 < count) {
      const std::int64_t gap = events[i + 1].time - events[i].time;
      event.delay = static_cast<std::uint16_t>(std::min<std::int64_t>(gap, kMaxBarTime));
    }
    macro.events[i] = event;
  }
  macro.eventCount = static_cast<std::int32_t>(count);
}

void MacroTimeline::Select(int bar) {
  selected_ = bar >= 0 && bar < static_cast<int>(bars_.size()) ? bar : -1;
}

bool MacroTimeline::Add() {
  if (!whole_ || static_cast<int>(bars_.size()) >= kMaxKeyBars) return false;
  edited_ = true;
  if (selected_ >= 0) {
    const KeyBar& at = bars_[static_cast<std::size_t>(selected_)];
    const KeyBar bar{kKeyUnset, at.press, at.release};
    bars_.insert(bars_.begin() + selected_, bar);
    pending_ = selected_;
  } else {
    const KeyBar bar = bars_.empty() ? KeyBar{kKeyUnset, 0, 0}
                                     : KeyBar{kKeyUnset, bars_.back().press, bars_.back().release};
    bars_.push_back(bar);
    pending_ = static_cast<int>(bars_.size()) - 1;
  }
  selected_ = pending_;
  ClampScroll();
  return true;
}

bool MacroTimeline::SetCapturedKey(bool hasDeviceCode, int deviceKey) {
  if (pending_ < 0 || !hasDeviceCode) return false;
  bars_[static_cast<std::size_t>(pending_)].key = deviceKey;
  pending_ = -1;
  return true;
}

bool MacroTimeline::DeleteSelected() {
  if (!whole_ || selected_ < 0) return false;
  edited_ = true;
  bars_.erase(bars_.begin() + selected_);
  if (pending_ == selected_) pending_ = -1;
  if (pending_ > selected_) --pending_;
  if (selected_ >= static_cast<int>(bars_.size())) selected_ = static_cast<int>(bars_.size()) - 1;
  grip_ = BarGrip::kNone;
  ClampScroll();
  return true;
}

int MacroTimeline::SnapSpan(int span) {
  static constexpr std::pair<int, int> kSteps[] = {{15, 10},   {30, 25},   {50, 45},    {100, 90},
                                                   {200, 187}, {500, 375}, {1000, 750}, {2000, 1500}};
  for (const auto& [below, step] : kSteps) {
    if (span < below) return step;
  }
  return span;
}

void MacroTimeline::ZoomIn() {
  span_ = SnapSpan(span_ / 2);
  ClampScroll();
}

void MacroTimeline::ZoomOut() {
  const int before = span_;
  span_ = SnapSpan(std::min(span_ * 2, kMaxTimelineSpan));
  if (span_ > before) {
    if (start_ + span_ > kMaxTimelineSpan) start_ = std::max(0, kMaxTimelineSpan - span_);
    const bool allEndBefore = std::all_of(bars_.begin(), bars_.end(),
                                          [this](const KeyBar& bar) { return bar.release < span_; });
    if (allEndBefore) start_ = 0;
  }
  ClampScroll();
}

int MacroTimeline::LatestTime() const {
  int latest = 0;
  for (const KeyBar& bar : bars_) latest = std::max({latest, bar.press, bar.release});
  return latest;
}

TimelineScroll MacroTimeline::RowScroll() const {
  return {std::max(kTimelineRows, static_cast<int>(bars_.size())), kTimelineRows, topRow_};
}

TimelineScroll MacroTimeline::TimeScroll() const {
  return {std::max(span_, LatestTime()), span_, start_};
}

void MacroTimeline::ScrollRowsTo(int top) {
  topRow_ = std::clamp(top, 0, std::max(0, static_cast<int>(bars_.size()) - kTimelineRows));
}

void MacroTimeline::ScrollTimeTo(int start) {
  start_ = std::clamp(start, 0, std::max(0, LatestTime() - span_));
}

void MacroTimeline::ClampScroll() {
  ScrollRowsTo(topRow_);
  ScrollTimeTo(start_);
}

int MacroTimeline::TimeToX(int time, int width) const {
  return static_cast<int>(static_cast<std::int64_t>(time - start_) * width / span_);
}

std::vector<TimelineRow> MacroTimeline::Rows(int width) const {
  std::vector<TimelineRow> rows;
  const int end = start_ + span_;
  for (int r = 0; r < kTimelineRows; ++r) {
    const int index = topRow_ + r;
    if (index >= static_cast<int>(bars_.size())) break;
    const KeyBar& bar = bars_[static_cast<std::size_t>(index)];
    TimelineRow row{};
    row.bar = index;
    row.key = bar.key;
    row.selected = index == selected_;
    row.barShown = bar.release >= start_ && bar.press <= end;
    if (row.barShown) {
      row.pressInside = bar.press >= start_;
      row.releaseInside = bar.release <= end;
      row.left = row.pressInside ? TimeToX(bar.press, width) : 0;
      row.right = row.releaseInside ? TimeToX(bar.release, width) : width;
    }
    rows.push_back(row);
  }
  return rows;
}

BarGrip MacroTimeline::HitTest(int visibleRow, int x, int width) const {
  if (visibleRow < 0 || visibleRow >= kTimelineRows || width <= 0) return BarGrip::kNone;
  const std::vector<TimelineRow> rows = Rows(width);
  if (visibleRow >= static_cast<int>(rows.size())) return BarGrip::kNone;
  const TimelineRow& row = rows[static_cast<std::size_t>(visibleRow)];
  if (!row.barShown) return BarGrip::kNone;
  // The release end first: a bar of no length then grows to the right, the only way it can.
  if (row.releaseInside && std::abs(x - row.right) <= kBarEdgeGrip) return BarGrip::kRelease;
  if (row.pressInside && std::abs(x - row.left) <= kBarEdgeGrip) return BarGrip::kPress;
  if (x >= row.left && x <= row.right) return BarGrip::kWhole;
  return BarGrip::kNone;
}

bool MacroTimeline::BeginDrag(int visibleRow, int x, int width) {
  grip_ = BarGrip::kNone;
  if (visibleRow < 0 || visibleRow >= kTimelineRows) return false;
  Select(topRow_ + visibleRow);
  if (!whole_ || selected_ < 0 || pending_ >= 0) return false;
  grip_ = HitTest(visibleRow, x, width);
  if (grip_ == BarGrip::kNone) return false;
  dragWidth_ = width;
  dragX_ = x;
  dragFrom_ = bars_[static_cast<std::size_t>(selected_)];
  return true;
}

bool MacroTimeline::DragTo(int x) {
  if (grip_ == BarGrip::kNone || selected_ < 0) return false;
  const auto delta = static_cast<int>(static_cast<std::int64_t>(x - dragX_) * span_ / dragWidth_);
  KeyBar bar = dragFrom_;
  switch (grip_) {
    case BarGrip::kPress:
      bar.press = std::clamp(dragFrom_.press + delta, 0, dragFrom_.release);
      break;
    case BarGrip::kRelease:
      bar.release = std::clamp(dragFrom_.release + delta, dragFrom_.press, std::max(dragFrom_.press, kMaxBarTime));
      break;
    case BarGrip::kWhole: {
      const int lowest = -dragFrom_.press;
      const int highest = std::max(0, kMaxBarTime - dragFrom_.release);
      const int moved = std::clamp(delta, lowest, highest);
      bar.press += moved;
      bar.release += moved;
      break;
    }
    case BarGrip::kNone:
      break;
  }
  KeyBar& current = bars_[static_cast<std::size_t>(selected_)];
  if (current == bar) return false;
  current = bar;
  edited_ = true;
  return true;
}

}  // namespace kavo::option
