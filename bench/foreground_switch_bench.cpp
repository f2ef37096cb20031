// How soon the mouse follows the game to the front: a stand-in copied as "game.exe", linked to profile 2,
// and a plain window of this program are brought to the front by turns; each time, from the call that
// brings the window forward (the foreground notification sent with it, as Windows does and Wine 8 does
// not) to the moment report 5 has put the profile into the simulated mouse. Once with
// the service as shipped (foreground notifications and timer 500), once with a build of the same service
// whose notification installs nothing, so that timer 500 alone finds the change.
// usage: foreground_switch_bench [switches]
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench/service_run.h"
#include "settings/bounded_text.h"
#include "platform/win32/module_folder.h"
#include "tests/wine/foreground_switch.h"
#include "tests/wine/input_recording.h"
#include "tests/wine/programs.h"
#include "tests/wine/recording_window.h"

namespace {

using kavo::wine_test::QpcMs;
using kavo::wine_test::QpcNow;

constexpr int kGameProfile = 2;
constexpr int kWindowsProfile = 0;
constexpr DWORD kPatienceMs = 5000;
// The device thread rests half a second after each report 5; the next switch waits for that to end, and
// then a pseudo-random part of timer 500's period more, so that the switches fall at every point of the
// timer's period instead of locking to one.
constexpr DWORD kRestMs = 700;
constexpr DWORD kTimerPeriodMs = 2000;

class Pauses {
 public:
  void Wait() {
    state_ = state_ * 1664525u + 1013904223u;
    ::Sleep(kRestMs + (state_ >> 8) % kTimerPeriodMs);
  }

 private:
  std::uint32_t state_ = 0x9E3779B9u;
};

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const std::size_t rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::min(values.size() - 1, rank == 0 ? 0 : rank - 1)];
}

// A plain window of this program: no game, so the profile for Windows comes back with it in front.
class PlainWindow {
 public:
  PlainWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KavoPlainWindow";
    ::RegisterClassA(&windowClass);
    window_.reset(::CreateWindowExA(0, windowClass.lpszClassName, "plain window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    50, 50, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr));
  }
  HWND get() const { return window_.get(); }

 private:
  kavo::win32::UniqueWindow window_;
};

void Pump() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

struct Switches {
  std::vector<double> intoGame, back;  // ms from the foreground change to report 5 in the mouse
  std::string problem;
};

// Brings window to the front and waits until the mouse's active profile is the one wanted; ms, or none.
std::optional<double> TimeSwitch(kavo::sim::win32::SharedMouse& mouse, HWND window, int wanted) {
  const long long start = QpcNow();
  if (!kavo::wine_test::BringToFront(window)) {
    std::printf("the window did not come to the front\n");
    return std::nullopt;
  }
  for (;;) {
    int active = -1;
    if (!mouse.Access([&](kavo::sim::MouseMemory& memory) { active = memory.activeProfile; })) return std::nullopt;
    const double elapsed = QpcMs(start, QpcNow());
    if (active == wanted) return elapsed;
    if (elapsed > kPatienceMs) return std::nullopt;
    Pump();
    ::Sleep(1);
  }
}

Switches Run(const std::string& monitor, int switches) {
  Switches result;
  kavo::bench::ServiceRun run(
      [](int p, kavo::ProfileRecord& profile) {
        if (p == kGameProfile) kavo::CopyBounded(profile.GameFile0, "C:\\Games\\Arena\\game.exe");
      },
      monitor);
  if (!run.Problem().empty() || !run.WriteConfigInt("CurrentProfile", kWindowsProfile) ||
      !run.WriteConfigInt("WindowsProfile", kWindowsProfile)) {
    result.problem = run.Problem().empty() ? "cannot write config.ini" : run.Problem();
    return result;
  }
  const std::string game = run.program() + "game.exe";
  if (!::CopyFileA((kavo::win32::ModuleFolder() + "kavo-foreground-standin.exe").c_str(), game.c_str(), FALSE)) {
    result.problem = "cannot copy the game stand-in";
    return result;
  }
  {
    // The configuration program's window tells when the first read is over; while it is open the profile
    // for Windows would never come back, so it goes before the switches.
    kavo::wine_test::RecordingWindow option(kavo::kOptionWindowTitle);
    if (!run.Start()) {
      result.problem = "cannot start " + monitor;
      return result;
    }
    if (!option.WaitFor(kavo::kMsgFreshData, 1, 60000)) {
      result.problem = "the service never announced its first read";
      return result;
    }
  }
  PlainWindow plain;
  kavo::wine_test::ChildProcess gameProcess = kavo::wine_test::StartProgram(game, "", run.program());
  HWND gameWindow = nullptr;
  kavo::wine_test::WaitFor(
      [&] {
        const auto found = kavo::wine_test::TopLevelWindows(gameProcess.id, "Kavo game stand-in");
        gameWindow = found.empty() ? nullptr : found.front();
        return gameWindow != nullptr;
      },
      10000);
  auto mouse = kavo::sim::win32::SharedMouse::Open(run.program());
  if (!plain.get() || !gameWindow || !mouse) {
    result.problem = "no game window, plain window or mouse";
  } else {
    // The game started in front: begin from the plain window with the profile for Windows back.
    if (!TimeSwitch(*mouse, plain.get(), kWindowsProfile)) result.problem = "the profile for Windows never came back";
    Pauses pauses;
    for (int i = 0; i < switches && result.problem.empty(); ++i) {
      pauses.Wait();
      const auto into = TimeSwitch(*mouse, gameWindow, kGameProfile);
      if (!into) {
        result.problem = "switch " + std::to_string(i) + ": the mouse never took the game's profile";
        break;
      }
      result.intoGame.push_back(*into);
      pauses.Wait();
      const auto back = TimeSwitch(*mouse, plain.get(), kWindowsProfile);
      if (!back) {
        result.problem = "switch " + std::to_string(i) + ": the profile for Windows never came back";
        break;
      }
      result.back.push_back(*back);
    }
  }
  for (HWND window : kavo::wine_test::TopLevelWindows(gameProcess.id, "")) ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (!gameProcess.WaitForExit(10000) && gameProcess.handle) ::TerminateProcess(gameProcess.handle.get(), 1);
  return result;
}

void Print(const char* what, const std::vector<double>& latencies, const char* target) {
  if (latencies.empty()) return;
  std::printf("%-46s n=%zu  median %7.1f ms%s  p95 %7.1f ms  max %7.1f ms\n", what, latencies.size(),
              Percentile(latencies, 0.5), target, Percentile(latencies, 0.95), Percentile(latencies, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
  const int switches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  int failures = 0;
  const struct {
    const char* monitor;
    const char* name;
  } builds[] = {{"KavoMonitor.exe", "notification and timer"}, {"KavoMonitorTimerOnly.exe", "timer 500 alone"}};
  for (const auto& build : builds) {
    const Switches result = Run(build.monitor, switches);
    const std::string into = std::string(build.name) + ": game to the front";
    const std::string back = std::string(build.name) + ": plain window to the front";
    Print(into.c_str(), result.intoGame, build.monitor == builds[0].monitor ? " (target < 50)" : "");
    Print(back.c_str(), result.back, "");
    if (!result.problem.empty()) {
      std::printf("%s: %s\n", build.name, result.problem.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 2;
}
