#pragma once
// The desktop around the service, in memory: every effect is noted in one shared log, so a test can
// check what happened and in which order.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "monitor/debug_output.h"
#include "monitor/game_profiles.h"
#include "monitor/host_functions.h"
#include "monitor/input_sink.h"
#include "monitor/macro_player.h"
#include "monitor/pointer_settings.h"
#include "monitor/service_ports.h"
#include "monitor/timeline.h"

namespace kavo::test {

using EventLog = std::vector<std::string>;

// Notes each call; onCall runs inside each one, as the messages a broadcasting system call takes would.
class RecordingPointerSystem final : public monitor::PointerSystem {
 public:
  void SetDoubleClickTime(int ms) override { Note("double-click " + std::to_string(ms)); }
  void SetAcceleration(int t1, int t2, int speed) override {
    Note("acceleration " + std::to_string(t1) + " " + std::to_string(t2) + " " + std::to_string(speed));
  }
  void SetPointerSpeed(int speed) override { Note("speed " + std::to_string(speed)); }
  void SetWheelScrollLines(int lines) override { Note("lines " + std::to_string(lines)); }
  void SetWheelScrollChars(int chars) override { Note("chars " + std::to_string(chars)); }
  std::vector<std::string> calls;
  std::function<void()> onCall;

 private:
  void Note(std::string call) {
    calls.push_back(std::move(call));
    if (onCall) onCall();
  }
};

class FakeDesktop final : public monitor::Desktop {
 public:
  explicit FakeDesktop(EventLog& log) : log_(log) {}
  bool PostToWindow(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    if (!windows.count(title)) return false;
    log_.push_back("post " + std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam) +
                   " to " + title);
    return true;
  }
  bool BringToFront(const char* title) override {
    if (!windows.count(title)) return false;
    log_.push_back(std::string("front ") + title);
    return true;
  }
  bool WindowExists(const char* title) override { return windows.count(title) > 0; }
  std::set<std::string> windows;  // titles of the windows that exist

 private:
  EventLog& log_;
};

class FakeShell final : public monitor::Shell {
 public:
  explicit FakeShell(EventLog& log) : log_(log) {}
  void Open(const std::string& path) override { log_.push_back("open " + path); }

 private:
  EventLog& log_;
};

class FakeServiceWindow final : public monitor::ServiceWindow {
 public:
  explicit FakeServiceWindow(EventLog& log) : log_(log) {}
  void StartTimer(int id, int milliseconds) override {
    timers[id] = milliseconds;
    log_.push_back("timer " + std::to_string(id) + " " + std::to_string(milliseconds));
  }
  void KillTimer(int id) override {
    timers.erase(id);
    log_.push_back("kill timer " + std::to_string(id));
  }
  void WatchForeground(bool on) override {
    watchingForeground = on;
    log_.push_back(on ? "watch foreground" : "stop watching foreground");
  }
  void AddTrayIcon() override {
    trayIcon = true;
    log_.push_back("tray add");
  }
  void RemoveTrayIcon() override {
    trayIcon = false;
    log_.push_back("tray remove");
  }
  void PostDeviceCommand(int command) override {
    commands.push_back(command);
    log_.push_back("command " + std::to_string(command));
  }
  void PostCommand(int command) override { log_.push_back("menu command " + std::to_string(command)); }
  void BringPopupForward() override { log_.push_back("popup forward"); }
  void ShowTrayMenu() override { log_.push_back("tray menu"); }
  void Close() override { log_.push_back("close"); }
  std::map<int, int> timers;  // running timers and their periods
  bool trayIcon = false;
  bool watchingForeground = false;
  std::vector<int> commands;  // posted to the device thread, not yet run

 private:
  EventLog& log_;
};

// A block that keeps the record's bytes; it can be missing, as when its creation failed.
class FakeRecordBlock final : public RecordBlock {
 public:
  explicit FakeRecordBlock(EventLog& log) : log_(log) {}
  bool Publish(const SettingsRecord& record) override {
    if (!exists) return false;
    bytes = record;
    log_.push_back("publish");
    return true;
  }
  bool Fetch(SettingsRecord& record) override {
    if (!exists) return false;
    record = bytes;
    log_.push_back("fetch");
    return true;
  }
  bool exists = true;
  alignas(8) SettingsRecord bytes{};  // aligned, so tests can bind its fields to references

 private:
  EventLog& log_;
};

// Keys and buttons as "key 17 down" / "button left up" entries of the log, with the time line's time when
// one is given.
class FakeInputSink final : public monitor::InputSink {
 public:
  explicit FakeInputSink(EventLog& log) : log_(log) {}
  void Key(int virtualKey, int scanCode, bool up, bool extended) override {
    log_.push_back("key " + std::to_string(virtualKey) + (up ? " up" : " down") + (extended ? " extended" : "") +
                   (scanCode ? " scan " + std::to_string(scanCode) : ""));
  }
  void Button(monitor::MouseButton button, bool up) override {
    static const char* const kNames[] = {"left", "right", "middle", "x1", "x2"};
    log_.push_back(std::string("button ") + kNames[static_cast<int>(button)] + (up ? " up" : " down"));
  }

 private:
  EventLog& log_;
};

// A time line that jumps to each deadline at once, noting the waits; the stop flag is looked at
// every millisecond of a wait, and a hook can run at a chosen time, as another thread would.
class FakeTimeline final : public monitor::Timeline {
 public:
  std::int64_t NowMicroseconds() override { return now; }
  bool WaitUntil(std::int64_t deadline, const std::atomic<bool>& stop) override {
    while (now < deadline) {
      if (stop) return false;
      now = std::min(deadline, now + 1000);
      if (atTime && now >= atTime->first) {
        auto action = std::move(atTime->second);
        atTime.reset();
        action();
      }
    }
    now += overshoot;
    return true;
  }
  void PrecisionNeeded(bool needed) override { precise = needed; }
  std::int64_t now = 0;
  std::int64_t overshoot = 0;  // µs every completed wait ends late
  bool precise = false;
  std::optional<std::pair<std::int64_t, std::function<void()>>> atTime;
};

class FakeProcessInfo final : public monitor::ProcessInfo {
 public:
  std::optional<std::string> ForegroundModuleBaseName() override {
    ++looks;
    return foreground;
  }
  std::optional<std::string> foreground;
  int looks = 0;  // how often the program in front was asked for
};

class FakeMacroQueue final : public monitor::MacroQueue {
 public:
  bool PostPlay() override {
    ++posted;
    return true;
  }
  int posted = 0;
};

class FakeHostFunctions final : public monitor::MediaPlayers, public monitor::HorizontalScroller {
 public:
  explicit FakeHostFunctions(EventLog& log) : log_(log) {}
  void StartOrBringForward(int mediaOption) override { log_.push_back("player " + std::to_string(mediaOption) + " start"); }
  void Command(int mediaOption, monitor::MediaCommand command) override {
    log_.push_back("player " + std::to_string(mediaOption) + " command " + std::to_string(static_cast<int>(command)));
  }
  void Scroll(int direction, int units) override {
    log_.push_back("scroll " + std::to_string(direction) + " by " + std::to_string(units));
  }

 private:
  EventLog& log_;
};

class FakeDebugOutput final : public monitor::DebugOutput {
 public:
  void Write(const char* text) override { lines.push_back(text); }
  std::vector<std::string> lines;
};

}  // namespace kavo::test
