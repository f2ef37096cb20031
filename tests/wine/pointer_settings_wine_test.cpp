// The current profile's pointer settings reach the running system: read back through the system itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "monitor/pointer_settings.h"
#include "monitor/win32/win32_pointer_system.h"
#include "settings/win32/win32_registry.h"
#include "tests/wine/control_panel_backup.h"

namespace kavo::wine_test {
namespace {

// What the running system says, saved at the start and put back at the end.
struct SystemPointer {
  UINT doubleClick = 0;
  int acceleration[3] = {};
  int speed = 0;
  UINT lines = 0;
  UINT chars = 0;

  static SystemPointer Now() {
    SystemPointer now;
    now.doubleClick = ::GetDoubleClickTime();
    ::SystemParametersInfoA(SPI_GETMOUSE, 0, now.acceleration, 0);
    ::SystemParametersInfoA(SPI_GETMOUSESPEED, 0, &now.speed, 0);
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &now.lines, 0);
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &now.chars, 0);
    return now;
  }
  void Restore() {
    ::SetDoubleClickTime(doubleClick);
    ::SystemParametersInfoA(SPI_SETMOUSE, 0, acceleration, 0);
    ::SystemParametersInfoA(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                            reinterpret_cast<void*>(static_cast<INT_PTR>(speed)), 0);
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLCHARS, chars, nullptr, 0);
  }
};

class PointerSettingsWineTest : public ::testing::Test {
 protected:
  ~PointerSettingsWineTest() override { saved_.Restore(); }

  ControlPanelBackup registryBackup_;
  SystemPointer saved_ = SystemPointer::Now();
};

TEST_F(PointerSettingsWineTest, CurrentProfileReachesTheRunningSystem) {
  struct Case {
    const char* name;
    int accelerationFlag, wheelFlag, doubleClick, speed, lines, chars;
    const char* registrySpeed;
    int t1, t2, accelerationSpeed;
  };
  const Case cases[] = {
      {"acceleration kept", 1, 0, 640, 14, 7, 4, "2", 4, 9, 2},
      {"acceleration cleared", 0, 0, 420, 6, 2, 9, "2", 0, 0, 0},
      {"one page per notch", 1, 1, 500, 10, 3, 3, "1", 4, 9, 1},
  };
  win32::Win32Registry registry;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto mouse = registry.OpenOrCreate("Control Panel\\Mouse");
    ASSERT_NE(mouse, nullptr);
    mouse->WriteString("MouseSpeed", c.registrySpeed);
    mouse->WriteString("MouseThreshold1", "4");
    mouse->WriteString("MouseThreshold2", "9");

    auto record = std::make_unique<SettingsRecord>();
    ClearRecord(*record);
    ResetToDefaults(*record, 1);
    record->CurrentProfile = 1;
    ProfileRecord& profile = record->profiles[1];
    profile.AccelerationFlag = c.accelerationFlag;
    profile.ScrollWheelFlag = c.wheelFlag;
    profile.DbleClickSpeed = c.doubleClick;
    profile.MouseSpeed = c.speed;
    profile.ScrollWheelSpeed = c.lines;
    profile.TiltSpeed = c.chars;
    monitor::win32::Win32PointerSystem system(nullptr);
    monitor::ApplyPointerSettings(*record, *mouse, system);

    const SystemPointer now = SystemPointer::Now();
    EXPECT_EQ(now.doubleClick, static_cast<UINT>(c.doubleClick));
    EXPECT_EQ(now.acceleration[0], c.t1);
    EXPECT_EQ(now.acceleration[1], c.t2);
    EXPECT_EQ(now.acceleration[2], c.accelerationSpeed);
    EXPECT_EQ(now.speed, c.speed);
    EXPECT_EQ(now.lines, c.wheelFlag ? WHEEL_PAGESCROLL : static_cast<UINT>(c.lines));
    EXPECT_EQ(now.chars, static_cast<UINT>(c.chars));
    std::string stored;
    ASSERT_TRUE(mouse->ReadString("MouseSpeed", stored));
    EXPECT_EQ(stored, c.accelerationFlag ? c.registrySpeed : "0");
  }
}

}  // namespace
}  // namespace kavo::wine_test
