#include "monitor/win32/win32_process_info.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>

#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

using kavo::win32::UniqueKernelHandle;

namespace {

#ifndef PROCESS_QUERY_LIMITED_INFORMATION
constexpr DWORD PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
#endif

// An id read from a window can outlive its process and be handed to another one. The process opened is
// the window's while it still runs and the window still names its id: proof enough that it is the one in
// front, without listing every process of the system for it.
bool OwnsWindow(HANDLE process, HWND window, DWORD processId) {
  DWORD exitCode = 0;
  if (!::GetExitCodeProcess(process, &exitCode) || exitCode != STILL_ACTIVE) return false;
  DWORD owner = 0;
  return ::GetWindowThreadProcessId(window, &owner) != 0 && owner == processId;
}

// QueryFullProcessImageNameA, which systems before Vista do not have.
using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
QueryImageName ImageNameQuery() {
  static const auto query = reinterpret_cast<QueryImageName>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
  return query;
}

class ProcessNameReaders final : public ProgramNameReaders {
 public:
  ProcessNameReaders(HWND window, DWORD processId) : window_(window), processId_(processId) {}

  std::optional<std::string> ImagePathWithLimitedRights() override {
    const QueryImageName query = ImageNameQuery();
    if (query == nullptr) return std::nullopt;
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId_));
    if (!process || !OwnsWindow(process.get(), window_, processId_)) return std::nullopt;
    char path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!query(process.get(), 0, path, &length) || length == 0 || length >= MAX_PATH) return std::nullopt;
    return std::string(path, length);
  }

  std::optional<std::string> FirstModuleBaseName() override {
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId_));
    if (!process || !OwnsWindow(process.get(), window_, processId_)) return std::nullopt;
    HMODULE firstModule = nullptr;
    DWORD needed = 0;
    if (!::EnumProcessModules(process.get(), &firstModule, sizeof firstModule, &needed) || needed == 0) {
      return std::nullopt;
    }
    char name[MAX_PATH] = {};
    const DWORD length = ::GetModuleBaseNameA(process.get(), firstModule, name, MAX_PATH);
    if (length == 0) return std::nullopt;
    return std::string(name, std::min<DWORD>(length, MAX_PATH - 1));
  }

 private:
  HWND window_;
  DWORD processId_;
};

}  // namespace

std::optional<std::string> Win32ProcessInfo::ForegroundModuleBaseName() {
  DWORD processId = 0;
  HWND foreground = ::GetForegroundWindow();
  if (!foreground || !::GetWindowThreadProcessId(foreground, &processId) || processId == 0) return std::nullopt;
  ProcessNameReaders readers(foreground, processId);
  return ReadProgramName(readers);
}

}  // namespace kavo::monitor::win32
