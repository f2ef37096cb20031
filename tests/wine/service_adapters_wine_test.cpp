// The service's Win32 pieces against the real API: handle owners, worker threads, windows found by title,
// the tray icon and the system libraries it loads.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cctype>
#include <thread>
#include <stdexcept>
#include <string>
#include <vector>

#include "monitor/win32/session_notifications.h"
#include "monitor/win32/system_library.h"
#include "monitor/win32/tray_icon.h"
#include "monitor/win32/win32_timeline.h"
#include "monitor/win32/win32_desktop.h"
#include "monitor/win32/worker_thread.h"
#include "platform/win32/win32_handles.h"
#include "tests/wine/temp_folder.h"

namespace kavo::monitor::win32 {

using kavo::win32::SelectedObject;
using kavo::win32::UniqueBitmap;
using kavo::win32::UniqueBrush;
using kavo::win32::UniqueDC;
using kavo::win32::UniqueIcon;
using kavo::win32::UniqueKernelHandle;
using kavo::win32::UniqueMenu;
using kavo::win32::UniqueModule;
using kavo::win32::UniqueWindow;
using kavo::win32::WindowDC;

namespace {

TEST(HandleOwnersTest, ReleaseOnDestructionAndMoveOwnership) {
  HMENU menuHandle = ::CreatePopupMenu();
  HANDLE eventHandle = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HICON iconHandle = ::CopyIcon(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
  ASSERT_TRUE(menuHandle && eventHandle && iconHandle);
  {
    UniqueMenu menu(menuHandle);
    UniqueKernelHandle event(eventHandle);
    UniqueIcon icon(iconHandle);
    UniqueMenu movedMenu(std::move(menu));
    UniqueKernelHandle movedEvent;
    movedEvent = std::move(event);
    EXPECT_FALSE(menu);
    EXPECT_FALSE(event);
    EXPECT_TRUE(::IsMenu(menuHandle)) << "a move does not release";
    DWORD flags = 0;
    EXPECT_TRUE(::GetHandleInformation(eventHandle, &flags));
  }
  EXPECT_FALSE(::IsMenu(menuHandle));
  DWORD flags = 0;
  EXPECT_FALSE(::GetHandleInformation(eventHandle, &flags));
  ICONINFO info{};
  EXPECT_FALSE(::GetIconInfo(iconHandle, &info));
}

TEST(HandleOwnersTest, GdiObjectsAreDeletedOnlyOnceDeselected) {
  WindowDC screen(nullptr);
  ASSERT_TRUE(screen);
  HDC memoryHandle = ::CreateCompatibleDC(screen.get());
  HBITMAP bitmapHandle = ::CreateCompatibleBitmap(screen.get(), 8, 8);
  HBRUSH brushHandle = ::CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_TRUE(memoryHandle && bitmapHandle && brushHandle);
  {
    UniqueDC memory(memoryHandle);
    UniqueBitmap bitmap(bitmapHandle);
    UniqueBrush brush(brushHandle);
    const HGDIOBJ original = ::GetCurrentObject(memory.get(), OBJ_BITMAP);
    {
      SelectedObject selected(memory.get(), bitmap.get());
      EXPECT_EQ(::GetCurrentObject(memory.get(), OBJ_BITMAP), bitmapHandle);
    }
    EXPECT_EQ(::GetCurrentObject(memory.get(), OBJ_BITMAP), original) << "the previous bitmap is back";
    UniqueBitmap moved(std::move(bitmap));
    EXPECT_FALSE(bitmap);
    EXPECT_EQ(::GetObjectType(bitmapHandle), static_cast<DWORD>(OBJ_BITMAP)) << "a move does not delete";
  }
  EXPECT_EQ(::GetObjectType(bitmapHandle), 0u);
  EXPECT_EQ(::GetObjectType(brushHandle), 0u);
  EXPECT_EQ(::GetObjectType(memoryHandle), 0u);
}

TEST(WorkerThreadTest, HandlesPostedMessagesInOrderOnItsOwnThread) {
  std::vector<WPARAM> handled;
  std::atomic<DWORD> handlerThread{0};
  WorkerThread worker;
  ASSERT_TRUE(worker.Start(
      [&](UINT message, WPARAM wParam, LPARAM) {
        if (message != WM_USER + 1) return;
        handlerThread = ::GetCurrentThreadId();
        if (wParam == 3) throw std::runtime_error("a failing command");
        if (wParam == 5) ::Sleep(300);  // still running when Stop is called
        handled.push_back(wParam);
      },
      4096));
  // Posted at once after the start: the queue already exists, nothing is lost.
  for (WPARAM i = 1; i <= 5; ++i) EXPECT_TRUE(worker.Post(WM_USER + 1, i, 0));
  worker.Stop();
  EXPECT_EQ(handled, (std::vector<WPARAM>{1, 2, 4, 5})) << "a failing command does not end the worker";
  EXPECT_NE(handlerThread.load(), ::GetCurrentThreadId());
  EXPECT_FALSE(worker.Post(WM_USER + 1, 6, 0)) << "nothing is posted to a stopped worker";
}

// A top-level window with a given title that keeps the messages it receives.
class TitledWindow {
 public:
  explicit TitledWindow(const char* title, DWORD style = WS_OVERLAPPEDWINDOW) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &TitledWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KavoTitledWindow";
    ::RegisterClassA(&windowClass);
    window_.reset(::CreateWindowExA(0, "KavoTitledWindow", title, style, 10, 10, 200, 100, nullptr, nullptr,
                                    windowClass.hInstance, nullptr));
  }
  HWND get() const { return window_.get(); }
  static std::vector<std::vector<LONG_PTR>>& Received() {
    static std::vector<std::vector<LONG_PTR>> received;
    return received;
  }
  static void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) Received().push_back({static_cast<LONG_PTR>(message), static_cast<LONG_PTR>(wParam), lParam});
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  UniqueWindow window_;
};

TEST(Win32DesktopTest, PostsToTheWindowWithExactlyThatTitle) {
  TitledWindow window("Kavo desktop test window");
  ASSERT_TRUE(window.get());
  Win32Desktop desktop;
  TitledWindow::Received().clear();
  EXPECT_TRUE(desktop.PostToWindow("Kavo desktop test window", 1326, 0, 0x00010BB8));
  EXPECT_FALSE(desktop.PostToWindow("Kavo desktop test", 1326, 0, 0)) << "a title's beginning is not enough";
  EXPECT_FALSE(desktop.BringToFront("No such Kavo window"));
  TitledWindow::Pump();
  EXPECT_EQ(TitledWindow::Received(), (std::vector<std::vector<LONG_PTR>>{{1326, 0, 0x00010BB8}}));
}

TEST(Win32DesktopTest, BringToFrontRestoresAMinimisedWindow) {
  TitledWindow window("Kavo minimised test window");
  ASSERT_TRUE(window.get());
  ::ShowWindow(window.get(), SW_SHOWMINIMIZED);
  TitledWindow::Pump();
  ASSERT_TRUE(::IsIconic(window.get()));
  EXPECT_TRUE(Win32Desktop().BringToFront("Kavo minimised test window"));
  TitledWindow::Pump();
  EXPECT_FALSE(::IsIconic(window.get()));
  EXPECT_TRUE(::IsWindowVisible(window.get()));
}

TEST(TrayIconTest, AddAndRemove) {
  TitledWindow owner("Kavo tray owner", WS_POPUP);
  TrayIcon icon(owner.get(), ::GetModuleHandleA(nullptr));
  icon.Add();
  EXPECT_TRUE(icon.shown());
  icon.Remove();
  EXPECT_FALSE(icon.shown());
  icon.Add();  // shown again after a removal, as after the mouse comes back
  EXPECT_TRUE(icon.shown());
}

// Copies of system libraries in a folder that a plain LoadLibrary searches before the system folder, as it
// does the program's own folder, which a user may write to.
class PlantedLibraries {
 public:
  explicit PlantedLibraries(const std::vector<std::string>& names) {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    for (const std::string& name : names) {
      planted_ = ::CopyFileA((std::string(system) + "\\" + name).c_str(), folder_.File(name).c_str(), FALSE) &&
                 planted_;
    }
    planted_ = planted_ && ::SetDllDirectoryA(folder_.path().c_str());
  }
  ~PlantedLibraries() { ::SetDllDirectoryA(nullptr); }
  PlantedLibraries(const PlantedLibraries&) = delete;
  PlantedLibraries& operator=(const PlantedLibraries&) = delete;

