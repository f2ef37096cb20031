// KavoOSD.exe as the service and a user meet it: started from its own program folder, found by its
// title, sent the service's messages, and its notice watched on screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "outside/osd/osd_messages.h"
#include "platform/win32/module_folder.h"
#include "tests/wine/temp_folder.h"

namespace kavo::osd {
namespace {

using kavo::win32::UniqueKernelHandle;
using kavo::win32::UniqueWindow;

constexpr DWORD kStartTimeoutMs = 15000;

// Polls until done() holds or the time is up; true when it held.
template <typename Condition>
bool WaitFor(Condition done, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start >= milliseconds) return false;
    ::Sleep(20);
  }
  return true;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

struct Process {
  UniqueKernelHandle process;
  DWORD id = 0;
};

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* title;
  std::vector<HWND> found;
};

// A named CALLBACK function: on 32 bit a lambda does not convert to the stdcall enumeration callback.
BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId) return TRUE;
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (search.className && std::string(name) != search.className) return TRUE;
  if (search.title && WindowText(window) != search.title) return TRUE;
  search.found.push_back(window);
  return TRUE;
}

// Top-level windows of one process with the given class (any when null) and title (any when null).
std::vector<HWND> WindowsOf(DWORD processId, const char* className, const char* title) {
  WindowSearch search{processId, className, title, {}};
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A window of this test that holds the foreground, as the program the user works in.
class ForegroundWindow {
 public:
  ForegroundWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KavoOSDTestWorkWindow";
    ::RegisterClassA(&windowClass);
    window_.reset(::CreateWindowExA(0, windowClass.lpszClassName, "Work", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                    100, 400, 300, nullptr, nullptr, windowClass.hInstance, nullptr));
    ::SetForegroundWindow(window_.get());
    Pump();
  }
  HWND get() const { return window_.get(); }
  static void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  }

 private:
  UniqueWindow window_;
};

class OsdProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    program_ = folder_.Subfolder("program");
    elsewhere_ = folder_.Subfolder("elsewhere");
    ASSERT_TRUE(::CopyFileA((kavo::win32::ModuleFolder() + "KavoOSD.exe").c_str(), (program_ + "KavoOSD.exe").c_str(),
                            FALSE));
    // The program is started in another folder with a config.ini of its own: it must read the one beside it.
    ::WritePrivateProfileStringA("OSDData", "Message", "Wrong folder", (elsewhere_ + "config.ini").c_str());
  }

  void TearDown() override {
    if (osd_.process && ::WaitForSingleObject(osd_.process.get(), 0) == WAIT_TIMEOUT) {
      if (HWND window = Display()) ::PostMessageA(window, WM_CLOSE, 0, 0);
      if (::WaitForSingleObject(osd_.process.get(), 5000) != WAIT_OBJECT_0) ::TerminateProcess(osd_.process.get(), 9);
    }
  }

  void SetMessage(const char* text) {
    ASSERT_TRUE(::WritePrivateProfileStringA("OSDData", "Message", text, (program_ + "config.ini").c_str()));
  }

  Process Start() {
    Process started;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + program_ + "KavoOSD.exe\"";
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, elsewhere_.c_str(),
                         &startup, &info)) {
      ::CloseHandle(info.hThread);
      started.process.reset(info.hProcess);
      started.id = info.dwProcessId;
    }
    return started;
  }

  // Starts the display and waits for its window, as the service finds it.
  void StartDisplay() {
    osd_ = Start();
    ASSERT_TRUE(osd_.process);
    ASSERT_TRUE(WaitFor([&] { return Display() != nullptr; }, kStartTimeoutMs)) << "no window titled " << kOsdWindowTitle;
  }

  HWND Display() const {
    HWND window = ::FindWindowA(nullptr, kOsdWindowTitle);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    return window && owner == osd_.id ? window : nullptr;
  }

  // The notice window while it is visible, or null.
  HWND VisibleNotice() const {
    for (HWND window : WindowsOf(osd_.id, kNoticeClassName, nullptr)) {
      if (::IsWindowVisible(window)) return window;
    }
    return nullptr;
  }

  void Post(UINT message, WPARAM wParam, LPARAM lParam) {
    ASSERT_TRUE(::PostMessageA(Display(), message, wParam, lParam));
  }

  HWND WaitForNoticeText(const std::string& text, DWORD milliseconds = 5000) {
    HWND shown = nullptr;
    WaitFor(
        [&] {
          shown = VisibleNotice();
          return shown && WindowText(shown) == text;
        },
        milliseconds);
    return shown && WindowText(shown) == text ? shown : nullptr;
  }

  kavo::wine_test::TempFolder folder_;
  std::string program_;
  std::string elsewhere_;
  Process osd_;
};

TEST_F(OsdProgramTest, WaitsHiddenUnderItsTitle) {
  ASSERT_NO_FATAL_FAILURE(StartDisplay());
  EXPECT_FALSE(::IsWindowVisible(Display()));
  EXPECT_EQ(VisibleNotice(), nullptr);
}

