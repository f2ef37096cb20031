// How faithfully the service plays a macro and how quickly it answers a button: a 200-event macro (key
// presses and releases in turn, delays of 5 to 200 ms from a fixed pseudo-random sequence) played by
// KavoMonitor.exe from a press of the simulated mouse, and the same macro played in this process with plain
// Sleep and keybd_event, both seen by kavo-input-recorder.exe's low-level hooks with QueryPerformanceCounter
// timestamps; then the time from posting a shortcut button's event message to the service's window to the
// first key it injects, idle and while the device thread polls a busy mouse.
// usage: macro_timing_bench [latency samples]
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/service_run.h"
#include "monitor/service_messages.h"
#include "settings/settings_record.h"
#include "tests/wine/input_recording.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/temp_folder.h"

namespace {

using kavo::wine_test::InputRecorder;
using kavo::wine_test::QpcMs;
using kavo::wine_test::QpcNow;
using kavo::wine_test::RecordedInput;
using kavo::bench::ServiceRun;

constexpr int kMacroEvents = 200;
constexpr int kMacroSlot = 0;     // input 1
constexpr int kShortcutSlot = 1;  // input 2
constexpr std::uint8_t kFirstLetter = 4;  // device code of A; the letters follow in order
constexpr unsigned kEventMessage = 1325;
constexpr unsigned kShortcutClass = 0x5000;
constexpr unsigned kReleaseStatus = 0x0100;

// The macro: letter i % 26 pressed, then released, each event followed by its delay.
struct Step {
  std::uint8_t letter;  // 0..25
  bool press;
  int delay;
};

std::vector<Step> MakeMacro() {
  std::vector<Step> steps;
  std::uint32_t state = 0x2545F491u;
  for (int i = 0; i < kMacroEvents; ++i) {
    state = state * 1664525u + 1013904223u;
    const int delay = 5 + static_cast<int>((state >> 8) % 196u);  // 5..200 ms
    steps.push_back({static_cast<std::uint8_t>((i / 2) % 26), i % 2 == 0, delay});
  }
  return steps;
}

struct Timing {
  int events = 0;
  double medianError = 0, p95Error = 0, maxError = 0;
  double driftPercent = 0, lengthMs = 0;
  std::size_t worst = 0;  // the gap with the largest error
  double worstPlanned = 0, worstMeasured = 0;
  int early = 0;  // gaps more than 1 ms shorter than their delay
};

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const std::size_t rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::min(values.size() - 1, rank == 0 ? 0 : rank - 1)];
}

// Each gap between recorded events against the delay of the event before it.
Timing Measure(const std::vector<RecordedInput>& events, const std::vector<Step>& steps) {
  Timing timing;
  timing.events = static_cast<int>(events.size());
  if (events.size() != steps.size()) return timing;
  std::vector<double> errors;
  double planned = 0;
  for (std::size_t i = 0; i + 1 < events.size(); ++i) {
    const double measured = QpcMs(events[i].qpc, events[i + 1].qpc);
    errors.push_back(std::fabs(measured - steps[i].delay));
    if (measured < steps[i].delay - 1.0) ++timing.early;
    if (errors.back() >= errors[timing.worst]) {
      timing.worst = i;
      timing.worstPlanned = steps[i].delay;
      timing.worstMeasured = measured;
    }
    planned += steps[i].delay;
  }
  timing.medianError = Percentile(errors, 0.5);
  timing.p95Error = Percentile(errors, 0.95);
  timing.maxError = Percentile(errors, 1.0);
  timing.lengthMs = QpcMs(events.front().qpc, events.back().qpc);
  timing.driftPercent = (timing.lengthMs - planned) * 100.0 / planned;
  return timing;
}

void PrintTiming(const char* what, const Timing& timing) {
  if (timing.events != kMacroEvents) {
    std::printf("%-40s recorded %d of %d events: no figures\n", what, timing.events, kMacroEvents);
    return;
  }
  std::printf("%-40s gap error median %6.3f ms (target <= 1)  p95 %6.3f ms (target <= 2)  max %7.3f ms\n", what,
              timing.medianError, timing.p95Error, timing.maxError);
  std::printf("%-40s drift %+7.3f %% of %.0f ms (target < 0.5 %%)\n", "", timing.driftPercent, timing.lengthMs);
  std::printf("%-40s worst: gap after event %zu, %.0f ms planned, %.3f ms measured; %d gaps over 1 ms short\n", "",
              timing.worst, timing.worstPlanned, timing.worstMeasured, timing.early);
}

std::vector<RecordedInput> AwaitEvents(const InputRecorder& recorder, std::size_t mark, std::size_t count,
                                       DWORD milliseconds) {
  recorder.WaitForCount(mark, count, milliseconds);
  auto events = recorder.EventsSince(mark);
  if (events.size() > count) events.resize(count);
  return events;
}

// Plays the macro here; gives the counter just before each keybd_event.
std::vector<long long> PlayInProcess(const std::vector<Step>& steps) {
  std::vector<long long> calls;
  for (const Step& step : steps) {
    const BYTE vk = static_cast<BYTE>('A' + step.letter);
    const BYTE scan = static_cast<BYTE>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    calls.push_back(QpcNow());
    ::keybd_event(vk, scan, step.press ? 0 : KEYEVENTF_KEYUP, 0);
    ::Sleep(static_cast<DWORD>(step.delay));
  }
  return calls;
}

