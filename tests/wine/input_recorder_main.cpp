// kavo-input-recorder.exe: sees every key and mouse-button event the system receives, injected ones
// included, through low-level hooks, and records each with a QueryPerformanceCounter timestamp taken in the
// hook. Used by tests and benchmarks to watch what another process injects.
//
//   kavo-input-recorder OUTPUT_FILE STOP_EVENT READY_EVENT
//
// OUTPUT_FILE gets a first line "frequency <QPC ticks per second>", then one line per event:
//   key <vk> <down|up> <scan> <flags> <qpc>
//   mouse <left|right|middle|x1|x2> <down|up> <qpc>
// Lines are written as soon as the hook has returned (never inside it, so the injecting process is not kept
// waiting for the file), and the file stays readable meanwhile. READY_EVENT (a named manual-reset event) is
// set and "ready" printed once both hooks are installed. The program ends, after writing every event it saw,
// when STOP_EVENT (a named event) is set or its hidden window "Kavo Input Recorder" gets WM_CLOSE.
// Exit code 0 on a clean end, 2 on a bad command line, 3 when the file, the events or the hooks fail.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kWindowTitle[] = "Kavo Input Recorder";
constexpr char kWindowClass[] = "KavoInputRecorderWindow";

// Filled by the hooks and emptied by the loop, both on the one thread that owns the hooks.
std::vector<std::string> g_pending;

void Record(std::string line) { g_pending.push_back(std::move(line)); }

long long Now() {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const long long now = Now();
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
    char line[128];
    std::snprintf(line, sizeof line, "key %lu %s %lu %lu %lld", static_cast<unsigned long>(key->vkCode),
                  down ? "down" : "up", static_cast<unsigned long>(key->scanCode),
                  static_cast<unsigned long>(key->flags), now);
    Record(line);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const long long now = Now();
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    const char* button = nullptr;
    bool down = false;
    switch (wParam) {
      case WM_LBUTTONDOWN: button = "left", down = true; break;
      case WM_LBUTTONUP: button = "left"; break;
      case WM_RBUTTONDOWN: button = "right", down = true; break;
      case WM_RBUTTONUP: button = "right"; break;
      case WM_MBUTTONDOWN: button = "middle", down = true; break;
      case WM_MBUTTONUP: button = "middle"; break;
      case WM_XBUTTONDOWN:
      case WM_XBUTTONUP:
        button = HIWORD(mouse->mouseData) == XBUTTON2 ? "x2" : "x1";
        down = wParam == WM_XBUTTONDOWN;
        break;
      default: break;  // moves and wheels are not recorded
    }
    if (button != nullptr) {
      char line[96];
      std::snprintf(line, sizeof line, "mouse %s %s %lld", button, down ? "down" : "up", now);
      Record(line);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool WriteAll(HANDLE file, const std::string& text) {
  DWORD written = 0;
  return ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool Flush(HANDLE file) {
  if (g_pending.empty()) return true;
  std::string text;
  for (const auto& line : g_pending) text += line + "\n";
  g_pending.clear();
  return WriteAll(file, text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

struct Owned {
  HANDLE file = INVALID_HANDLE_VALUE;
  HANDLE stop = nullptr;
  HANDLE ready = nullptr;
  HHOOK keyboard = nullptr;
  HHOOK mouse = nullptr;
  HWND window = nullptr;
  ~Owned() {
    if (window) ::DestroyWindow(window);
    if (mouse) ::UnhookWindowsHookEx(mouse);
    if (keyboard) ::UnhookWindowsHookEx(keyboard);
    if (ready) ::CloseHandle(ready);
    if (stop) ::CloseHandle(stop);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kavo-input-recorder OUTPUT_FILE STOP_EVENT READY_EVENT\n");
    return 2;
  }
  Owned owned;
  owned.file = ::CreateFileA(argv[1], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  owned.stop = ::CreateEventA(nullptr, TRUE, FALSE, argv[2]);
  owned.ready = ::CreateEventA(nullptr, TRUE, FALSE, argv[3]);
  if (owned.file == INVALID_HANDLE_VALUE || !owned.stop || !owned.ready) {
    std::fprintf(stderr, "kavo-input-recorder: cannot open the file or the events (error %lu)\n", ::GetLastError());
    return 3;
  }
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  if (!WriteAll(owned.file, "frequency " + std::to_string(frequency.QuadPart) + "\n")) return 3;

  // The hooks are called on this thread, from its message retrieval; keep that fast and frequent.
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kWindowClass;
  ::RegisterClassA(&windowClass);
  owned.window = ::CreateWindowExA(0, kWindowClass, kWindowTitle, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
  g_pending.reserve(4096);
  owned.keyboard = ::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, ::GetModuleHandleA(nullptr), 0);
  owned.mouse = ::SetWindowsHookExA(WH_MOUSE_LL, MouseHook, ::GetModuleHandleA(nullptr), 0);
  if (!owned.window || !owned.keyboard || !owned.mouse) {
    std::fprintf(stderr, "kavo-input-recorder: cannot install the hooks (error %lu)\n", ::GetLastError());
    return 3;
  }
  ::SetEvent(owned.ready);
  std::printf("ready\n");
  std::fflush(stdout);

  bool running = true;
  bool written = true;
  while (running) {
    const DWORD woke = ::MsgWaitForMultipleObjects(1, &owned.stop, FALSE, INFINITE, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) running = false;
      ::DispatchMessageA(&message);
    }
    written = Flush(owned.file) && written;
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) running = false;
  }
  // Events already on their way when the stop came are taken too.
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  written = Flush(owned.file) && written;
  return written ? 0 : 3;
}
