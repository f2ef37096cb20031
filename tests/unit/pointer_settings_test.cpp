#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "monitor/pointer_settings.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_service_ports.h"

namespace kavo {
namespace {

using test::RecordingPointerSystem;

constexpr char kMouse[] = "Control Panel\\Mouse";

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
    auto record = std::make_unique<SettingsRecord>();
    ClearRecord(*record);
    ResetToDefaults(*record, 1);
    record->CurrentProfile = 2;
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

TEST(PointerSettingsTest, NothingHappensWithoutACurrentProfile) {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  ResetToDefaults(*record, 1);
  record->CurrentProfile = -1;
  test::FakeRegistry registry;
  registry.keys[kMouse] = {{"MouseSpeed", "1"}};
  auto key = registry.OpenOrCreate(kMouse);
  RecordingPointerSystem system;
  ApplyPointerSettings(*record, *key, system);
  EXPECT_TRUE(system.calls.empty());
  EXPECT_EQ(registry.keys[kMouse]["MouseSpeed"], "1");
}

}  // namespace
}  // namespace kavo
