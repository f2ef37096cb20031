#include "option/common/win32/keyboard_hook.h"

#include <cstdio>

#include "platform/win32/debug_trace.h"
#include "platform/win32/win32_handles.h"

namespace kavo::option::win32 {
namespace {

// Program-wide: the hook procedure has no other way to find them. The owner unhooks at the program's end
// a hook that nothing removed.
kavo::win32::UniqueHook g_hook;
HWND g_target = nullptr;
KeysDownAtStart g_downAtStart;

using kavo::win32::DebugTrace;

void TraceHandle(HHOOK hook) {
  char line[48];
  std::snprintf(line, sizeof line, "Hhook: %llx\r\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hook)));
  DebugTrace(line);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0) return 1;
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  char line[48];
  std::snprintf(line, sizeof line, "vkcode=%lx,scancode=%lx\n", static_cast<unsigned long>(key->vkCode),
                static_cast<unsigned long>(key->scanCode));
  DebugTrace(line);
  const bool released = (key->flags & kKeyReleased) != 0;
  switch (g_downAtStart.OnKey(static_cast<int>(key->vkCode), released)) {
    case StartKeyVerdict::kPassOn:
      return ::CallNextHookEx(nullptr, code, wParam, lParam);
    case StartKeyVerdict::kIgnore:
      return 1;
    case StartKeyVerdict::kCapture:
      break;
  }
  ::PostMessageA(g_target, kWmKeyCaptured, key->vkCode, static_cast<LPARAM>(released ? kKeyReleased : 0));
  // The next hook is never called: no captured key reaches any other program.
  return 1;
}

}  // namespace

bool InstallKeyboardHook(HWND target) {
  RemoveKeyboardHook();
  g_target = target;
  g_downAtStart.Start(KeyDownNow);
  g_hook.reset(::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, ::GetModuleHandleA(nullptr), 0));
  TraceHandle(g_hook.get());
  return static_cast<bool>(g_hook);
}

void RemoveKeyboardHook() {
  if (!g_hook) return;
  // Unhooked here rather than by the owner, whose closing reports no outcome to trace.
  const HHOOK hook = g_hook.release();
  TraceHandle(hook);
  DebugTrace(::UnhookWindowsHookEx(hook) ? "UnHhook: Success \r\n" : "UnHhook: Fail \r\n");
  g_target = nullptr;
}

bool KeyboardHookInstalled() { return static_cast<bool>(g_hook); }

bool KeyDownNow(int virtualKey) { return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace kavo::option::win32
