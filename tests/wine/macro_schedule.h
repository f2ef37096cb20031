#pragma once
// Whether recorded macro events came when their delays say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/input_recording.h"

namespace kavo::wine_test {

// Checks each recorded event against its deadline: the first event's time plus the delays before it. The
// player schedules on absolute deadlines, so an event is never early (but for the recorder's grain): a
// delay skipped or cut shows here. How late it may be depends on the machine's load, not on the player
// (a busy shared machine delayed a whole run by 40 ms), so only gross lateness fails; the precision is
// what the macro timing benchmark measures.
constexpr double kGrossLatenessMs = 250.0;
inline void ExpectOnSchedule(const std::vector<RecordedInput>& events, const std::vector<int>& delays) {
  ASSERT_EQ(events.size(), delays.size() + 1);
  double deadline = 0;
  for (std::size_t i = 0; i < delays.size(); ++i) {
    deadline += delays[i];
    const double at = QpcMs(events[0].qpc, events[i + 1].qpc);
    const std::string where = events[i + 1].Describe() + " (event " + std::to_string(i + 1) + ") at " +
                              std::to_string(at) + " ms, due at " + std::to_string(deadline) + " ms";
    EXPECT_GE(at, deadline - 2.0) << where;
    EXPECT_LE(at, deadline + kGrossLatenessMs) << where;
  }
}

}  // namespace kavo::wine_test
