#include "monitor/win32/win32_media_players.h"

namespace kavo::monitor::win32 {
namespace {

HWND WindowOf(DesktopWindow window) { return reinterpret_cast<HWND>(window); }
DesktopWindow IdOf(HWND window) { return reinterpret_cast<DesktopWindow>(window); }

// A player that stops answering must not stop the service's window thread with it.
constexpr UINT kSendTimeout = 5000;  // ms

}  // namespace

DesktopWindow Win32PlayerDesktop::FindTopWindow(const char* className, const char* title) {
  return IdOf(::FindWindowA(className, title));
}

DesktopWindow Win32PlayerDesktop::NextWindow(DesktopWindow window) {
  return IdOf(::GetWindow(WindowOf(window), GW_HWNDNEXT));
}

std::string Win32PlayerDesktop::ClassName(DesktopWindow window) {
  char name[256] = {};
  const int length = ::GetClassNameA(WindowOf(window), name, sizeof name);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string Win32PlayerDesktop::Title(DesktopWindow window) {
  char title[512] = {};
  const int length = ::GetWindowTextA(WindowOf(window), title, sizeof title);
  return std::string(title, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void Win32PlayerDesktop::Post(DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  ::PostMessageA(WindowOf(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void Win32PlayerDesktop::Send(DesktopWindow window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(WindowOf(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                        SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeout, &result);
}

void Win32PlayerDesktop::BringToFront(DesktopWindow window) {
  // Windows lets a thread take the foreground only while it shares the foreground thread's input.
  const HWND foreground = ::GetForegroundWindow();
  const DWORD foregroundThread = foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
  const DWORD ownThread = ::GetWindowThreadProcessId(serviceWindow_, nullptr);
  const bool attached = foregroundThread != 0 && ownThread != 0 && foregroundThread != ownThread &&
                        ::AttachThreadInput(foregroundThread, ownThread, TRUE);
  ::SetForegroundWindow(WindowOf(window));
  if (attached) ::AttachThreadInput(foregroundThread, ownThread, FALSE);
}

void Win32PlayerDesktop::StartProgram(const std::string& commandLine) {
  ::WinExec(commandLine.c_str(), SW_SHOWNORMAL);
}

std::string Win32PlayerDesktop::ExpandEnvironment(const std::string& text) {
  char expanded[kPlayerRegistryValueBytes] = {};
  const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), expanded, sizeof expanded);
  if (needed == 0 || needed > sizeof expanded) return std::string();  // a cut path would start another program
  return expanded;
}

DesktopWindow Win32PlayerDesktop::ServiceWindow() { return IdOf(serviceWindow_); }

}  // namespace kavo::monitor::win32