  bool planted() const { return planted_; }
  const std::string& folder() const { return folder_.path(); }

 private:
  wine_test::TempFolder folder_;
  bool planted_ = !folder_.path().empty();
};

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : 0);
}

// The folder, ending in a backslash, in lower case.
std::string FolderOf(const std::string& path) {
  std::string folder = path.substr(0, path.rfind('\\') + 1);
  for (char& c : folder) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folder;
}

// Where the loader takes the system's libraries from, as it names the folder.
std::string SystemLibraryFolder() { return FolderOf(ModulePath(::GetModuleHandleA("kernel32.dll"))); }

TEST(SystemLibraryTest, ASystemLibraryComesFromTheSystemFolderWhateverLiesElsewhere) {
  const std::vector<std::string> names = {"wtsapi32.dll", "OLEACC.DLL"};
  for (const std::string& name : names) {
    ASSERT_EQ(::GetModuleHandleA(name.c_str()), nullptr) << name << " loaded before: it would be found by name";
  }
  PlantedLibraries planted(names);
  ASSERT_TRUE(planted.planted());
  struct Loader {
    const char* name;
    UniqueModule (*load)(const char*);
  };
  const Loader loaders[] = {{"the loader's search", LoadSystemLibrary}, {"the full path", LoadSystemLibraryByPath}};
  for (const Loader& loader : loaders) {
    for (const std::string& name : names) {
      SCOPED_TRACE(std::string(loader.name) + ", " + name);
      {
        const UniqueModule module = loader.load(name.c_str());
        ASSERT_TRUE(module);
        EXPECT_EQ(FolderOf(ModulePath(module.get())), SystemLibraryFolder()) << ModulePath(module.get());
      }
      EXPECT_EQ(::GetModuleHandleA(name.c_str()), nullptr) << "unloaded with its owner";
    }
  }
  EXPECT_FALSE(LoadSystemLibrary("kavo-no-such-library.dll"));
  EXPECT_FALSE(LoadSystemLibraryByPath("kavo-no-such-library.dll"));
}

