// The transfer engine through the real device library: our Kelsor.dll loaded from a program folder, its
// faults and memory driven and read through kavo-sim.exe.
#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "monitor/feature_reports.h"
#include "monitor/transfer.h"
#include "monitor/win32/kelsor_library.h"
#include "outside/device-sim/wine/mouse_folder.h"
#include "tests/support/fake_clock.h"

namespace kavo::wine_test {
namespace {

class CountingObserver final : public monitor::TransferObserver {
 public:
  void FirmwareVersionRead(int version) override { firmware = version; }
  void ProfilesRead() override { ++publications; }
  int firmware = -1;
  int publications = 0;
};

class TransferWineTest : public sim::wine_test::MouseFolderTest {
 protected:
  void SetUp() override {
    MouseFolderTest::SetUp();
    ClearRecord(*record_);
    ResetToDefaults(*record_, 1);
    Connect();
  }
  void TearDown() override {
    transfer_.reset();
    kelsor_.reset();
    MouseFolderTest::TearDown();
  }

  // The service's side: the library bound by name, its channel opened, the mouse present.
  void Connect() {
    kelsor_ = std::make_unique<monitor::win32::KelsorLibrary>(folder_.File("Kelsor.dll"));
    ASSERT_TRUE(kelsor_->IsLoaded());
    transfer_ = std::make_unique<monitor::DeviceTransfer>(*kelsor_, clock_, *record_, observer_);
    ASSERT_TRUE(kelsor_->OpenFeatureDevice());
    transfer_->SetPresence(monitor::Presence::Present);
  }

  int Slept() const {
    const auto sleeps = clock_.sleeps();
    return std::accumulate(sleeps.begin(), sleeps.end(), 0);
  }

  // Distinct settings and button codes in every profile.
  void FillProfiles() {
    for (int p = 0; p < kProfileCount; ++p) {
      ProfileRecord& profile = record_->profiles[p];
      profile.XYSynchronous = p % 2;
      profile.Sensitivity_X = p + 1;
      profile.Sensitivity_Y = 10 - p;
      profile.Cpi_X = profile.Cpi_Y = p % 4 + 1;
      profile.LightSwitch = (p + 1) % 2;
      profile.LightType = p;
      profile.Orientation = p == 4;
      for (int slot = 0; slot < kButtonSlotCount; ++slot) {
        profile.buttons[slot].function = static_cast<std::uint8_t>(p * 14 + slot + 1);
      }
    }
  }

  std::string SettingsLine(int p) {
    const ProfileRecord& r = record_->profiles[p];
    return "profile " + std::to_string(p) + " settings " + std::to_string(r.XYSynchronous) + " " +
           std::to_string(r.Sensitivity_X) + " " + std::to_string(r.Sensitivity_Y) + " " + std::to_string(r.Cpi_X) +
           " " + std::to_string(r.Cpi_Y) + " " + std::to_string(r.LightSwitch) + " " + std::to_string(r.LightType) +
           " " + std::to_string(r.Orientation);
  }
  std::string ButtonsLine(int p) {
    std::string line = "profile " + std::to_string(p) + " buttons";
    for (const auto& entry : record_->profiles[p].buttons) line += " " + std::to_string(entry.function);
    return line;
  }

