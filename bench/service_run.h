#pragma once
// The service and the simulated mouse in a fresh program folder, for the benchmarks: profiles written as
// the caller makes them, their button codes put into the mouse, the service started and, at the end, told
// to exit.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "monitor/service_messages.h"
#include "outside/device-sim/win32/shared_mouse.h"
#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "settings/settings_record.h"
#include "platform/win32/module_folder.h"
#include "settings/win32/win32_file_system.h"
#include "platform/win32/win32_handles.h"
#include "settings/win32/win32_registry.h"
#include "tests/wine/temp_folder.h"

namespace kavo::bench {

// Runs a tool to its end; true when it ended within half a minute with exit code 0.
inline bool RunTool(const std::string& program, const std::string& arguments) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
    return false;
  }
  win32::UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  DWORD code = 1;
  return ::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0 &&
         ::GetExitCodeProcess(process.hProcess, &code) && code == 0;
}

class ServiceRun {
 public:
  // edit makes profile p from its defaults. monitor is the service's program as built, copied in as
  // "KavoMonitor.exe".
  explicit ServiceRun(const std::function<void(int p, ProfileRecord&)>& edit,
                      const std::string& monitor = "KavoMonitor.exe") {
    const std::string built = win32::ModuleFolder();
    program_ = root_.Subfolder("program");
    ::CreateDirectoryA((program_ + "config").c_str(), nullptr);
    const std::pair<std::string, std::string> copies[] = {
        {monitor, "KavoMonitor.exe"}, {"Kelsor.dll", "Kelsor.dll"}, {"kavo-sim.exe", "kavo-sim.exe"}};
    for (const auto& [from, to] : copies) {
      if (!::CopyFileA((built + from).c_str(), (program_ + to).c_str(), FALSE)) {
        problem_ = "cannot copy " + from;
        return;
      }
    }
    IniFileAccess profiles(files_);
    SettingsFiles settings(program_, profiles, files_, registry_);
    auto record = std::make_unique<SettingsRecord>();
    ClearRecord(*record);
    for (int p = 0; p < kProfileCount; ++p) {
      ProfileRecord& profile = record->profiles[p];
      ResetProfile(profile, p);
      edit(p, profile);
      if (settings.WriteProfile(profile, settings.SlotPath(p)) != 1) {
        problem_ = "cannot write the profile files";
        return;
      }
    }
    auto mouse = sim::win32::SharedMouse::Open(program_);
    if (!mouse || !mouse->Access([&](sim::MouseMemory& memory) {
          for (int p = 0; p < kProfileCount; ++p) {
            for (int b = 0; b < kButtonSlotCount; ++b) {
              memory.profiles[p].buttons[b] = record->profiles[p].buttons[b].function;
            }
          }
        })) {
      problem_ = "cannot set up the simulated mouse";
    }
  }
  ~ServiceRun() {
    if (!service_) return;
    if (HWND window = Window()) ::PostMessageA(window, WM_COMMAND, kCmdExit, 0);
    if (::WaitForSingleObject(service_.get(), 30000) != WAIT_OBJECT_0) ::TerminateProcess(service_.get(), 1);
  }
  ServiceRun(const ServiceRun&) = delete;
  ServiceRun& operator=(const ServiceRun&) = delete;

  const std::string& Problem() const { return problem_; }
  const std::string& program() const { return program_; }

  // An integer of section "Setting" of config.ini, written before the start.
  bool WriteConfigInt(const char* key, int value) {
    IniFileAccess access(files_);
    auto config = access.Open(SettingsFiles(program_, access, files_, registry_).ConfigPath());
    config->WriteInt("Setting", key, value);
    return config->Commit();
  }

  bool Start() {
    std::string commandLine = "\"" + program_ + "KavoMonitor.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
      return false;
    }
    ::CloseHandle(process.hThread);
    service_.reset(process.hProcess);
    serviceId_ = process.dwProcessId;
    return true;
  }
  HWND Window() const {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, nullptr, kMonitorWindowTitle)) != nullptr) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == serviceId_) return window;
    }
    return nullptr;
  }
  bool Sim(const std::string& arguments) { return RunTool(program_ + "kavo-sim.exe", arguments); }

 private:
  wine_test::TempFolder root_;
  std::string program_;
  std::string problem_;
  win32::Win32FileSystem files_;
  win32::Win32Registry registry_;
  win32::UniqueKernelHandle service_;
  DWORD serviceId_ = 0;
};

}  // namespace kavo::bench
