#pragma once
// A monotonic time line in microseconds with waits that end at their deadline, not at the next
// scheduler tick: macros are played against it.
#include <atomic>
#include <cstdint>

namespace kavo::monitor {

class Timeline {
 public:
  virtual ~Timeline() = default;
  virtual std::int64_t NowMicroseconds() = 0;
  // Returns at the deadline (true), or within a few milliseconds of stop becoming true (false).
  virtual bool WaitUntil(std::int64_t deadlineMicroseconds, const std::atomic<bool>& stop) = 0;
  // Around a stretch of precise waits (a macro): a system that needs a finer scheduler tick for them
  // gets it for that long only.
  virtual void PrecisionNeeded(bool needed) = 0;
};

}  // namespace kavo::monitor
