// The cost of one look at the program in front, which the service makes every two seconds and at every
// change of the foreground window while the mouse is present: finding the foreground process and its
// program's name, then matching it against the fifteen game paths of the record. Beside it the same look
// with every process of the system listed first, as the look once did to learn that the one in front
// still runs. A window of this program is in front while it measures.
// usage: game_check_bench [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "monitor/game_profiles.h"
#include "monitor/win32/win32_process_info.h"
#include "settings/bounded_text.h"
#include "platform/win32/win32_handles.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcA;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "KavoGameCheckBench";
  ::RegisterClassA(&windowClass);
  kavo::win32::UniqueWindow window(::CreateWindowExA(0, windowClass.lpszClassName, "game check bench",
                                                     WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                                     nullptr, windowClass.hInstance, nullptr));
  ::SetForegroundWindow(window.get());

  // Every game path filled, none matching: the most work a look can take.
  auto record = std::make_unique<kavo::SettingsRecord>();
  kavo::ClearRecord(*record);
  record->CurrentProfile = 1;
  record->WindowsProfile = 1;
  for (int p = 0; p < kavo::kProfileCount; ++p) {
    auto& profile = record->profiles[p];
    for (auto* game : {&profile.GameFile0, &profile.GameFile1, &profile.GameFile2}) {
      kavo::CopyBounded(*game, "  C:\\Program Files\\Some Publisher\\Game " + std::to_string(p) + "\\game.exe ");
    }
  }

  kavo::monitor::win32::Win32ProcessInfo processes;
  // The step the look no longer takes: every process id of the system, searched for the one in front.
  const auto listed = [] {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(::GetForegroundWindow(), &processId);
    std::vector<DWORD> ids(1024);
    DWORD bytes = 0;
    if (!::EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return false;
    ids.resize(bytes / sizeof(DWORD));
    return std::find(ids.begin(), ids.end(), processId) != ids.end();
  };
  const auto measure = [&](const char* what, bool listFirst) {
    std::vector<double> micros;
    std::string seen;
    for (int i = 0; i < runs; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const bool running = !listFirst || listed();
      const auto module = running ? processes.ForegroundModuleBaseName() : std::nullopt;
      const auto target = kavo::monitor::GameProfileSwitch(*record, module, false);
      micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
      if (i == 0) seen = module ? *module : "(none)";
      if (target) std::printf("unexpected switch to %d\n", *target);
    }
    std::sort(micros.begin(), micros.end());
    std::printf("%-34s (program in front: %s) n=%d  median %8.1f us  p95 %8.1f us  max %8.1f us\n", what,
                seen.c_str(), runs, micros[micros.size() / 2], micros[micros.size() * 95 / 100], micros.back());
    return micros[micros.size() / 2];
  };
  const double before = measure("foreground check, processes listed", true);
  const double now = measure("foreground check", false);
  std::printf("every 2 s that is %.4f %% of one core (%.4f %% with the list)\n", now / 2e6 * 100, before / 2e6 * 100);
  return 0;
}
