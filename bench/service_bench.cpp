// How quickly the service gets going and answers the configuration program: the time from starting
// KavoMonitor.exe to its first feature report to the mouse, and the time a message 1224 without change
// flags takes to return. Runs the real programs (service, simulated mouse) from a fresh program folder.
// usage: service_bench [starts] [applies]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "monitor/service_messages.h"
#include "settings/settings_record.h"
#include "platform/win32/module_folder.h"
#include "settings/win32/shared_block.h"
#include "platform/win32/win32_handles.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/temp_folder.h"

namespace {

using Clock = std::chrono::steady_clock;
using kavo::win32::UniqueKernelHandle;

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

void PrintFigures(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("%-44s n=%-3zu min %8.2f ms  median %8.2f ms  max %8.2f ms\n", what, samples.size(), samples.front(),
              samples[samples.size() / 2], samples.back());
}

// A program folder with the service and the simulated mouse, fresh from the factory.
class ProgramFolder {
 public:
  ProgramFolder() {
    const std::string built = kavo::win32::ModuleFolder();
    for (const char* name : {"KavoMonitor.exe", "Kelsor.dll", "kavo-sim.exe"}) {
      if (!::CopyFileA((built + name).c_str(), folder_.File(name).c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s\n", name);
        std::exit(1);
      }
    }
    folder_.Subfolder("config");
  }
  std::string File(const char* name) const { return folder_.File(name); }

 private:
  kavo::wine_test::TempFolder folder_;
};

UniqueKernelHandle StartService(const ProgramFolder& folder) {
  std::string commandLine = "\"" + folder.File("KavoMonitor.exe") + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start the service\n");
    std::exit(1);
  }
  ::CloseHandle(process.hThread);
  return UniqueKernelHandle(process.hProcess);
}

// The service writes the firmware version the moment the mouse has answered its first report.
bool FirmwareVersionWritten(const ProgramFolder& folder) {
  char value[16] = {};
  ::GetPrivateProfileStringA("Setting", "FWVersion", "", value, sizeof value, folder.File("config.ini").c_str());
  return value[0] != '\0';
}

HWND WaitForWindow(const char* title, Clock::duration limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    if (HWND window = ::FindWindowA(nullptr, title)) return window;
    if (Clock::now() > deadline) return nullptr;
    ::Sleep(1);
  }
}

void EndService(const UniqueKernelHandle& process) {
  if (HWND window = ::FindWindowA(nullptr, kavo::kMonitorWindowTitle)) ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
}

double StartUpToFirstReport() {
  ProgramFolder folder;
  const auto start = Clock::now();
  UniqueKernelHandle service = StartService(folder);
  const auto deadline = start + std::chrono::seconds(30);
  while (!FirmwareVersionWritten(folder) && Clock::now() < deadline) ::Sleep(1);
  const double elapsed = Milliseconds(Clock::now() - start);
  EndService(service);
  return elapsed;
}

std::vector<double> ApplyRoundTrips(int count) {
  ProgramFolder folder;
  kavo::wine_test::RecordingWindow option(kavo::kOptionWindowTitle);  // learns when the mouse was read
  UniqueKernelHandle service = StartService(folder);
  std::vector<double> samples;
  if (!option.WaitFor(kavo::kMsgFreshData, 1, 60000)) {
    std::fprintf(stderr, "the service never announced its first read\n");
    EndService(service);
    return samples;
  }
  HWND monitor = WaitForWindow(kavo::kMonitorWindowTitle, std::chrono::seconds(5));
  auto mutex = kavo::win32::BlockMutex::Open();
  auto block = kavo::win32::SharedBlock::Open();
  auto record = std::make_unique<kavo::SettingsRecord>();
  if (!monitor || !mutex || !block || !block->Fetch(*mutex, *record)) {
    std::fprintf(stderr, "the service's window or block is missing\n");
    EndService(service);
    return samples;
  }
  kavo::ClearChangeFlags(*record);
  block->Publish(*mutex, *record);
  for (int i = 0; i < count; ++i) {
    const auto start = Clock::now();
    ::SendMessageA(monitor, kavo::kMsgApplyRecord, 0, 0);
    samples.push_back(Milliseconds(Clock::now() - start));
  }
  EndService(service);
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int applies = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
  std::vector<double> startUps;
  for (int i = 0; i < starts; ++i) startUps.push_back(StartUpToFirstReport());
  PrintFigures("start-up to first feature report", startUps);
  const std::vector<double> roundTrips = ApplyRoundTrips(applies);
  if (roundTrips.empty()) return 1;
  PrintFigures("message 1224 without change flags, round trip", roundTrips);
  return 0;
}