  test::FakeClock clock_;  // the simulated mouse answers at once: waiting would only slow the suite
  CountingObserver observer_;
  std::unique_ptr<SettingsRecord> record_ = std::make_unique<SettingsRecord>();
  std::unique_ptr<monitor::win32::KelsorLibrary> kelsor_;
  std::unique_ptr<monitor::DeviceTransfer> transfer_;
};

TEST_F(TransferWineTest, AllFiveProfilesMakeTheRoundTrip) {
  FillProfiles();
  record_->CurrentProfile = 3;
  record_->CurrentProfileChanged = 1;
  for (int p = 0; p < kProfileCount; ++p) {
    record_->SettingsChanged[p] = 1;
    record_->ButtonChanged[p][p] = 1;
  }
  transfer_->ApplyCommand(0);

  const std::vector<std::string> dump = Dump();
  ASSERT_EQ(dump.size(), 15u);
  EXPECT_EQ(dump[0], "active 3");
  for (int p = 0; p < kProfileCount; ++p) {
    EXPECT_EQ(dump[5 + 2 * p], SettingsLine(p));
    EXPECT_EQ(dump[6 + 2 * p], ButtonsLine(p));
  }

  // What was written comes back into a record that knew nothing of it.
  auto written = std::make_unique<SettingsRecord>(*record_);
  ResetToDefaults(*record_, 1);
  record_->MouseType = 0;
  transfer_->RunDeviceCommand(monitor::kCommandReadAll);
  EXPECT_EQ(record_->CurrentProfile, 3);
  EXPECT_EQ(record_->MouseType, 1);
  EXPECT_EQ(observer_.firmware, 141);
  EXPECT_EQ(observer_.publications, 1);
  for (int p = 0; p < kProfileCount; ++p) {
    EXPECT_EQ(monitor::EncodeSettings(p, record_->profiles[p]), monitor::EncodeSettings(p, written->profiles[p])) << p;
    EXPECT_EQ(monitor::EncodeButtons(p, record_->profiles[p]), monitor::EncodeButtons(p, written->profiles[p])) << p;
  }
  EXPECT_EQ(Dump()[3], "host-active 1");

  SimOk("pid 4660");
  transfer_->RunDeviceCommand(monitor::kCommandReadAll);
  EXPECT_EQ(record_->MouseType, 0);
}

TEST_F(TransferWineTest, FaultsInjectedWithTheTool) {
  SimOk("busy 3");
  EXPECT_TRUE(transfer_->WriteProfileSettings(0));
  EXPECT_EQ(Slept(), 500 + 1000 + 1500 + 2000) << "three busy answers, then ready";

  SimOk("busy 10");
  const int before = Slept();
  EXPECT_FALSE(transfer_->WriteProfileButtons(1));
  EXPECT_EQ(Slept() - before, 500 + 1000 + 1500 + 7 * 2000);

  record_->profiles[2].Sensitivity_X = 9;
  SimOk("bad-checksum 1");
  EXPECT_FALSE(transfer_->ReadProfileSettings(2));
  EXPECT_EQ(record_->profiles[2].Sensitivity_X, 9) << "a damaged report stores nothing";
  EXPECT_TRUE(transfer_->ReadProfileSettings(2));
  EXPECT_EQ(record_->profiles[2].Sensitivity_X, 5);

  SimOk("fail 1");
  const int beforeFailure = Slept();
  EXPECT_FALSE(transfer_->SetHostActive(1));
  EXPECT_EQ(Slept(), beforeFailure) << "a failed write is not polled";
  EXPECT_EQ(Dump()[3], "host-active 0");
}

TEST_F(TransferWineTest, MemorySurvivesUnloadingTheLibrary) {
  FillProfiles();
  ASSERT_TRUE(transfer_->WriteProfileSettings(2));
  ASSERT_TRUE(transfer_->WriteProfileButtons(2));
  const std::string settings = SettingsLine(2), buttons = ButtonsLine(2);
  transfer_.reset();
  kelsor_.reset();
  Unload();

  Load();
  ResetToDefaults(*record_, 1);
  Connect();
  ASSERT_TRUE(transfer_->ReadProfileSettings(2));
  ASSERT_TRUE(transfer_->ReadProfileButtons(2));
  EXPECT_EQ(SettingsLine(2), settings);
  EXPECT_EQ(ButtonsLine(2), buttons);
}

TEST_F(TransferWineTest, ResetRequestReturnsTheMouseToItsDefaults) {
  FillProfiles();
  record_->SettingsChanged[1] = 1;
  transfer_->ApplyCommand(0);
  ASSERT_NE(Dump()[7], "profile 1 settings 1 5 5 2 2 1 1 0");
  transfer_->ApplyCommand(1);
  const std::vector<std::string> dump = Dump();
  EXPECT_EQ(dump[4], "resets 1");
  EXPECT_EQ(dump[7], "profile 1 settings 1 5 5 2 2 1 1 0");
  EXPECT_EQ(dump[8], "profile 1 buttons 1 2 3 65 64 13 14 8 7 37 0 6 38 39");
}

TEST_F(TransferWineTest, AnUnpluggedMouseFailsEveryReadAndNothingIsPublished) {
  SimOk("unplug");
  transfer_->RunDeviceCommand(monitor::kCommandReadAll);
  EXPECT_EQ(observer_.publications, 0);
  EXPECT_EQ(observer_.firmware, 0);
  EXPECT_FALSE(kelsor_->OpenFeatureDevice());
  SimOk("plug");
  EXPECT_TRUE(kelsor_->OpenFeatureDevice());
  transfer_->RunDeviceCommand(monitor::kCommandReadAll);
  EXPECT_EQ(observer_.publications, 1);
}

TEST(KelsorLibraryTest, AMissingLibraryActsAsAnAbsentMouse) {
  monitor::win32::KelsorLibrary missing("C:\\no such folder\\Kelsor.dll");
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_FALSE(missing.OpenFeatureDevice());
  std::uint8_t report[3] = {4};
  EXPECT_FALSE(missing.GetFeature(report, sizeof report));
  EXPECT_FALSE(missing.SetFeature(report, sizeof report));
  EXPECT_EQ(missing.GetMousePID(), 0);
  missing.OpenDevMonitor(0, 1325, 1326);
  missing.CloseDevMonitor();
  missing.CloseFeatureDevice();
}

}  // namespace
}  // namespace kavo::wine_test
