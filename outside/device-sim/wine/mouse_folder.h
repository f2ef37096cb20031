#pragma once
// A fresh program folder holding copies of Kelsor.dll and kavo-sim.exe, which makes one simulated mouse:
// the library loaded into this process, the tool run as a real child process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "outside/device-sim/win32/shared_mouse.h"
#include "platform/win32/module_folder.h"
#include "tests/support/text_lines.h"
#include "tests/wine/temp_folder.h"

namespace kavo::sim::wine_test {

using Bytes = std::vector<std::uint8_t>;

struct ProgramRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string out;
  std::string err;
};

// Runs a console program with its standard output and error captured; waits for it to end.
inline ProgramRun RunProgram(const std::string& program, const std::string& arguments) {
  ProgramRun run;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  if (!::CreatePipe(&outRead, &outWrite, &inheritable, 0)) return run;
  kavo::win32::UniqueKernelHandle outReader(outRead), outWriter(outWrite);
  if (!::CreatePipe(&errRead, &errWrite, &inheritable, 0)) return run;
  kavo::win32::UniqueKernelHandle errReader(errRead), errWriter(errWrite);
  ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  std::string commandLine = "\"" + program + "\" " + arguments;
  PROCESS_INFORMATION process{};
  // Under load Wine now and then fails a start with an internal error (1359); a start reported as failed
  // gave no process, so trying again cannot run a command twice.
  constexpr int kStartTries = 3;
  for (int attempt = 1;; ++attempt) {
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                         &startup, &process)) {
      break;
    }
    run.err += "could not start it: error " + std::to_string(::GetLastError()) + "\n";
    if (attempt == kStartTries) return run;
    ::Sleep(300);
  }
  run.err.clear();
  kavo::win32::UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  // Our copies of the write ends must go, or the reads below never see the end of the output.
  outWriter.reset();
  errWriter.reset();
  for (auto [reader, text] : {std::pair{outRead, &run.out}, std::pair{errRead, &run.err}}) {
    char chunk[512];
    DWORD got = 0;
    while (::ReadFile(reader, chunk, sizeof chunk, &got, nullptr) && got > 0) text->append(chunk, got);
  }
  if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
  } else {
    run.err += "(did not end within 30 s)";
  }
  return run;
}

class MouseFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    const std::string built = kavo::win32::ModuleFolder();
    for (const char* name : {"Kelsor.dll", "kavo-sim.exe"}) {
      ASSERT_TRUE(::CopyFileA((built + name).c_str(), folder_.File(name).c_str(), FALSE)) << name;
    }
    Load();
  }
  void TearDown() override { Unload(); }

  void Load() {
    library_.reset(::LoadLibraryA(folder_.File("Kelsor.dll").c_str()));
    ASSERT_TRUE(library_);
    Bind(openDevMonitor_, "Open_DevMonitor");
    Bind(closeDevMonitor_, "Close_DevMonitor");
    Bind(openFeatureDevice_, "Open_FeatureDevice");
    Bind(closeFeatureDevice_, "Close_FeatureDevice");
    Bind(setFeature_, "SetFeature");
    Bind(getFeature_, "GetFeature");
    Bind(getMousePid_, "GetMousePID");
  }
  void Unload() { library_.reset(); }

  bool Set(Bytes report) { return setFeature_(report.data(), static_cast<int>(report.size())) != 0; }
  // The reply, or an empty vector when the read failed.
  Bytes Get(std::uint8_t id, std::size_t length) {
    Bytes buffer(length, 0);
    buffer[0] = id;
    return getFeature_(buffer.data(), static_cast<int>(length)) ? buffer : Bytes{};
  }

  ProgramRun Sim(const std::string& arguments) { return RunProgram(folder_.File("kavo-sim.exe"), arguments); }
  // Runs kavo-sim and expects it to succeed without a word on standard error.
  std::string SimOk(const std::string& arguments) {
    const ProgramRun run = Sim(arguments);
    EXPECT_EQ(run.exitCode, 0u) << "kavo-sim " << arguments << ": " << run.err;
    EXPECT_EQ(run.err, "") << "kavo-sim " << arguments;
    return run.out;
  }
  // The lines of "kavo-sim dump", without line ends.
  std::vector<std::string> Dump() {
    return test::TextLines(SimOk("dump"));
  }

  kavo::wine_test::TempFolder folder_;
  kavo::win32::UniqueModule library_;
  int(__cdecl* openDevMonitor_)(HWND, UINT, UINT) = nullptr;
  void(__cdecl* closeDevMonitor_)() = nullptr;
  int(__cdecl* openFeatureDevice_)() = nullptr;
  void(__cdecl* closeFeatureDevice_)() = nullptr;
  int(__cdecl* setFeature_)(unsigned char*, int) = nullptr;
  int(__cdecl* getFeature_)(unsigned char*, int) = nullptr;
  int(__cdecl* getMousePid_)() = nullptr;

 private:
  template <typename Function>
  void Bind(Function& function, const char* name) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library_.get(), name)));
    ASSERT_NE(function, nullptr) << name;
  }
};

}  // namespace kavo::sim::wine_test