// Posts the shortcut button's press to the service's window and times it to the first key injected.
std::vector<double> Latencies(const InputRecorder& recorder, HWND monitor, int samples) {
  std::vector<double> latencies;
  const LPARAM slotNumber = kShortcutSlot + 1;
  int failures = 0;
  for (int i = 0; i < samples && failures < 3; ++i) {
    const std::size_t mark = recorder.Count();
    const long long posted = QpcNow();
    ::PostMessageA(monitor, kEventMessage, kShortcutClass, slotNumber);
    const auto pressed = AwaitEvents(recorder, mark, 1, 1000);
    ::PostMessageA(monitor, kEventMessage, kShortcutClass, kReleaseStatus | slotNumber);
    if (pressed.empty() || !pressed.front().down) {
      ++failures;
    } else {
      latencies.push_back(QpcMs(posted, pressed.front().qpc));
    }
    recorder.WaitForCount(mark, 2, 1000);
    ::Sleep(20);
  }
  return latencies;
}

void PrintLatencies(const char* what, std::vector<double> latencies) {
  if (latencies.empty()) {
    std::printf("%-40s no key came\n", what);
    return;
  }
  std::printf("%-40s n=%zu  median %6.3f ms (target < 1)  p95 %6.3f ms  max %6.3f ms\n", what, latencies.size(),
              Percentile(latencies, 0.5), Percentile(latencies, 0.95), Percentile(latencies, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
  const int latencySamples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const std::vector<Step> steps = MakeMacro();
  double macroMs = 0;
  for (std::size_t i = 0; i + 1 < steps.size(); ++i) macroMs += steps[i].delay;
  std::printf("macro: %d events, key presses and releases in turn, delays 5..200 ms, %.0f ms long\n", kMacroEvents,
              macroMs);

  kavo::wine_test::TempFolder recordings;
  InputRecorder recorder(recordings.File("input.txt"));
  if (!recorder.Problem().empty()) {
    std::fprintf(stderr, "recorder: %s\n", recorder.Problem().c_str());
    return 1;
  }
  // The macro on input 1 and a shortcut (the letter A alone) on input 2 of every profile.
  ServiceRun run([&](int, kavo::ProfileRecord& profile) {
    for (auto& entry : profile.buttons) entry.function = kavo::kFunctionClick;
    kavo::MacroKeyInfo& macro = profile.buttons[kMacroSlot];
    macro.function = kavo::kFunctionMacro;
    macro.repeatCount = 1;
    macro.eventCount = static_cast<std::uint16_t>(steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
      macro.events[i] = kavo::MacroEvent{static_cast<std::uint8_t>(kFirstLetter + steps[i].letter),
                                         steps[i].press ? kavo::kMacroPress : kavo::kMacroRelease,
                                         static_cast<std::uint16_t>(steps[i].delay)};
    }
    kavo::MacroKeyInfo& shortcut = profile.buttons[kShortcutSlot];
    shortcut.function = kavo::kFunctionKeyShortcut;
    auto* value = reinterpret_cast<std::uint8_t*>(shortcut.events);
    value[0] = kFirstLetter;
    value[1] = 0x01;  // no modifier
  });
  kavo::wine_test::RecordingWindow option(kavo::kOptionWindowTitle);  // learns when the mouse was read
  if (!run.Problem().empty() || !run.Start()) {
    std::fprintf(stderr, "service: %s\n", run.Problem().empty() ? "cannot start KavoMonitor.exe" : run.Problem().c_str());
    return 1;
  }
  if (!option.WaitFor(kavo::kMsgFreshData, 1, 60000)) {
    std::fprintf(stderr, "the service never announced its first read\n");
    return 1;
  }
  const DWORD patience = static_cast<DWORD>(macroMs) + 15000;

  std::size_t mark = recorder.Count();
  if (!run.Sim("click 1")) std::fprintf(stderr, "kavo-sim click 1 failed\n");
  const Timing service = Measure(AwaitEvents(recorder, mark, steps.size(), patience), steps);
  PrintTiming("played by KavoMonitor.exe", service);

  mark = recorder.Count();
  const std::vector<long long> calls = PlayInProcess(steps);
  const std::vector<RecordedInput> seen = AwaitEvents(recorder, mark, steps.size(), 5000);
  const Timing inProcess = Measure(seen, steps);
  PrintTiming("Sleep + keybd_event in one process", inProcess);
  if (seen.size() == calls.size()) {
    // What the recorder's own timestamps add: from the call that injects to the hook that sees it.
    std::vector<double> hookDelays;
    for (std::size_t i = 0; i < calls.size(); ++i) hookDelays.push_back(QpcMs(calls[i], seen[i].qpc));
    std::printf("%-40s median %6.3f ms  p95 %6.3f ms  max %6.3f ms\n", "recorder: keybd_event call to its hook",
                Percentile(hookDelays, 0.5), Percentile(hookDelays, 0.95), Percentile(hookDelays, 1.0));
  }

  const HWND monitor = run.Window();
  const std::vector<double> latencies = monitor ? Latencies(recorder, monitor, latencySamples) : std::vector<double>{};
  PrintLatencies("event message to first key", latencies);

  // The same while the device thread polls a busy mouse: the mouse comes back, is read, and then answers
  // busy to the ten status reads after the host-active report (some sixteen seconds of polling).
  std::vector<double> whilePolling;
  if (monitor && run.Sim("busy 10") && run.Sim("unplug") && run.Sim("plug") &&
      option.WaitFor(kavo::kMsgFreshData, 2, 60000)) {
    whilePolling = Latencies(recorder, monitor, latencySamples);
  }
  PrintLatencies("event message to first key, mouse busy", whilePolling);
  return service.events == kMacroEvents && !latencies.empty() && !whilePolling.empty() ? 0 : 2;
}
