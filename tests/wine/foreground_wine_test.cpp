// The service's look at the program in front against the real system: the foreground notification for a
// window of another process, and the name of the program whose window is in front.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "monitor/win32/foreground_hook.h"
#include "monitor/win32/win32_process_info.h"
#include "platform/win32/module_folder.h"
#include "tests/wine/foreground_switch.h"
#include "tests/wine/programs.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/temp_folder.h"

namespace kavo::wine_test {
namespace {

constexpr char kStandInTitle[] = "Kavo game stand-in";

// Takes this thread's messages (the notification comes through them) until done() holds or time is up.
template <typename Condition>
bool PumpUntil(Condition done, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start >= milliseconds) return false;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    ::Sleep(5);
  }
  return true;
}

// The stand-in copied under a game's name into a folder of its own, started, its window found.
class GameInFront {
 public:
  explicit GameInFront(const std::string& name) {
    path_ = folder_.File(name);
    if (!::CopyFileA((win32::ModuleFolder() + "kavo-foreground-standin.exe").c_str(), path_.c_str(), FALSE)) return;
    process_ = StartProgram(path_, "", folder_.path());
    WaitFor(
        [&] {
          const auto found = TopLevelWindows(process_.id, kStandInTitle);
          window_ = found.empty() ? nullptr : found.front();
          return window_ != nullptr;
        },
        10000);
  }
  ~GameInFront() { End(); }
  HWND window() const { return window_; }
  void End() {
    if (!process_.handle) return;
    for (HWND window : TopLevelWindows(process_.id, "")) ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (!process_.WaitForExit(10000)) ::TerminateProcess(process_.handle.get(), 1);
    process_.handle.reset();
  }

 private:
  TempFolder folder_;
  std::string path_;
  ChildProcess process_;
  HWND window_ = nullptr;
};

TEST(ForegroundHookTest, ReportsEachWindowOfAnyProcessComingToTheFrontUntilItGoes) {
  RecordingWindow plain("Kavo plain window", "KavoPlainWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(plain.window(), nullptr);
  std::atomic<int> changes{0};
  auto hook = std::make_unique<monitor::win32::ForegroundHook>([&] { ++changes; });
  ASSERT_TRUE(hook->installed());

  // The game announces its own activation: what arrives comes from another process.
  GameInFront game("Arena.exe");
  ASSERT_NE(game.window(), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return changes > 0; }, 5000)) << "the game's window came to the front unreported";

  const auto settle = [] { PumpUntil([] { return false; }, 200); };  // what is on its way arrives first
  settle();
  int before = changes;
  ASSERT_TRUE(BringToFront(plain.window()));
  EXPECT_TRUE(PumpUntil([&] { return changes > before; }, 5000)) << "a window of this process";
  settle();
  before = changes;
  ASSERT_TRUE(::SetForegroundWindow(game.window()));
  EXPECT_TRUE(PumpUntil([&] { return changes > before; }, 5000)) << "the game brought back by another process";

  // Other notifications, and the foreground one about a part of a window, are no change of the front.
  settle();
  before = changes;
  ::NotifyWinEvent(EVENT_OBJECT_FOCUS, plain.window(), OBJID_CLIENT, CHILDID_SELF);
  ::NotifyWinEvent(EVENT_OBJECT_CREATE, plain.window(), OBJID_WINDOW, CHILDID_SELF);
  ::NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, plain.window(), OBJID_CLIENT, CHILDID_SELF);
  settle();
  EXPECT_EQ(changes, before);

  hook.reset();
  ASSERT_TRUE(BringToFront(plain.window()));
  ASSERT_TRUE(::SetForegroundWindow(game.window()));
  settle();
  EXPECT_EQ(changes, before) << "nothing is reported once the hook is gone";
}

TEST(Win32ProcessInfoTest, NamesTheProgramOfTheWindowInFront) {
  RecordingWindow plain("Kavo plain window", "KavoPlainWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(plain.window(), nullptr);
  monitor::win32::Win32ProcessInfo processes;
  {
    GameInFront game("Arena.EXE");
    ASSERT_NE(game.window(), nullptr);
    ASSERT_TRUE(BringToFront(game.window()));
    EXPECT_EQ(processes.ForegroundModuleBaseName(), std::optional<std::string>("Arena.EXE"))
        << "the file name as it is on disk";

    ASSERT_TRUE(BringToFront(plain.window()));
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = self;
    EXPECT_EQ(processes.ForegroundModuleBaseName(), path.substr(path.find_last_of('\\') + 1));
    ASSERT_TRUE(BringToFront(game.window()));
    game.End();
  }
  // The game's window went with its process: whatever is in front now, it is not the game.
  const auto after = processes.ForegroundModuleBaseName();
  EXPECT_NE(after, std::optional<std::string>("Arena.EXE"));
}

}  // namespace
}  // namespace kavo::wine_test
