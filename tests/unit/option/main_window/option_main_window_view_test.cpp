// The main window's pure rules: change flags, version texts, what the slots, names, language button and
// model badge show.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "option/common/change_flags.h"
#include "option/main_window/main_window_view.h"
#include "option/common/version_text.h"
#include "settings/bounded_text.h"

namespace kavo::option {
namespace {

std::unique_ptr<SettingsRecord> DefaultRecord() {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  ResetToDefaults(*record, 1);
  return record;
}

// --- change flags ---

struct FieldCase {
  const char* name;
  std::function<std::int32_t&(ProfileRecord&)> field;
};

const FieldCase kDeviceFieldCases[] = {
    {"HDDKeyboard", [](ProfileRecord& r) -> std::int32_t& { return r.HDDKeyboard; }},
    {"Orientation", [](ProfileRecord& r) -> std::int32_t& { return r.Orientation; }},
    {"XYSynchronous", [](ProfileRecord& r) -> std::int32_t& { return r.XYSynchronous; }},
    {"Sensitivity_X", [](ProfileRecord& r) -> std::int32_t& { return r.Sensitivity_X; }},
    {"Sensitivity_Y", [](ProfileRecord& r) -> std::int32_t& { return r.Sensitivity_Y; }},
    {"Cpi_X", [](ProfileRecord& r) -> std::int32_t& { return r.Cpi_X; }},
    {"Cpi_Y", [](ProfileRecord& r) -> std::int32_t& { return r.Cpi_Y; }},
    {"XYCpiFlag", [](ProfileRecord& r) -> std::int32_t& { return r.XYCpiFlag; }},
    {"PollingRate", [](ProfileRecord& r) -> std::int32_t& { return r.PollingRate; }},
    {"LiftSwitch", [](ProfileRecord& r) -> std::int32_t& { return r.LiftSwitch; }},
    {"LiftLevel", [](ProfileRecord& r) -> std::int32_t& { return r.LiftLevel; }},
    {"LightSwitch", [](ProfileRecord& r) -> std::int32_t& { return r.LightSwitch; }},
    {"LightType", [](ProfileRecord& r) -> std::int32_t& { return r.LightType; }},
    {"BTOption", [](ProfileRecord& r) -> std::int32_t& { return r.BTOption; }},
};

// Fields that are saved but never make the service write the profile into the mouse.
const FieldCase kOtherFieldCases[] = {
    {"DbleClickSpeed", [](ProfileRecord& r) -> std::int32_t& { return r.DbleClickSpeed; }},
    {"ScrollWheelSpeed", [](ProfileRecord& r) -> std::int32_t& { return r.ScrollWheelSpeed; }},
    {"MouseSpeed", [](ProfileRecord& r) -> std::int32_t& { return r.MouseSpeed; }},
    {"Acceleration", [](ProfileRecord& r) -> std::int32_t& { return r.Acceleration; }},
    {"TiltSpeed", [](ProfileRecord& r) -> std::int32_t& { return r.TiltSpeed; }},
    {"MediaOption", [](ProfileRecord& r) -> std::int32_t& { return r.MediaOption; }},
    {"repeat count of a button", [](ProfileRecord& r) -> std::int32_t& { return r.buttons[4].repeatCount; }},
};

class ChangeFlagsTest : public testing::Test {
 protected:
  void SetUp() override {
    snapshot_ = DefaultRecord();
    working_ = DefaultRecord();
    // Flags left over from an earlier Apply must be recomputed, not kept.
    for (auto& flag : working_->SettingsChanged) flag = 1;
    working_->CurrentProfileChanged = 1;
  }
  void ExpectSettingsChangedOnly(int profile) {
    for (int p = 0; p < kProfileCount; ++p) EXPECT_EQ(working_->SettingsChanged[p], p == profile ? 1 : 0) << p;
  }
  std::unique_ptr<SettingsRecord> snapshot_, working_;
};

TEST_F(ChangeFlagsTest, NoChangeGivesAllZero) {
  ComputeChangeFlags(*snapshot_, *working_);
  ExpectSettingsChangedOnly(-1);
  EXPECT_EQ(working_->CurrentProfileChanged, 0);
}

TEST_F(ChangeFlagsTest, EachDeviceFieldFlagsOnlyItsProfile) {
  int profile = 0;
  for (const auto& c : kDeviceFieldCases) {
    SCOPED_TRACE(c.name);
    SetUp();
    profile = (profile + 1) % kProfileCount;
    c.field(working_->profiles[profile]) += 1;
    ComputeChangeFlags(*snapshot_, *working_);
    ExpectSettingsChangedOnly(profile);
    EXPECT_EQ(working_->CurrentProfileChanged, 0);
  }
}

TEST_F(ChangeFlagsTest, OtherFieldsFlagNothing) {
  for (const auto& c : kOtherFieldCases) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.field(working_->profiles[3]) += 7;
    CopyBounded(working_->profiles[3].ProFileName, "Renamed");
    working_->WindowsProfile = 2;
    working_->QuickHelpLan = 6;
    working_->MouseType = 1;
    ComputeChangeFlags(*snapshot_, *working_);
    ExpectSettingsChangedOnly(-1);
    EXPECT_EQ(working_->CurrentProfileChanged, 0);
  }
}

TEST_F(ChangeFlagsTest, CurrentProfileChangeFlagsOnlyItself) {
  working_->CurrentProfile = 3;
  ComputeChangeFlags(*snapshot_, *working_);
  EXPECT_EQ(working_->CurrentProfileChanged, 1);
  ExpectSettingsChangedOnly(-1);
}

TEST_F(ChangeFlagsTest, ButtonChangedIsLeftAsThePagesSetIt) {
  working_->ButtonChanged[1][3] = 1;
  working_->ButtonChanged[4][13] = 0x01010101;
  snapshot_->ButtonChanged[0][0] = 1;  // the snapshot's flags mean nothing here
  auto before = std::make_unique<SettingsRecord>(*working_);
  ComputeChangeFlags(*snapshot_, *working_);
  EXPECT_EQ(std::memcmp(working_->ButtonChanged, before->ButtonChanged, sizeof before->ButtonChanged), 0);
}

// --- version texts ---

TEST(VersionTextTest, FirmwareAtStartAndAfterFreshData) {
  struct Case {
    int version;
    const char* atStart;
    const char* afterRead;
  };
  const Case cases[] = {
      {141, "1.41", "1.41"}, {100, "1.00", "1.00"}, {500, "5.00", "5.00"}, {99, "N/A", "N/A"},
      {501, "N/A", "5.01"},  {1234, "N/A", "1.234"}, {0, "N/A", "N/A"},   {-141, "N/A", "N/A"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirmwareTextAtStart(c.version), c.atStart) << c.version;
    EXPECT_EQ(FirmwareTextAfterRead(c.version), c.afterRead) << c.version;
  }
}

// --- view ---

TEST(MainWindowViewTest, LanguageButtonPictures) {
  struct Case {
    int language;
    int normal, hover, pressed;
  };
  const Case cases[] = {
      {0, 336, 334, 335}, {1, 339, 337, 338}, {4, 348, 346, 347}, {7, 357, 355, 358},
      {8, 361, 359, 360}, {9, 365, 362, 363}, {-1, 339, 337, 338}, {10, 339, 337, 338},
  };
  for (const auto& c : cases) {
    const LanguagePictures pictures = LanguageButtonPictures(c.language);
    EXPECT_EQ(pictures.normal, c.normal) << c.language;
    EXPECT_EQ(pictures.hover, c.hover) << c.language;
    EXPECT_EQ(pictures.pressed, c.pressed) << c.language;
  }
}

TEST(MainWindowViewTest, SlotsFollowActiveAndWindowsProfile) {
  struct Case {
    int current, windows;
  };
  const Case cases[] = {{2, 4}, {0, 0}, {-1, -1}, {4, -1}, {7, 9}};
  auto record = DefaultRecord();
  MainWindowView view{};
  for (const auto& c : cases) {
    record->CurrentProfile = c.current;
    record->WindowsProfile = c.windows;
    ShowRecord(*record, view);
    for (int p = 0; p < kProfileCount; ++p) {
      SCOPED_TRACE(testing::Message() << "current " << c.current << " windows " << c.windows << " slot " << p);
      EXPECT_EQ(view.slots[p].pressed, p == c.current);
      EXPECT_EQ(view.slots[p].nameColour, p == c.current ? 0xFFFFFFu : 0x737373u);
      EXPECT_EQ(view.slots[p].markerVisible, p == c.windows);
      EXPECT_EQ(view.slots[p].plainButtonVisible, p != c.windows);
      EXPECT_EQ(view.slots[p].name, "Default" + std::to_string(p + 1));
    }
  }
}

TEST(MainWindowViewTest, NameWithoutTerminatorIsCutToTheFieldsLimit) {
  auto record = DefaultRecord();
  std::memset(record->profiles[1].ProFileName, 'x', sizeof record->profiles[1].ProFileName);
  MainWindowView view{};
  ShowRecord(*record, view);
  EXPECT_EQ(view.slots[1].name, std::string(249, 'x'));
  EXPECT_EQ(view.slots[2].name, "Default3");
}

TEST(MainWindowViewTest, ModelBadgeOnlyForMouseTypeOne) {
  auto record = DefaultRecord();
  MainWindowView view{};
  for (int type : {-1, 0, 1, 2}) {
    record->MouseType = type;
    ShowRecord(*record, view);
    EXPECT_EQ(view.modelBadgeVisible, type == 1) << type;
  }
}

}  // namespace
}  // namespace kavo::option
