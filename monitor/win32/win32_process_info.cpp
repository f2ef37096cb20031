#include "monitor/win32/win32_process_info.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <vector>

#include "settings/win32/win32_handles.h"

namespace kavo::win32 {
namespace {

constexpr DWORD kProcessIdRoom = 1024;
#ifndef PROCESS_QUERY_LIMITED_INFORMATION
constexpr DWORD PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
#endif

// Only a process the system lists is looked into: an id from a window can outlive its process.
bool IsRunning(DWORD processId) {
  std::vector<DWORD> ids(kProcessIdRoom);
  DWORD bytes = 0;
  if (!::EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes) || bytes == 0) return false;
  ids.resize(bytes / sizeof(DWORD));
  return std::find(ids.begin(), ids.end(), processId) != ids.end();
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
  explicit ProcessNameReaders(DWORD processId) : processId_(processId) {}

  std::optional<std::string> ImagePathWithLimitedRights() override {
    const QueryImageName query = ImageNameQuery();
    if (query == nullptr) return std::nullopt;
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId_));
    if (!process) return std::nullopt;
    char path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!query(process.get(), 0, path, &length) || length == 0 || length >= MAX_PATH) return std::nullopt;
    return std::string(path, length);
  }

  std::optional<std::string> FirstModuleBaseName() override {
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId_));
    if (!process) return std::nullopt;
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
  DWORD processId_;
};

}  // namespace

std::optional<std::string> Win32ProcessInfo::ForegroundModuleBaseName() {
  DWORD processId = 0;
  HWND foreground = ::GetForegroundWindow();
  if (!foreground || !::GetWindowThreadProcessId(foreground, &processId) || !IsRunning(processId)) return std::nullopt;
  ProcessNameReaders readers(processId);
  return ReadProgramName(readers);
}

}  // namespace kavo::win32
