#include "tests/support/fake_clock.h"

#include <chrono>
#include <thread>

namespace kavo::test {

void FakeClock::Sleep(int milliseconds) {
  std::function<void(int)> action;
  int reached;
  {
    std::lock_guard<std::mutex> hold(lock_);
    now_ += milliseconds;
    sleeps_.push_back(milliseconds);
    action = onSleep_;
    reached = now_;
  }
  if (yieldMicroseconds_) std::this_thread::sleep_for(std::chrono::microseconds(yieldMicroseconds_));
  if (action) action(reached);
}

int FakeClock::now() const {
  std::lock_guard<std::mutex> hold(lock_);
  return now_;
}

std::vector<int> FakeClock::sleeps() const {
  std::lock_guard<std::mutex> hold(lock_);
  return sleeps_;
}

void FakeClock::OnSleep(std::function<void(int)> action) {
  std::lock_guard<std::mutex> hold(lock_);
  onSleep_ = std::move(action);
}

}  // namespace kavo::test
