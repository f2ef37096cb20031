#pragma once
// Watching the keys and mouse buttons that another process injects: kavo-input-recorder.exe (built beside
// the tests) run as a child process with low-level hooks, its lines parsed back into events with
// QueryPerformanceCounter timestamps (the counter is the same in every process of the system).
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/module_folder.h"
#include "platform/win32/win32_handles.h"

namespace kavo::wine_test {

struct RecordedInput {
  enum class Kind { kKey, kMouse };
  Kind kind = Kind::kKey;
  unsigned virtualKey = 0;  // keys
  std::string button;       // mouse: left, right, middle, x1, x2
  bool down = false;
  unsigned scanCode = 0;    // keys
  unsigned flags = 0;       // keys: LLKHF_* of the hook
  long long qpc = 0;

  bool IsKey() const { return kind == Kind::kKey; }
  bool Extended() const { return (flags & LLKHF_EXTENDED) != 0; }
  bool Injected() const { return (flags & LLKHF_INJECTED) != 0; }
  // "Ctrl down", "A up", "vk 175 down", "mouse left up": what sequences are compared as.
  std::string Describe() const {
    std::string name;
    if (kind == Kind::kMouse) {
      name = "mouse " + button;
    } else {
      switch (virtualKey) {
        case VK_CONTROL: name = "Ctrl"; break;
        case VK_SHIFT: name = "Shift"; break;
        case VK_MENU: name = "Alt"; break;
        case VK_LWIN: name = "LWin"; break;
        default:
          if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
            name = std::string(1, static_cast<char>(virtualKey));
          } else {
            name = "vk " + std::to_string(virtualKey);
          }
      }
    }
    return name + (down ? " down" : " up");
  }
};

// The recorder's lines; frequency gets the counter's ticks per second when the header is there.
inline std::vector<RecordedInput> ParseRecording(const std::string& text, long long* frequency = nullptr) {
  std::vector<RecordedInput> events;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // a line still being written
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    RecordedInput input;
    char word[16] = {}, edge[8] = {};
    long long value = 0;
    unsigned vk = 0, scan = 0, flags = 0;
    if (std::sscanf(line.c_str(), "frequency %lld", &value) == 1) {
      if (frequency) *frequency = value;
    } else if (std::sscanf(line.c_str(), "key %u %7s %u %u %lld", &vk, edge, &scan, &flags, &value) == 5) {
      input.kind = RecordedInput::Kind::kKey;
      input.virtualKey = vk;
      input.down = std::strcmp(edge, "down") == 0;
      input.scanCode = scan;
      input.flags = flags;
      input.qpc = value;
      events.push_back(input);
    } else if (std::sscanf(line.c_str(), "mouse %15s %7s %lld", word, edge, &value) == 3) {
      input.kind = RecordedInput::Kind::kMouse;
      input.button = word;
      input.down = std::strcmp(edge, "down") == 0;
      input.qpc = value;
      events.push_back(input);
    }
  }
  return events;
}

inline std::vector<std::string> Describe(const std::vector<RecordedInput>& events) {
  std::vector<std::string> lines;
  for (const auto& event : events) lines.push_back(event.Describe());
  return lines;
}

inline long long QpcNow() {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}
inline double QpcFrequency() {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(frequency.QuadPart);
}
// Milliseconds from one counter value to another.
inline double QpcMs(long long from, long long to) { return static_cast<double>(to - from) * 1000.0 / QpcFrequency(); }

// kavo-input-recorder.exe running with its hooks installed, writing into file (a path in a folder of the
// caller's). The constructor returns once the hooks are in place, or when the recorder failed to start;
// the destructor stops it.
class InputRecorder {
 public:
  explicit InputRecorder(std::string file) : file_(std::move(file)) {
    static std::atomic<unsigned> counter{0};
    const std::string names = "KavoInputRecorder-" + std::to_string(::GetCurrentProcessId()) + "-" +
                              std::to_string(counter++);
    stopName_ = names + "-stop";
    readyName_ = names + "-ready";
    stop_.reset(::CreateEventA(nullptr, TRUE, FALSE, stopName_.c_str()));
    ready_.reset(::CreateEventA(nullptr, TRUE, FALSE, readyName_.c_str()));
    if (!stop_ || !ready_) {
      problem_ = "cannot create the recorder's events";
      return;
    }
    const std::string program = win32::ModuleFolder() + "kavo-input-recorder.exe";
    std::string commandLine = "\"" + program + "\" \"" + file_ + "\" " + stopName_ + " " + readyName_;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info)) {
      problem_ = "cannot start " + program;
      return;
    }
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    const HANDLE waits[] = {ready_.get(), process_.get()};
    const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, 20000);
    if (woke != WAIT_OBJECT_0) {
      problem_ = woke == WAIT_OBJECT_0 + 1 ? "the recorder ended before its hooks were ready"
                                           : "the recorder was not ready within 20 s";
      Stop();
    }
  }
  ~InputRecorder() { Stop(); }
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;

  // Empty when the recorder runs with its hooks.
  const std::string& Problem() const { return problem_; }

  // Every event recorded so far.
  std::vector<RecordedInput> Events() const {
    std::string text;
    win32::UniqueFile file(::CreateFileA(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    return ParseRecording(text);
  }
  // The events recorded after the first `from`.
  std::vector<RecordedInput> EventsSince(std::size_t from) const {
    auto events = Events();
    if (from >= events.size()) return {};
    return std::vector<RecordedInput>(events.begin() + static_cast<std::ptrdiff_t>(from), events.end());
  }
  std::size_t Count() const { return Events().size(); }

  // Polls until done(events recorded after `from`) holds; true when it did in time.
  template <typename Condition>
  bool WaitFor(std::size_t from, Condition done, DWORD milliseconds) const {
    const DWORD start = ::GetTickCount();
    for (;;) {
      if (done(EventsSince(from))) return true;
      if (::GetTickCount() - start >= milliseconds) return false;
      ::Sleep(10);
    }
  }
  // Waits until at least count events arrived after `from`.
  bool WaitForCount(std::size_t from, std::size_t count, DWORD milliseconds) const {
    return WaitFor(from, [count](const std::vector<RecordedInput>& events) { return events.size() >= count; },
                   milliseconds);
  }

  // Asks the recorder to end after writing what it saw; true when it ended cleanly.
  bool Stop() {
    if (!process_) return exitCode_ == 0;
    if (stop_) ::SetEvent(stop_.get());
    if (::WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process_.get(), 9);
      ::WaitForSingleObject(process_.get(), 5000);
    }
    DWORD code = 9;
    ::GetExitCodeProcess(process_.get(), &code);
    exitCode_ = code;
    process_.reset();
    return exitCode_ == 0;
  }

 private:
  std::string file_;
  std::string stopName_;
  std::string readyName_;
  std::string problem_;
  win32::UniqueKernelHandle stop_;
  win32::UniqueKernelHandle ready_;
  win32::UniqueKernelHandle process_;
  DWORD exitCode_ = 9;
};

}  // namespace kavo::wine_test
