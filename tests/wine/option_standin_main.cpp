// kavo-option-standin.exe: a test-only program that the service's end-to-end tests copy into a program
// folder as "KavoOption.exe", so that the service can start it and talk to it like the configuration
// program. It makes the configuration program's top-level window and writes what happens to it, one line
// at a time, into "option-standin.log" beside itself: "start", then the number of each notification it gets
// (1254, 1255, 1257) and "close" for WM_CLOSE, which also ends it. Each line is opened, appended and closed
// on its own, so a test reading the log never misses one.
//
// Run as "kavo-option-standin.exe pointer" it shows no window and instead writes the running system's pointer
// settings to its standard output, one per line. Wine keeps these settings per process once read, so a test
// that wants to see what another process set must ask a process that has not read them yet.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kWindowTitle[] = "VELMAR Kavo Mouse Option";
constexpr char kClassName[] = "KavoOptionStandIn";
constexpr UINT kLoggedMessages[] = {1254, 1255, 1257};

std::string LogPath() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  const std::size_t slash = folder.find_last_of("\\/");
  folder.erase(slash == std::string::npos ? 0 : slash + 1);
  return folder + "option-standin.log";
}

void Log(const std::string& line) {
  const HANDLE file = ::CreateFileA(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (UINT logged : kLoggedMessages) {
    if (message == logged) {
      Log(std::to_string(message));
      return 0;
    }
  }
  switch (message) {
    case WM_CLOSE:
      Log("close");
      ::DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

int PrintPointerSettings() {
  int speed = 0;
  UINT lines = 0;
  UINT chars = 0;
  int acceleration[3] = {};
  ::SystemParametersInfoA(SPI_GETMOUSESPEED, 0, &speed, 0);
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &chars, 0);
  ::SystemParametersInfoA(SPI_GETMOUSE, 0, acceleration, 0);
  char text[256];
  const int length = std::snprintf(text, sizeof text,
                                   "double-click %u\nspeed %d\nwheel-lines %u\nwheel-chars %u\nacceleration %d %d %d\n",
                                   ::GetDoubleClickTime(), speed, lines, chars, acceleration[0], acceleration[1],
                                   acceleration[2]);
  DWORD written = 0;
  return ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(length), &written, nullptr) ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (commandLine != nullptr && std::strcmp(commandLine, "pointer") == 0) return PrintPointerSettings();

  Log("start");
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (!::RegisterClassA(&windowClass)) return 1;
  if (!::CreateWindowExA(0, kClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 300,
                         nullptr, nullptr, instance, nullptr)) {
    return 1;
  }
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
