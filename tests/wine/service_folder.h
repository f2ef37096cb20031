#pragma once
// A fresh program folder for running KavoMonitor.exe for real: copies of the service, the device library
// (a factory-fresh simulated mouse, plugged in), its control tool, optionally the on-screen display, and the
// configuration program's stand-in. It starts and ends the service, drives the mouse through kavo-sim,
// reads what the service wrote, asks a fresh process for the running system's pointer settings, and finds
// every program still running from the folder so that none outlives a test.
#include <windows.h>
#include <tlhelp32.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "outside/device-sim/wine/mouse_folder.h"
#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "platform/win32/module_folder.h"
#include "settings/win32/win32_file_system.h"
#include "platform/win32/win32_handles.h"
#include "settings/win32/win32_registry.h"
#include "tests/support/text_lines.h"
#include "tests/wine/programs.h"
#include "tests/wine/temp_folder.h"

namespace kavo::wine_test {

constexpr char kMonitorTitle[] = "VELMAR Kavo Mouse Monitor";
constexpr char kOptionTitle[] = "VELMAR Kavo Mouse Option";
constexpr char kOsdTitle[] = "VELMAR Kavo Mouse OSD";
constexpr char kInstanceMutexName[] = "VELMAR_Kavo_Mouse_Normal_Monitor";

// Messages the service takes from other programs, and the ones it sends them.
constexpr UINT kApplyMessage = 1224;
constexpr UINT kFetchMessage = 1226;
constexpr UINT kFetchAndPointerMessage = 1227;
constexpr UINT kProfilesReadMessage = 1254;
constexpr UINT kDisplaySettingsMessage = 1326;
constexpr WPARAM kTrayExitCommand = 6002;

constexpr char kStandInLog[] = "option-standin.log";

// The running system's pointer settings as a process that never read them before sees them.
struct PointerState {
  unsigned doubleClick = 0;
  int speed = 0;
  unsigned wheelLines = 0;
  unsigned wheelChars = 0;
  int acceleration[3] = {};  // threshold 1, threshold 2, speed
  bool read = false;

  static PointerState Parse(const std::string& text) {
    PointerState state;
    state.read = std::sscanf(text.c_str(), "double-click %u speed %d wheel-lines %u wheel-chars %u acceleration %d %d %d",
                             &state.doubleClick, &state.speed, &state.wheelLines, &state.wheelChars,
                             &state.acceleration[0], &state.acceleration[1], &state.acceleration[2]) == 7;
    return state;
  }
  std::string Describe() const {
    return "double-click " + std::to_string(doubleClick) + ", speed " + std::to_string(speed) + ", wheel lines " +
           std::to_string(static_cast<int>(wheelLines)) + ", wheel chars " + std::to_string(wheelChars) +
           ", acceleration " + std::to_string(acceleration[0]) + " " + std::to_string(acceleration[1]) + " " +
           std::to_string(acceleration[2]);
  }
};

inline bool NamedObjectExists(bool mapping, const char* name) {
  win32::UniqueKernelHandle handle(mapping ? ::OpenFileMappingA(FILE_MAP_READ, FALSE, name)
                                           : ::OpenMutexA(SYNCHRONIZE, FALSE, name));
  return static_cast<bool>(handle);
}

class ServiceFolder {
 public:
  struct RunningProgram {
    DWORD id;
    std::string image;
  };

  // withDisplay: KavoOSD.exe is there for the service to start. Without it a test may make a window of
  // its own with the display's title.
  explicit ServiceFolder(bool withDisplay) {
    if (program_.empty()) return;
    ::CreateDirectoryA((program_ + "config").c_str(), nullptr);
    const std::string built = win32::ModuleFolder();
    std::vector<std::pair<std::string, std::string>> copies = {{"KavoMonitor.exe", "KavoMonitor.exe"},
                                                               {"Kelsor.dll", "Kelsor.dll"},
                                                               {"kavo-sim.exe", "kavo-sim.exe"},
                                                               {"kavo-option-standin.exe", "KavoOption.exe"}};
    if (withDisplay) copies.emplace_back("KavoOSD.exe", "KavoOSD.exe");
    for (const auto& [from, to] : copies) {
      if (!::CopyFileA((built + from).c_str(), (program_ + to).c_str(), FALSE)) {
        missing_ += from + " ";
      }
    }
  }
  ~ServiceFolder() { EndEverything(); }

  // Puts the real configuration program in place of the stand-in, with its help libraries and the media of
  // its double-click test, from the folder built (this build's by default); false when a file could not be
  // copied.
  bool InstallConfigurationProgram(const std::string& built = win32::ModuleFolder()) {
    bool copied = ::CopyFileA((built + "KavoOption.exe").c_str(), File("KavoOption.exe").c_str(), FALSE) != 0;
    for (const char* folder : {"help", "wave"}) {
      ::CreateDirectoryA(File(folder).c_str(), nullptr);
      WIN32_FIND_DATAA found{};
      const win32::UniqueFind search(::FindFirstFileA((built + folder + "\\*.*").c_str(), &found));
      if (!search) continue;
      do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string name = std::string(folder) + "\\" + found.cFileName;
        copied = ::CopyFileA((built + name).c_str(), File(name).c_str(), FALSE) != 0 && copied;
      } while (::FindNextFileA(search.get(), &found));
    }
    return copied;
  }
  ServiceFolder(const ServiceFolder&) = delete;
  ServiceFolder& operator=(const ServiceFolder&) = delete;

