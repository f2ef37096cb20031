#include "monitor/macro_player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "monitor/playback_keys.h"

namespace kavo::monitor {
namespace {

constexpr std::int64_t kMillisecond = 1000;
constexpr std::int64_t kLateTolerance = 500;  // µs
constexpr int kLongPress = 500;         // ms a key is held before it repeats
constexpr int kTypematicPeriod = 33;    // ms between repeats of a long press
constexpr int kStopReleaseGap = 50;     // ms between the releases of a stopped macro
constexpr int kFirstMouseCode = 240, kLastMouseCode = 244;
constexpr std::uint8_t kActionPress = 1, kActionRelease = 2;

bool IsMouseCode(int code) { return code >= kFirstMouseCode && code <= kLastMouseCode; }

MouseButton ButtonOf(int code) {
  static constexpr MouseButton kButtons[] = {MouseButton::Left, MouseButton::Right, MouseButton::Middle,
                                             MouseButton::X2, MouseButton::X1};
  return kButtons[code - kFirstMouseCode];
}

}  // namespace

void MacroPlayer::StartMacro(const MacroKeyInfo& entry) {
  if (entry.function != kFunctionMacro || entry.eventCount == 0) return;
  {
    std::lock_guard<std::mutex> hold(handOver_);
    // Entries from outside are bounded where they enter; the player bounds what it is handed all the same.
    next_.repeatCount = std::clamp<int>(entry.repeatCount, 1, kMaxRepeatCount);
    next_.eventCount = std::min<int>(entry.eventCount, kMaxMacroEvents);
    std::memcpy(next_.events, entry.events, sizeof next_.events);
  }
  if (playing_) {
    stop_ = true;
    return;
  }
  stop_ = false;
  currentAction_ = 0;
  // Playing from the moment it is asked for, so that a second press before the thread starts stops it.
  playing_ = true;
  if (!queue_.PostPlay()) playing_ = false;
}

void MacroPlayer::PlayMacro() {
  Macro macro;
  {
    std::lock_guard<std::mutex> hold(handOver_);
    macro = next_;
  }
  playing_ = true;
  held_.clear();
  timeline_.PrecisionNeeded(true);
  // However playback ends (done, stopped, an injection that threw), what the macro holds goes and the
  // next macro button works again.
  struct EndOfPlayback {
    MacroPlayer& player;
    ~EndOfPlayback() {
      try {
        player.ReleaseHeld();
      } catch (...) {
        player.held_.clear();
      }
      player.timeline_.PrecisionNeeded(false);
      player.playing_ = false;
    }
  } end{*this};
  PrepareKeys(macro);
  std::int64_t deadline = timeline_.NowMicroseconds();
  for (int pass = 0; pass < macro.repeatCount && !stop_; ++pass) {
    for (int i = 0; i < macro.eventCount && !stop_; ++i) {
      currentAction_ = i;
      deadline = PlayEvent(macro.events[i], deadline);
    }
  }
  char trace[64];
  std::snprintf(trace, sizeof trace, "g_iCurAction= %d,start=%d,end=%d\n", currentAction_.load(), 0, macro.eventCount);
  debug_.Write(trace);
}

std::int64_t MacroPlayer::PlayEvent(const MacroEvent& event, std::int64_t deadline) {
  const Action action = event.action == kActionPress     ? Action::Press
                        : event.action == kActionRelease ? Action::Release
                                                         : Action::PressWithoutWait;
  const bool mouse = IsMouseCode(event.key);
  if (!(mouse && action == Action::PressWithoutWait)) {
    NoteHeld(event.key, action);
    Send(event.key, action == Action::Release);
  }
  // An event that goes out late shortens the gap after it by no more than the tolerance: the deadlines
  // keep long macros from drifting, but a delay is never cut to catch up. It has gone out once the system
  // took it, so a slow injection (another program's input hook, the first call on a cold path) counts.
  const std::int64_t start = std::max(deadline, timeline_.NowMicroseconds() - kLateTolerance);
  const int delay = event.delay == 0 ? 1 : event.delay;
  const std::int64_t end = start + delay * kMillisecond;
  if (!mouse && action == Action::PressWithoutWait) return start;
  if (mouse || action == Action::Release || delay <= kLongPress) {
    WaitUntil(end);
    return end;
  }
  // A long press: held for a while, then repeated as a held key repeats.
  if (!WaitUntil(start + kLongPress * kMillisecond)) return end;
  for (std::int64_t repeat = start + (kLongPress + kTypematicPeriod) * kMillisecond; repeat < end;
       repeat += kTypematicPeriod * kMillisecond) {
    if (!WaitUntil(repeat)) return end;
    Send(event.key, true);
    Send(event.key, false);
  }
  WaitUntil(end);
  return end;
}

void MacroPlayer::PrepareKeys(const Macro& macro) {
  for (int i = 0; i < macro.eventCount; ++i) {
    const int code = macro.events[i].key;
    const int virtualKey = PlaybackVirtualKey(layout_, code);
    keys_[code] = {virtualKey, layout_.ScanCodeOfVirtualKey(virtualKey)};
  }
}

void MacroPlayer::Send(int keyCode, bool up) {
  if (IsMouseCode(keyCode)) {
    input_.Button(ButtonOf(keyCode), up);
  } else {
    const PreparedKey& key = keys_[static_cast<std::uint8_t>(keyCode)];
    input_.Key(key.virtualKey, key.scanCode, up, false);
  }
}

void MacroPlayer::NoteHeld(int keyCode, Action action) {
  // A key is down or up, however often it was pressed: the list holds each key once, so it stays short
  // and its release at the end takes one step per key.
  const auto held = std::find(held_.begin(), held_.end(), keyCode);
  if (action != Action::Release) {
    if (held == held_.end()) held_.push_back(keyCode);
    return;
  }
  // A release of a key the macro does not hold changes nothing.
  if (held != held_.end()) held_.erase(held);
}

void MacroPlayer::ReleaseHeld() {
  while (!held_.empty()) {
    const int keyCode = held_.back();
    held_.pop_back();
    char trace[48];
    std::snprintf(trace, sizeof trace, "g_iCurAction= %d,Map=%x\n", currentAction_.load(), keyCode);
    debug_.Write(trace);
    Send(keyCode, true);
    const std::atomic<bool> never{false};
    timeline_.WaitUntil(timeline_.NowMicroseconds() + kStopReleaseGap * kMillisecond, never);
  }
}

}  // namespace kavo::monitor
