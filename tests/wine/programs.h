#pragma once
// Programs the Windows-side suites start and the windows they look for: waiting for a condition, a started
// process with its handle, and the top-level windows of a process by title.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace kavo::wine_test {

// Polls until done() holds or the time is up; true when it held.
template <typename Condition>
bool WaitFor(Condition done, DWORD milliseconds, DWORD step = 20) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start >= milliseconds) return false;
    ::Sleep(step);
  }
  return true;
}

struct ChildProcess {
  win32::UniqueKernelHandle handle;
  DWORD id = 0;

  bool Running() const { return handle && ::WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT; }
  // True when it ended within the time.
  bool WaitForExit(DWORD milliseconds) const {
    return handle && ::WaitForSingleObject(handle.get(), milliseconds) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle) ::GetExitCodeProcess(handle.get(), &code);
    return code;
  }
};

// A whole command line as the shell runs one (a Run value, a shortcut's target and arguments).
inline ChildProcess StartCommandLine(std::string commandLine, const std::string& folder) {
  ChildProcess child;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &info)) {
    ::CloseHandle(info.hThread);
    child.handle.reset(info.hProcess);
    child.id = info.dwProcessId;
  }
  return child;
}

inline ChildProcess StartProgram(const std::string& path, const std::string& arguments, const std::string& folder) {
  return StartCommandLine("\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments), folder);
}

struct WindowSearch {
  DWORD processId;  // 0: any process
  std::string title;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (search.processId != 0 && owner != search.processId) return TRUE;
  // Read without a message to the window: a program that hangs must not hang the test with it.
  wchar_t wide[256] = {};
  ::InternalGetWindowText(window, wide, 256);
  char text[512] = {};
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  if (!search.title.empty() && search.title != text) return TRUE;
  search.found.push_back(window);
  return TRUE;
}

// Top-level windows, hidden ones too, of one process (any when 0) with the given title (any when empty).
inline std::vector<HWND> TopLevelWindows(DWORD processId, const std::string& title) {
  WindowSearch search{processId, title, {}};
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline DWORD WindowProcess(HWND window) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  return owner;
}

}  // namespace kavo::wine_test