TEST_F(OsdProgramTest, ShowsTheNoticeFromItsFolderBrieflyWithoutTakingTheFocus) {
  ForegroundWindow work;
  const HWND foregroundBefore = ::GetForegroundWindow();
  SetMessage("Low Battery");
  ASSERT_NO_FATAL_FAILURE(StartDisplay());

  Post(kMsgOsdNotice, kOsdLowBatteryReason, 0);
  const HWND notice = WaitForNoticeText("Low Battery");
  ASSERT_NE(notice, nullptr) << "no visible notice reading \"Low Battery\"";
  const DWORD shownAt = ::GetTickCount();

  const LONG style = ::GetWindowLongA(notice, GWL_STYLE);
  const LONG exStyle = ::GetWindowLongA(notice, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_SYSMENU));
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);

  // Near the bottom right corner of the work area, whole and readable.
  RECT area{}, place{};
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
  ASSERT_TRUE(::GetWindowRect(notice, &place));
  EXPECT_GE(place.left, area.left);
  EXPECT_GE(place.top, area.top);
  EXPECT_LE(place.right, area.right);
  EXPECT_LE(place.bottom, area.bottom);
  EXPECT_GE(place.right, area.right - 40);
  EXPECT_GE(place.bottom, area.bottom - 40);
  EXPECT_GE(place.right - place.left, 150);
  EXPECT_GE(place.bottom - place.top, 30);

  ForegroundWindow::Pump();
  EXPECT_NE(::GetForegroundWindow(), notice);
  EXPECT_NE(::GetActiveWindow(), notice);
  EXPECT_EQ(::GetForegroundWindow(), foregroundBefore);

  // It goes by itself after about two seconds.
  ASSERT_TRUE(WaitFor([&] { return VisibleNotice() == nullptr; }, 6000)) << "the notice stays";
  const DWORD shownFor = ::GetTickCount() - shownAt;
  EXPECT_GE(shownFor, 1500u);
  EXPECT_LE(shownFor, 3500u);
}

TEST_F(OsdProgramTest, FallsBackWhenTheFileHoldsNoMessage) {
  ASSERT_NO_FATAL_FAILURE(StartDisplay());
  Post(kMsgOsdNotice, kOsdLowBatteryReason, 0);
  EXPECT_NE(WaitForNoticeText("Low Battery"), nullptr);
}

TEST_F(OsdProgramTest, NewNoticeReplacesTheShowingOneAndRestartsItsTime) {
  SetMessage("Profile 1");
  ASSERT_NO_FATAL_FAILURE(StartDisplay());
  Post(kMsgOsdNotice, 0, 0);
  ASSERT_NE(WaitForNoticeText("Profile 1"), nullptr);
  ::Sleep(1200);

  SetMessage("Profile 2");
  Post(kMsgOsdNotice, 0, 0);
  ASSERT_NE(WaitForNoticeText("Profile 2"), nullptr);
  const DWORD replacedAt = ::GetTickCount();
  EXPECT_EQ(WindowsOf(osd_.id, kNoticeClassName, nullptr).size(), 1u) << "one notice window, reused";

  // Past the first notice's two seconds, the second is still there.
  ::Sleep(1300);
  EXPECT_NE(VisibleNotice(), nullptr);
  ASSERT_TRUE(WaitFor([&] { return VisibleNotice() == nullptr; }, 6000));
  EXPECT_GE(::GetTickCount() - replacedAt, 1500u);
}

TEST_F(OsdProgramTest, SettingsMessageSetsTheTimeAndSwitchesNoticesOff) {
  SetMessage("Low Battery");
  ASSERT_NO_FATAL_FAILURE(StartDisplay());

  // 600 ms: the acknowledgement itself already goes sooner than the default two seconds.
  Post(kMsgOsdSettings, 0, MAKELPARAM(600, 0));
  ASSERT_NE(WaitForNoticeText("Settings applied"), nullptr);
  const DWORD shownAt = ::GetTickCount();
  ASSERT_TRUE(WaitFor([&] { return VisibleNotice() == nullptr; }, 5000));
  EXPECT_LT(::GetTickCount() - shownAt, 1500u);

  // Notices off: neither the acknowledgement nor a notice appears.
  Post(kMsgOsdSettings, 0, MAKELPARAM(0, 1));
  Post(kMsgOsdNotice, kOsdLowBatteryReason, 0);
  ::Sleep(1000);
  EXPECT_EQ(VisibleNotice(), nullptr);

  // The zero pair brings back the defaults.
  Post(kMsgOsdSettings, 0, 0);
  EXPECT_NE(WaitForNoticeText("Settings applied"), nullptr);
  Post(kMsgOsdNotice, kOsdLowBatteryReason, 0);
  EXPECT_NE(WaitForNoticeText("Low Battery"), nullptr);
}

TEST_F(OsdProgramTest, SecondStartEndsAtOnceWithoutASecondWindow) {
  ASSERT_NO_FATAL_FAILURE(StartDisplay());
  Process second = Start();
  ASSERT_TRUE(second.process);
  ASSERT_EQ(::WaitForSingleObject(second.process.get(), 5000), WAIT_OBJECT_0) << "the second start keeps running";
  DWORD exitCode = 1;
  ::GetExitCodeProcess(second.process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(WindowsOf(second.id, nullptr, kOsdWindowTitle).empty());
  EXPECT_EQ(WindowsOf(osd_.id, nullptr, kOsdWindowTitle).size(), 1u);
  // The first one still serves.
  Post(kMsgOsdNotice, kOsdLowBatteryReason, 0);
  EXPECT_NE(WaitForNoticeText("Low Battery"), nullptr);
}

TEST_F(OsdProgramTest, CloseEndsTheProgramCleanlyEvenWhileANoticeShows) {
  SetMessage("Profile 5");
  ASSERT_NO_FATAL_FAILURE(StartDisplay());
  Post(kMsgOsdNotice, 0, 0);
  ASSERT_NE(WaitForNoticeText("Profile 5"), nullptr);

  Post(WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(osd_.process.get(), 5000), WAIT_OBJECT_0) << "still running after WM_CLOSE";
  DWORD exitCode = 1;
  ::GetExitCodeProcess(osd_.process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(::FindWindowA(nullptr, kOsdWindowTitle), nullptr);

  // And a later start works again: nothing of the first one is left holding the single-instance lock.
  ASSERT_NO_FATAL_FAILURE(StartDisplay());
}

}  // namespace
}  // namespace kavo::osd
