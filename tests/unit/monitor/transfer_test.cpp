#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <numeric>
#include <thread>

#include "monitor/feature_reports.h"
#include "monitor/transfer.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_device.h"

namespace kavo::monitor {
namespace {

// Keeps a copy of the record at each announcement of a read.
class RecordingObserver final : public TransferObserver {
 public:
  explicit RecordingObserver(const SettingsRecord& record) : record_(record) {}
  void FirmwareVersionRead(int version) override { firmwareVersions.push_back(version); }
  void ProfilesRead() override { published.push_back(std::make_unique<SettingsRecord>(record_)); }
  std::vector<int> firmwareVersions;
  std::vector<std::unique_ptr<SettingsRecord>> published;

 private:
  const SettingsRecord& record_;
};

class TransferTest : public ::testing::Test {
 protected:
  TransferTest() {
    ClearRecord(*record);
    ResetToDefaults(*record, 1);
    for (int p = 0; p < kProfileCount; ++p) {
      for (int i = 0; i < 8; ++i) device.settings[p][i] = static_cast<std::uint8_t>(10 * p + i + 1);
      for (int i = 0; i < 14; ++i) device.buttons[p][i] = static_cast<std::uint8_t>(20 * p + i + 1);
    }
    device.activeProfile = 3;
    transfer.SetPresence(Presence::Present);
  }

  int TotalSleep() const {
    const auto sleeps = clock.sleeps();
    return std::accumulate(sleeps.begin(), sleeps.end(), 0);
  }

  // What the device holds for profile p, as the record would hold it.
  void ExpectProfileFromDevice(int p) {
    const ProfileRecord& profile = record->profiles[p];
    EXPECT_EQ(profile.XYSynchronous, device.settings[p][0]);
    EXPECT_EQ(profile.Orientation, device.settings[p][7]);
    for (int i = 0; i < 14; ++i) EXPECT_EQ(profile.buttons[kDeviceSlotOrder[i]].function, device.buttons[p][i]);
  }