  // Empty when the folder is complete; else what could not be copied.
  std::string Problem() const { return program_.empty() ? "no temporary folder" : missing_; }
  const std::string& program() const { return program_; }
  std::string File(const std::string& name) const { return program_ + name; }
  SettingsFiles& settings() { return settings_; }
  FileSystem& files() { return files_; }

  // The simulated mouse through its control tool.
  sim::wine_test::ProgramRun Sim(const std::string& arguments) {
    return sim::wine_test::RunProgram(File("kavo-sim.exe"), arguments);
  }
  std::string SimOk(const std::string& arguments) {
    const auto run = Sim(arguments);
    EXPECT_EQ(run.exitCode, 0u) << "kavo-sim " << arguments << ": " << run.err;
    return run.out;
  }
  // "kavo-sim dump" as lines: active, firmware, pid, host-active, resets, then settings and buttons of each
  // profile.
  std::vector<std::string> Dump() {
    return test::TextLines(SimOk("dump"));
  }

  // One line of the dump; empty when the dump has no such line.
  std::string DumpLine(std::size_t index) {
    const auto lines = Dump();
    return index < lines.size() ? lines[index] : std::string();
  }

  // An integer of section "Setting" of config.ini, read afresh.
  int ConfigInt(const char* key, int fallback) {
    return profiles_.Open(settings_.ConfigPath())->ReadInt("Setting", key, fallback);
  }
  bool SlotFileExists(int slot) { return files_.IsReadable(settings_.SlotPath(slot)); }

  // The lines the configuration program's stand-in logged so far.
  std::vector<std::string> StandInLog() {
    std::string text;
    if (!files_.Read(File(kStandInLog), text)) return {};
    return test::TextLines(text);
  }

  static PointerState Pointer() {
    const auto run = sim::wine_test::RunProgram(win32::ModuleFolder() + "kavo-option-standin.exe", "pointer");
    return PointerState::Parse(run.out);
  }

  // Starts the service from another working folder, so that only its own module folder can lead it to
  // its files.
  bool Start(const std::string& arguments = "") {
    service_ = StartProgram(File("KavoMonitor.exe"), arguments, elsewhere_);
    return static_cast<bool>(service_.handle);
  }
  ChildProcess StartAnother(const std::string& arguments = "") {
    return StartProgram(File("KavoMonitor.exe"), arguments, elsewhere_);
  }
  const ChildProcess& service() const { return service_; }

  // The service's window, or null.
  HWND MonitorWindow() const {
    if (service_.id == 0) return nullptr;
    const auto windows = TopLevelWindows(service_.id, kMonitorTitle);
    return windows.empty() ? nullptr : windows.front();
  }
  bool WaitForMonitorWindow(DWORD milliseconds) const {
    return WaitFor([&] { return MonitorWindow() != nullptr || !service_.Running(); }, milliseconds) &&
           MonitorWindow() != nullptr;
  }

  // The tray menu's Exit; true when the service ended within the time.
  bool Exit(DWORD milliseconds) {
    if (HWND window = MonitorWindow()) ::PostMessageA(window, WM_COMMAND, kTrayExitCommand, 0);
    return service_.WaitForExit(milliseconds);
  }

  // Every process started from the program folder, found by its image path.
  std::vector<RunningProgram> RunningPrograms() const {
    std::vector<RunningProgram> running;
    if (program_.empty()) return running;
    const HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE) return running;
    win32::UniqueKernelHandle snapshot(taken);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry)) {
      if (entry.th32ProcessID == ::GetCurrentProcessId()) continue;
      win32::UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
      if (!process) continue;
      char image[MAX_PATH * 2] = {};
      DWORD size = sizeof image;
      if (!::QueryFullProcessImageNameA(process.get(), 0, image, &size)) continue;
      if (StartsWithIgnoringCase(std::string(image, size), program_)) running.push_back({entry.th32ProcessID, image});
    }
    return running;
  }

  // Ends the service as its tray menu does, then whatever else still runs from the folder. Returns what
  // did not end by itself: the service when it ignored Exit, and any program still running after the
  // service (which closes them as it ends) was gone.
  std::vector<std::string> EndEverything() {
    std::vector<std::string> leftovers;
    if (service_.Running()) {
      if (!Exit(20000)) {
        leftovers.push_back("KavoMonitor.exe did not end on the tray menu's Exit");
        if (HWND window = MonitorWindow()) ::PostMessageA(window, WM_CLOSE, 0, 0);
        if (!service_.WaitForExit(5000)) ::TerminateProcess(service_.handle.get(), 9);
        service_.WaitForExit(5000);
      }
    }
    // The programs the service started get its WM_CLOSE as it ends; give them the time to go.
    WaitFor([&] { return RunningPrograms().empty(); }, 5000, 100);
    for (const auto& left : RunningPrograms()) {
      leftovers.push_back(left.image + " still ran after the service had ended");
      for (HWND window : TopLevelWindows(left.id, "")) ::PostMessageA(window, WM_CLOSE, 0, 0);
      win32::UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, left.id));
      if (process && ::WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 9);
        ::WaitForSingleObject(process.get(), 5000);
      }
    }
    return leftovers;
  }

 private:
  static bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
        return false;
      }
    }
    return true;
  }

  TempFolder root_;
  std::string program_ = root_.path().empty() ? "" : root_.Subfolder("program");
  std::string elsewhere_ = root_.path().empty() ? "" : root_.Subfolder("elsewhere");
  std::string missing_;
  win32::Win32FileSystem files_;
  win32::Win32Registry registry_;
  IniFileAccess profiles_{files_};
  SettingsFiles settings_{program_, profiles_, files_, registry_};
  ChildProcess service_;
};

}  // namespace kavo::wine_test