TEST(SystemLibraryTest, SessionNotificationsLoadWtsapi32FromTheSystemFolder) {
  ASSERT_EQ(::GetModuleHandleA("wtsapi32.dll"), nullptr) << "loaded before the test: it would be found by name";
  PlantedLibraries planted({"wtsapi32.dll"});
  ASSERT_TRUE(planted.planted());
  TitledWindow window("Kavo session notifications", WS_POPUP);
  ASSERT_TRUE(window.get());
  {
    SessionNotifications notifications(window.get());
    const HMODULE loaded = ::GetModuleHandleA("wtsapi32.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(FolderOf(ModulePath(loaded)), SystemLibraryFolder()) << ModulePath(loaded);
  }
  EXPECT_EQ(::GetModuleHandleA("wtsapi32.dll"), nullptr) << "unloaded with the notifications";
}

TEST(Win32TimelineTest, WaitsEndAtTheirDeadlineOrSoonAfterAStop) {
  Win32Timeline timeline;
  std::atomic<bool> stop{false};
  timeline.PrecisionNeeded(true);
  for (std::int64_t delay : {0, 1000, 2500, 16000, 40000}) {
    const std::int64_t deadline = timeline.NowMicroseconds() + delay;
    EXPECT_TRUE(timeline.WaitUntil(deadline, stop));
    EXPECT_GE(timeline.NowMicroseconds(), deadline) << "never early, " << delay << " µs";
  }
  const std::int64_t start = timeline.NowMicroseconds();
  std::thread stopper([&] {
    ::Sleep(20);
    stop = true;
  });
  EXPECT_FALSE(timeline.WaitUntil(start + 5000000, stop));
  stopper.join();
  EXPECT_LT(timeline.NowMicroseconds() - start, 1000000) << "a stop ends a five-second wait early";
  timeline.PrecisionNeeded(false);
}

}  // namespace
}  // namespace kavo::monitor::win32