  test::FakeClock clock;
  test::FakeDevice device{&clock};
  std::unique_ptr<SettingsRecord> record = std::make_unique<SettingsRecord>();
  RecordingObserver observer{*record};
  DeviceTransfer transfer{device, clock, *record, observer};
};

TEST_F(TransferTest, StatusPollSchedules) {
  struct Case {
    const char* name;
    int firstWait;
    std::vector<int> statuses;  // -1: the status read fails
    bool ready;
    int pausedMs;
    int statusReads;
  };
  const Case cases[] = {
      {"ready at once", 100, {1}, true, 100, 1},
      {"busy twice, then ready", 500, {3, 3, 1}, true, 500 + 1000 + 1500, 3},
      {"busy ten times", 500, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1}, false, 500 + 1000 + 1500 + 7 * 2000, 10},
      {"busy ten times, short first wait", 100, std::vector<int>(10, 3), false, 100 + 1000 + 1500 + 7 * 2000, 10},
      {"a status of failure ends the poll", 100, {2}, false, 100, 1},
      {"a failed first read is a failure", 100, {-1}, false, 100, 1},
      {"a failed read while busy keeps polling", 500, {3, -1, 1}, true, 500 + 1000 + 1500, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeClock caseClock;
    test::FakeDevice caseDevice(&caseClock);
    caseDevice.statuses.assign(c.statuses.begin(), c.statuses.end());
    DeviceTransfer caseTransfer(caseDevice, caseClock, *record, observer);
    EXPECT_EQ(caseTransfer.WaitDeviceReady(c.firstWait), c.ready);
    EXPECT_EQ(caseClock.now(), c.pausedMs);
    for (int sleep : caseClock.sleeps()) EXPECT_EQ(sleep, 100) << "pauses are made of 100 ms steps";
    EXPECT_EQ(static_cast<int>(caseDevice.Calls().size()), c.statusReads);
  }
}

TEST_F(TransferTest, ReadAllFromDeviceReadsStoresAndPublishes) {
  device.productId = 0x2CF6;
  record->ButtonChanged[1][4] = 1;
  record->SettingsChanged[2] = 1;
  transfer.RunDeviceCommand(kCommandReadAll);

  for (int p = 0; p < kProfileCount; ++p) ExpectProfileFromDevice(p);
  EXPECT_EQ(record->CurrentProfile, 3);
  EXPECT_EQ(record->MouseType, 1);
  EXPECT_EQ(record->ButtonChanged[1][4], 0) << "button flags are cleared";
  EXPECT_EQ(record->SettingsChanged[2], 1) << "the other flags are left";
  EXPECT_EQ(observer.firmwareVersions, std::vector<int>{141});
  ASSERT_EQ(observer.published.size(), 1u);
  EXPECT_EQ(std::memcmp(observer.published[0].get(), record.get(), sizeof *record), 0);
  EXPECT_EQ(device.hostActive, 1);
  // 12 step pauses of 500 ms, 10 settle sleeps of 100 ms, then the host-active write's first wait.
  EXPECT_EQ(TotalSleep(), 12 * 500 + 10 * 100 + 100);
  EXPECT_FALSE(transfer.busy());
}

TEST_F(TransferTest, ProductIdDecidesTheMouseType) {
  device.productId = 0x1234;
  record->MouseType = 1;
  EXPECT_TRUE(transfer.ReadAllFromDevice());
  EXPECT_EQ(record->MouseType, 0);
}

TEST_F(TransferTest, FailedAndDamagedReadsKeepTheProfile) {
  struct Case {
    const char* name;
    std::function<void(test::FakeDevice&)> fault;
    int untouchedProfile;
    bool settingsUntouched;
    bool buttonsUntouched;
    bool readSucceeds;
  };
  auto failRead = [](int id, int profile) {
    return [id, profile](test::FakeDevice& d) {
      auto selected = std::make_shared<int>(-1);
      d.failWhen = [id, profile, selected](bool set, const std::uint8_t* report) {
        if (set && report[0] == kReportStatus) *selected = report[1];
        return !set && report[0] == id && *selected == profile;
      };
    };
  };
  const Case cases[] = {
      {"settings checksum of profile 1", [](test::FakeDevice& d) { d.badChecksum.insert({kReportSettings, 1}); }, 1,
       true, false, true},
      {"settings read of profile 2 fails", failRead(kReportSettings, 2), 2, true, false, true},
      {"buttons checksum of profile 0", [](test::FakeDevice& d) { d.badChecksum.insert({kReportButtons, 0}); }, 0,
       false, true, true},
      {"buttons checksum of profile 4", [](test::FakeDevice& d) { d.badChecksum.insert({kReportButtons, 4}); }, 4,
       false, true, false},
      {"buttons read of profile 4 fails", failRead(kReportButtons, 4), 4, false, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeClock caseClock;
    test::FakeDevice caseDevice(&caseClock);
    for (int p = 0; p < kProfileCount; ++p) {
      for (int i = 0; i < 8; ++i) caseDevice.settings[p][i] = static_cast<std::uint8_t>(50 + p);
      for (int i = 0; i < 14; ++i) caseDevice.buttons[p][i] = static_cast<std::uint8_t>(70 + p);
    }
    c.fault(caseDevice);
    auto caseRecord = std::make_unique<SettingsRecord>();
    ClearRecord(*caseRecord);
    ResetToDefaults(*caseRecord, 1);
    const ProfileRecord before = caseRecord->profiles[c.untouchedProfile];
    RecordingObserver caseObserver(*caseRecord);
    DeviceTransfer caseTransfer(caseDevice, caseClock, *caseRecord, caseObserver);
    caseTransfer.SetPresence(Presence::Present);
    caseTransfer.RunDeviceCommand(kCommandReadAll);

    const ProfileRecord& after = caseRecord->profiles[c.untouchedProfile];
    EXPECT_EQ(after.Sensitivity_X == before.Sensitivity_X, c.settingsUntouched);
    EXPECT_EQ(after.buttons[0].function == before.buttons[0].function, c.buttonsUntouched);
    const int other = (c.untouchedProfile + 1) % kProfileCount;
    EXPECT_EQ(caseRecord->profiles[other].Sensitivity_X, 50 + other) << "the other profiles are read";
    EXPECT_EQ(caseObserver.published.size(), c.readSucceeds ? 1u : 0u);
    EXPECT_EQ(caseDevice.hostActive, 1) << "host-active is sent whatever the read gave";
  }
}

TEST_F(TransferTest, ActiveProfileAboveFourIsIgnored) {
  record->CurrentProfile = 2;
  device.activeProfileAnswer = 5;
  EXPECT_FALSE(transfer.ReadActiveProfile());
  EXPECT_EQ(record->CurrentProfile, 2);
  device.activeProfileAnswer = 4;
  EXPECT_TRUE(transfer.ReadActiveProfile());
  EXPECT_EQ(record->CurrentProfile, 4);
}

TEST_F(TransferTest, FirmwareVersionIsKeptEvenWhenTheReadFails) {
  device.firmware = 152;
  EXPECT_EQ(transfer.ReadFirmwareVersion(), 152);
  device.failWhen = [](bool set, const std::uint8_t* report) { return !set && report[0] == kReportFirmware; };
  EXPECT_EQ(transfer.ReadFirmwareVersion(), 0);
  EXPECT_EQ(observer.firmwareVersions, (std::vector<int>{152, 0}));
}

TEST_F(TransferTest, AbortDuringAReadStopsAtTheNextPauseAndPublishesNothing) {
  for (int abortAt : {300, 2600, 5200, 6900}) {
    SCOPED_TRACE("removal at " + std::to_string(abortAt) + " ms");
    test::FakeClock caseClock;
    test::FakeDevice caseDevice(&caseClock);
    auto caseRecord = std::make_unique<SettingsRecord>();
    ClearRecord(*caseRecord);
    RecordingObserver caseObserver(*caseRecord);
    DeviceTransfer caseTransfer(caseDevice, caseClock, *caseRecord, caseObserver);
    caseTransfer.SetPresence(Presence::Present);
    caseClock.OnSleep([&](int now) {
      if (now == abortAt) caseTransfer.RaiseAbortIfBusy();
    });
    caseTransfer.RunDeviceCommand(kCommandReadAll);

    EXPECT_TRUE(caseObserver.published.empty());
    EXPECT_LE(caseClock.now(), abortAt + 100) << "no pause goes on after the abort";
    const auto calls = caseDevice.Calls();
    ASSERT_FALSE(calls.empty());
    for (const auto& call : calls) EXPECT_LE(call.time, abortAt) << "nothing follows the abort";
    // Shutdown tells the mouse the host software is gone just before it stops the read; the stopped read
    // must not tell it the opposite.
    EXPECT_EQ(caseDevice.hostActive, -1);
    EXPECT_FALSE(caseTransfer.busy());
  }
}

TEST_F(TransferTest, AbortIsRaisedOnlyWhileACommandRuns) {
  transfer.RaiseAbortIfBusy();
  EXPECT_FALSE(transfer.abortRaised());
  EXPECT_TRUE(transfer.Pause(500));
  EXPECT_EQ(clock.now(), 500);
}

TEST_F(TransferTest, ChangeFlagsDecideWhatIsWritten) {
  struct Case {
    const char* name;
    std::function<void(SettingsRecord&)> flag;
    std::vector<std::vector<int>> writes;  // report id and, for 5, 6 and 7, byte 2
  };
  const Case cases[] = {
      {"nothing flagged", [](SettingsRecord&) {}, {}},
      {"active profile", [](SettingsRecord& r) { r.CurrentProfileChanged = 1; r.CurrentProfile = 2; }, {{5, 2}}},
      {"settings of profiles 1 and 4",
       [](SettingsRecord& r) { r.SettingsChanged[1] = 1; r.SettingsChanged[4] = 1; }, {{6, 1}, {6, 4}}},
      {"one button of profile 3", [](SettingsRecord& r) { r.ButtonChanged[3][13] = 1; }, {{7, 3}}},
      {"everything in order",
       [](SettingsRecord& r) {
         r.CurrentProfileChanged = 1;
         r.CurrentProfile = 0;
         r.SettingsChanged[2] = 1;
         r.ButtonChanged[0][0] = 1;
         r.ButtonChanged[4][6] = 1;
       },
       {{5, 0}, {6, 2}, {7, 0}, {7, 4}}},
      {"flags other than 1 ask for nothing",
       [](SettingsRecord& r) {
         r.CurrentProfileChanged = 2;
         r.SettingsChanged[0] = -1;
         MarkEverythingChanged(r);
         r.CurrentProfileChanged = 2;
         for (int& flag : r.SettingsChanged) flag = 2;
       },
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeClock caseClock;
    test::FakeDevice caseDevice(&caseClock);
    auto caseRecord = std::make_unique<SettingsRecord>();
    ClearRecord(*caseRecord);
    ResetToDefaults(*caseRecord, 1);
    c.flag(*caseRecord);
    RecordingObserver caseObserver(*caseRecord);
    DeviceTransfer caseTransfer(caseDevice, caseClock, *caseRecord, caseObserver);
    caseTransfer.SetPresence(Presence::Present);
    caseTransfer.ApplyCommand(0);
    std::vector<std::vector<int>> writes;
    for (const auto& call : caseDevice.Writes()) writes.push_back({call.bytes[0], call.bytes[2]});
    EXPECT_EQ(writes, c.writes);
    // Every write is followed by its status poll and a 500 ms step pause.
    EXPECT_EQ(caseClock.now(), 0 + [&] {
      int total = 0;
      for (const auto& w : c.writes) total += (w[0] == 5 ? 100 : 500) + 500;
      return total;
    }());
  }
}

TEST_F(TransferTest, WrittenReportsCarryTheRecord) {
  ProfileRecord& profile = record->profiles[1];
  profile.Sensitivity_X = 300;
  for (int slot = 0; slot < 14; ++slot) profile.buttons[slot].function = static_cast<std::uint8_t>(slot + 30);
  EXPECT_TRUE(transfer.WriteProfileSettings(1));
  EXPECT_TRUE(transfer.WriteProfileButtons(1));
  EXPECT_EQ(device.settings[1][1], 44) << "300 travels as its low byte";
  EXPECT_EQ(device.buttons[1][10], 33) << "slot 3 rides in the eleventh button byte";
  EXPECT_EQ(device.buttons[1][3], 35) << "slot 5 rides in the fourth";
  const auto writes = device.Writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].bytes.size(), 13u);
  EXPECT_EQ(writes[1].bytes.size(), 19u);
  EXPECT_EQ(writes[0].bytes[1], 13);
  EXPECT_EQ(writes[1].bytes[1], 19);
}

TEST_F(TransferTest, ResetHostActiveAndPresence) {
  record->SettingsChanged[0] = 1;
  transfer.ApplyCommand(1);
  auto writes = device.Writes();
  ASSERT_EQ(writes.size(), 1u) << "a reset replaces the changes";
  EXPECT_EQ(writes[0].bytes, (std::vector<std::uint8_t>{9, 6, 7, 0, 0, 0}));
  EXPECT_EQ(device.resetRequests, 1);

  EXPECT_TRUE(transfer.SetHostActive(0));
  EXPECT_EQ(device.Writes().back().bytes, (std::vector<std::uint8_t>{11, 3, 0}));

  const std::size_t callsBefore = device.Calls().size();
  for (Presence absent : {Presence::NotSeen, Presence::Removed}) {
    transfer.SetPresence(absent);
    transfer.ApplyCommand(0);
    transfer.ApplyCommand(1);
    transfer.RunDeviceCommand(kCommandReadAll);
    transfer.RunDeviceCommand(kCommandWriteActiveProfile);
  }
  EXPECT_EQ(device.Calls().size(), callsBefore) << "nothing reaches a mouse that is not present";
}

TEST_F(TransferTest, FailedWritesSkipThePollAndTheSequenceGoesOn) {
  device.failWhen = [](bool set, const std::uint8_t* report) { return set && report[0] == kReportSettings; };
  record->SettingsChanged[0] = 1;
  record->SettingsChanged[1] = 1;
  record->ButtonChanged[2][0] = 1;
  transfer.ApplyCommand(0);
  int statusReads = 0;
  for (const auto& call : device.Calls()) statusReads += !call.set && call.bytes[0] == kReportStatus;
  EXPECT_EQ(statusReads, 1) << "only the button write is polled";
  EXPECT_EQ(device.buttons[2][0], record->profiles[2].buttons[0].function);
}

TEST_F(TransferTest, WriteActiveProfileCommandAndUnknownCommands) {
  record->CurrentProfile = 4;
  transfer.RunDeviceCommand(kCommandWriteActiveProfile);
  EXPECT_EQ(device.activeProfile, 4);
  EXPECT_EQ(clock.now(), 100 + 500);
  transfer.RunDeviceCommand(7);
  EXPECT_EQ(device.Writes().size(), 1u);
  record->CurrentProfile = -1;
  EXPECT_FALSE(transfer.WriteActiveProfile()) << "no active profile, nothing to send";
}

// The window thread applies changes while the device thread reads: no exchange may be cut into by the
// other thread (a select and its read, a write and its status polls).
TEST_F(TransferTest, ExchangesOfTwoThreadsNeverInterleave) {
  clock.YieldForMicroseconds(20);
  for (int p = 0; p < kProfileCount; ++p) {
    record->SettingsChanged[p] = 1;
    record->ButtonChanged[p][0] = 1;
  }
  record->CurrentProfileChanged = 1;
  device.statuses.assign({3, 3, 1, 3, 1, 3, 3, 1});
  std::thread deviceThread([&] {
    for (int i = 0; i < 3; ++i) transfer.RunDeviceCommand(kCommandReadAll);
  });
  for (int i = 0; i < 3; ++i) transfer.ApplyCommand(0);
  deviceThread.join();

  const auto calls = device.Calls();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const test::FeatureCall& call = calls[i];
    if (!call.set) continue;
    if (call.bytes[0] == kReportStatus) {
      ASSERT_LT(i + 1, calls.size());
      EXPECT_EQ(calls[i + 1].thread, call.thread) << "call " << i << ": a select is followed by its own read";
      EXPECT_FALSE(calls[i + 1].set);
      continue;
    }
    // A write: every following status read up to the one that is not busy belongs to the same thread.
    for (std::size_t j = i + 1; j < calls.size() && !calls[j].set && calls[j].bytes[0] == kReportStatus; ++j) {
      EXPECT_EQ(calls[j].thread, call.thread) << "call " << j << " polls another thread's write";
      if (calls[j].ok && calls[j].bytes[1] != kStatusBusy) break;
    }
    if (i + 1 < calls.size() && call.ok) {
      EXPECT_EQ(calls[i + 1].thread, call.thread) << "call " << i << ": a write is followed by its own poll";
    }
  }
}

}  // namespace
}  // namespace kavo::monitor
