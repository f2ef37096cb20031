#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "monitor/pointer_settings.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_service_ports.h"

namespace kavo::monitor {
namespace {

using test::RecordingPointerSystem;

constexpr char kMouse[] = "Control Panel\\Mouse";

// The defaults of a first start, with profile current (-1 for none).
std::unique_ptr<SettingsRecord> DefaultRecordOn(int profile) {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  ResetToDefaults(*record, 1);
  record->CurrentProfile = profile;
  return record;
}

TEST(PointerSettingsTest, TheCurrentProfileReachesTheSystem) {
  struct Case {
    const char* name;
    int accelerationFlag, wheelFlag;
    std::map<std::string, std::string> registry;
    std::vector<std::string> calls;
    bool registryCleared;
    int acceleration;
  };
  const Case cases[] = {
      {"acceleration on keeps the registry's values", 1, 0,
       {{"MouseSpeed", "1"}, {"MouseThreshold1", "6"}, {"MouseThreshold2", "10"}},
       {"double-click 640", "acceleration 6 10 1", "speed 14", "lines 7", "chars 4"}, false, 12},
      {"acceleration off clears what the registry holds", 0, 0,
       {{"MouseSpeed", "2"}, {"MouseThreshold1", "4"}, {"MouseThreshold2", "9"}},
       {"double-click 640", "acceleration 0 0 0", "speed 14", "lines 7", "chars 4"}, true, 0},
      {"acceleration off with nothing to clear", 0, 0,
       {{"MouseSpeed", "0"}, {"MouseThreshold1", "0"}, {"MouseThreshold2", "0"}},
       {"double-click 640", "acceleration 0 0 0", "speed 14", "lines 7", "chars 4"}, false, 12},
      {"one page per notch", 1, 1, {},
       {"double-click 640", "acceleration 0 0 0", "speed 14", "lines -1", "chars 4"}, false, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto record = DefaultRecordOn(2);
    ProfileRecord& profile = record->profiles[2];
    profile.DbleClickSpeed = 640;
    profile.MouseSpeed = 14;
    profile.ScrollWheelSpeed = 7;
    profile.TiltSpeed = 4;
    profile.Acceleration = 12;
    profile.AccelerationFlag = c.accelerationFlag;
    profile.ScrollWheelFlag = c.wheelFlag;
    test::FakeRegistry registry;
    registry.keys[kMouse] = c.registry;
    auto key = registry.OpenOrCreate(kMouse);
    RecordingPointerSystem system;
    ApplyPointerSettings(*record, *key, system);
    EXPECT_EQ(system.calls, c.calls);
    EXPECT_EQ(profile.Acceleration, c.acceleration);
    if (c.registryCleared) {
      for (const char* name : {"MouseSpeed", "MouseThreshold1", "MouseThreshold2"}) {
        EXPECT_EQ(registry.keys[kMouse][name], "0") << name;
      }
    } else {
      EXPECT_EQ(registry.keys[kMouse], c.registry) << "the registry is left alone";
    }
  }
}

// Values the system does not take as they are meant never reach it; the other settings still do.
TEST(PointerSettingsTest, OutOfRangeValuesNeverReachTheSystem) {
  struct Case {
    const char* name;
    std::function<void(ProfileRecord&)> set;
    std::map<std::string, std::string> registry;  // the acceleration values Windows keeps
    const char* skipped;                          // the call that must not happen
  };
  const auto value = [](std::int32_t ProfileRecord::*field, int v) {
    return [field, v](ProfileRecord& profile) { profile.*field = v; };
  };
  const Case cases[] = {
      {"double-click -1", value(&ProfileRecord::DbleClickSpeed, -1), {}, "double-click"},
      {"double-click 0", value(&ProfileRecord::DbleClickSpeed, 0), {}, "double-click"},
      {"double-click 5001", value(&ProfileRecord::DbleClickSpeed, 5001), {}, "double-click"},
      {"pointer speed -1", value(&ProfileRecord::MouseSpeed, -1), {}, "speed"},
      {"pointer speed 0", value(&ProfileRecord::MouseSpeed, 0), {}, "speed"},
      {"pointer speed 21", value(&ProfileRecord::MouseSpeed, 21), {}, "speed"},
      {"wheel lines -1", value(&ProfileRecord::ScrollWheelSpeed, -1), {}, "lines"},
      {"wheel lines 0", value(&ProfileRecord::ScrollWheelSpeed, 0), {}, "lines"},
      {"wheel lines 101", value(&ProfileRecord::ScrollWheelSpeed, 101), {}, "lines"},
      {"tilt characters -1", value(&ProfileRecord::TiltSpeed, -1), {}, "chars"},
      {"tilt characters 0", value(&ProfileRecord::TiltSpeed, 0), {}, "chars"},
      {"tilt characters 101", value(&ProfileRecord::TiltSpeed, 101), {}, "chars"},
      {"acceleration 3", value(&ProfileRecord::AccelerationFlag, 1),
       {{"MouseSpeed", "3"}, {"MouseThreshold1", "4"}, {"MouseThreshold2", "9"}}, "acceleration"},
      {"acceleration -1", value(&ProfileRecord::AccelerationFlag, 1),
       {{"MouseSpeed", "-1"}, {"MouseThreshold1", "4"}, {"MouseThreshold2", "9"}}, "acceleration"},
      {"threshold -6", value(&ProfileRecord::AccelerationFlag, 1),
       {{"MouseSpeed", "1"}, {"MouseThreshold1", "-6"}, {"MouseThreshold2", "0"}}, "acceleration"},
      {"second threshold -1", value(&ProfileRecord::AccelerationFlag, 1),
       {{"MouseSpeed", "2"}, {"MouseThreshold1", "4"}, {"MouseThreshold2", "-1"}}, "acceleration"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto record = DefaultRecordOn(0);
    c.set(record->profiles[0]);
    test::FakeRegistry registry;
    registry.keys[kMouse] = c.registry;
    auto key = registry.OpenOrCreate(kMouse);
    RecordingPointerSystem system;
    ApplyPointerSettings(*record, *key, system);
    const std::string skipped = std::string(c.skipped) + " ";
    for (const std::string& call : system.calls) EXPECT_NE(call.rfind(skipped, 0), 0u) << call;
    EXPECT_EQ(system.calls.size(), 4u) << "the other settings are applied";
    EXPECT_EQ(registry.keys[kMouse], c.registry) << "the registry is left alone";
  }
}

TEST(PointerSettingsTest, ValuesAtTheEndsOfTheirRangesReachTheSystem) {
  struct Case {
    int doubleClick, speed, lines, chars;
    std::map<std::string, std::string> registry;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {1, 1, 1, 1, {{"MouseSpeed", "0"}, {"MouseThreshold1", "0"}, {"MouseThreshold2", "0"}},
       {"double-click 1", "acceleration 0 0 0", "speed 1", "lines 1", "chars 1"}},
      {5000, 20, 100, 100, {{"MouseSpeed", "2"}, {"MouseThreshold1", "4"}, {"MouseThreshold2", "5"}},
       {"double-click 5000", "acceleration 4 5 2", "speed 20", "lines 100", "chars 100"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.calls.front());
    auto record = DefaultRecordOn(4);
    ProfileRecord& profile = record->profiles[4];
    profile.DbleClickSpeed = c.doubleClick;
    profile.MouseSpeed = c.speed;
    profile.ScrollWheelSpeed = c.lines;
    profile.TiltSpeed = c.chars;
    profile.AccelerationFlag = 1;
    test::FakeRegistry registry;
    registry.keys[kMouse] = c.registry;
    auto key = registry.OpenOrCreate(kMouse);
    RecordingPointerSystem system;
    ApplyPointerSettings(*record, *key, system);
    EXPECT_EQ(system.calls, c.calls);
  }
}

TEST(PointerSettingsTest, NothingHappensWithoutACurrentProfile) {
  auto record = DefaultRecordOn(-1);
  test::FakeRegistry registry;
  registry.keys[kMouse] = {{"MouseSpeed", "1"}};
  auto key = registry.OpenOrCreate(kMouse);
  RecordingPointerSystem system;
  ApplyPointerSettings(*record, *key, system);
  EXPECT_TRUE(system.calls.empty());
  EXPECT_EQ(registry.keys[kMouse]["MouseSpeed"], "1");
}

}  // namespace
}  // namespace kavo::monitor
