#pragma once
// Macros of the buttons: the window thread hands a button's macro over whole, the macro thread plays it
// against the time line, each event at its absolute deadline (start plus the delays before it), so that
// no error adds up over a long macro. A macro button pressed while one plays only stops the playing one.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "monitor/debug_output.h"
#include "monitor/input_sink.h"
#include "monitor/timeline.h"
#include "settings/keyboard_layout.h"
#include "settings/settings_record.h"

namespace kavo::monitor {

// The macro thread's queue.
class MacroQueue {
 public:
  virtual ~MacroQueue() = default;
  virtual bool PostPlay() = 0;  // false when the thread is not there
};

class MacroPlayer {
 public:
  MacroPlayer(InputSink& input, KeyboardLayout& layout, Timeline& timeline, DebugOutput& debug, MacroQueue& queue)
      : input_(input), layout_(layout), timeline_(timeline), debug_(debug), queue_(queue) {}

  // Window thread: starts the entry's macro, or stops the one playing. Entries without events do nothing.
  void StartMacro(const MacroKeyInfo& entry);
  // Macro thread: plays the macro handed over last.
  void PlayMacro();
  // Asks a playing macro to stop; it lets go of what it holds.
  void Stop() { stop_ = true; }
  bool playing() const { return playing_; }
  int currentAction() const { return currentAction_; }

 private:
  struct Macro {
    int repeatCount = 1;
    int eventCount = 0;
    MacroEvent events[kMaxMacroEvents] = {};
  };
  enum class Action { Press, Release, PressWithoutWait };

  // Plays one event from its deadline on; returns the next event's deadline.
  std::int64_t PlayEvent(const MacroEvent& event, std::int64_t deadline);
  // The macro's keys looked up before it starts: the first look-up on a thread can take many
  // milliseconds, which would otherwise land inside the first delay.
  void PrepareKeys(const Macro& macro);
  void Send(int keyCode, bool up);
  void NoteHeld(int keyCode, Action action);
  void ReleaseHeld();
  bool WaitUntil(std::int64_t deadline) { return timeline_.WaitUntil(deadline, stop_); }

  InputSink& input_;
  KeyboardLayout& layout_;
  Timeline& timeline_;
  DebugOutput& debug_;
  MacroQueue& queue_;

  std::mutex handOver_;  // guards next_
  Macro next_;
  std::atomic<bool> playing_{false};
  std::atomic<bool> stop_{false};
  std::atomic<int> currentAction_{0};
  std::vector<int> held_;  // macro thread only: key codes down, each once, in the order they went down
  struct PreparedKey {
    int virtualKey = 0;
    int scanCode = 0;
  };
  std::array<PreparedKey, 256> keys_{};  // macro thread only: by device key code
};

}  // namespace kavo::monitor
