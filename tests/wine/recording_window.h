#pragma once
// A top-level window of the test process titled like a program the service talks to (the configuration
// program, the on-screen display, the notice programs). A thread of its own owns it and keeps pumping its
// messages, so that the service's posts, and the setting-change broadcasts that must be answered, are taken
// at any moment, also while the test waits for a tool or for SendMessage. It records every application
// message (WM_USER and above), WM_COMMAND, WM_HSCROLL, left-button clicks, WM_CLOSE, which it takes
// without closing, and WM_COPYDATA, kept with the number its data carries (dwData) in place of the pointer,
// which is gone once the call returns.
#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kavo::wine_test {

struct ReceivedMessage {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD tick = 0;  // GetTickCount() on arrival
};

class RecordingWindow {
 public:
  // className and style make it look like another program's window (a player's, a scrolling one).
  explicit RecordingWindow(std::string title, std::string className = kClassName, DWORD style = WS_OVERLAPPED)
      : title_(std::move(title)), className_(std::move(className)), style_(style) {
    thread_ = std::thread([this] { Run(); });
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return started_; });
  }
  ~RecordingWindow() {
    if (threadId_ != 0) ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  // Null when the window could not be made.
  HWND window() const { return window_; }
  const std::string& title() const { return title_; }

  std::vector<ReceivedMessage> Received(UINT message) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<ReceivedMessage> found;
    for (const auto& received : received_) {
      if (received.message == message) found.push_back(received);
    }
    return found;
  }
  std::size_t Count(UINT message) const { return Received(message).size(); }

  // Waits until at least count of message have arrived; true when they did in time.
  bool WaitFor(UINT message, std::size_t count, DWORD milliseconds) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] {
      std::size_t seen = 0;
      for (const auto& received : received_) seen += received.message == message;
      return seen >= count;
    });
  }

 private:
  static constexpr char kClassName[] = "KavoServiceTestRecorder";

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr &&
        (message == WM_CLOSE || message == WM_COMMAND || message == WM_HSCROLL || message == WM_LBUTTONDOWN ||
         message == WM_LBUTTONUP || message == WM_COPYDATA || message >= WM_USER)) {
      if (message == WM_COPYDATA) {
        lParam = static_cast<LPARAM>(reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData);
      }
      {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->received_.push_back(ReceivedMessage{message, wParam, lParam, ::GetTickCount()});
      }
      self->changed_.notify_all();
      return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }

  void Run() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className_.c_str();
    ::RegisterClassA(&windowClass);  // fails harmlessly when an earlier window registered it
    const HWND window = ::CreateWindowExA(0, className_.c_str(), title_.c_str(), style_, 0, 0, 300, 200, nullptr,
                                          nullptr, windowClass.hInstance, this);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      window_ = window;
      // The queue exists once the window does, so WM_QUIT posted from now on is not lost.
      threadId_ = window != nullptr ? ::GetCurrentThreadId() : 0;
      started_ = true;
    }
    changed_.notify_all();
    if (window == nullptr) return;
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    ::DestroyWindow(window);
  }

  std::string title_;
  std::string className_;
  DWORD style_;
  std::thread thread_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool started_ = false;
  HWND window_ = nullptr;
  DWORD threadId_ = 0;
  std::vector<ReceivedMessage> received_;
};

}  // namespace kavo::wine_test
