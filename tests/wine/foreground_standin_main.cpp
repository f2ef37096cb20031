// kavo-foreground-standin.exe: a test program that puts a visible window in front and keeps it there
// until it is closed. Copied under a game's file name, it is the game in front for the service. Each time
// its window is activated it sends the foreground notification that Windows sends with every foreground
// change and Wine 8 does not.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
    ::NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
  }
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "KavoForegroundStandIn";
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  if (!::RegisterClassA(&windowClass)) return 1;
  HWND window = ::CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "Kavo game stand-in",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 320, 200, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ::SetForegroundWindow(window);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
