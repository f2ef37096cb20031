#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/sealed_report.h"
#include "outside/device-sim/device_events.h"
#include "outside/device-sim/feature_answers.h"
#include "outside/device-sim/mouse_inputs.h"
#include "outside/device-sim/mouse_memory.h"
#include "outside/device-sim/sim_commands.h"

namespace kavo::sim {
namespace {

using test::Bytes;

// Report 7 carries the slots in this order (bytes 3..16).
constexpr int kWireOrder[kButtonSlotCount] = {0, 1, 2, 5, 6, 7, 8, 9, 12, 13, 3, 4, 10, 11};
const Bytes kDefaultSettings = {1, 5, 5, 2, 2, 1, 1, 0};

using test::Sealed;

struct Message {
  MessageKind kind;
  std::uint16_t eventClass;
  std::uint16_t data;
  bool operator==(const Message& other) const {
    return kind == other.kind && eventClass == other.eventClass && data == other.data;
  }
};
std::ostream& operator<<(std::ostream& out, const Message& m) {
  char text[48];
  std::snprintf(text, sizeof text, "%s 0x%04X 0x%04X", m.kind == MessageKind::kEvent ? "event" : "presence",
                m.eventClass, m.data);
  return out << text;
}
Message Event(std::uint16_t eventClass, std::uint16_t data) { return {MessageKind::kEvent, eventClass, data}; }
Message Presence(bool arrived) { return {MessageKind::kPresence, 0, static_cast<std::uint16_t>(arrived)}; }

class SimulatedMouseTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterListener(mouse_, 7, 0x1234, 1325, 1326); }

  bool Set(const Bytes& report) { return AnswerSetFeature(mouse_, report.data(), report.size()); }
  // The reply, or nothing when the read failed.
  std::optional<Bytes> Get(std::uint8_t id, std::size_t length) {
    Bytes buffer(length, 0);
    buffer[0] = id;
    if (!AnswerGetFeature(mouse_, buffer.data(), buffer.size())) return std::nullopt;
    return buffer;
  }
  std::uint8_t Status() { return (*Get(4, 3))[1]; }

  std::vector<Message> Taken() {
    std::vector<Message> messages;
    for (const PendingMessage& m : TakePending(mouse_)) messages.push_back({m.kind, m.eventClass, m.data});
    return messages;
  }
  std::vector<Message> Click(int input) {
    EXPECT_EQ(PressInput(mouse_, input), InputResult::kDone);
    EXPECT_EQ(ReleaseInput(mouse_, input), InputResult::kDone);
    return Taken();
  }
  // Gives one slot of every profile the same code, so profile steps keep the button.
  void Assign(int slot, std::uint8_t code) {
    for (ProfileMemory& profile : mouse_.profiles) profile.buttons[slot] = code;
  }
  std::uint8_t Setting(DeviceSetting which) const { return mouse_.profiles[mouse_.activeProfile].settings[which]; }

  MouseMemory mouse_ = FactoryMemory();
};

// ---- factory state and the memory file

TEST(MouseMemoryTest, FactoryMouseHoldsTheProfileDefaults) {
  const MouseMemory mouse = FactoryMemory();
  for (const ProfileMemory& profile : mouse.profiles) {
    EXPECT_EQ(Bytes(profile.settings.begin(), profile.settings.end()), kDefaultSettings);
    EXPECT_EQ(Bytes(profile.buttons.begin(), profile.buttons.end()),
              Bytes(kDefaultSlotFunctions, kDefaultSlotFunctions + kButtonSlotCount));
  }
  EXPECT_EQ(mouse.activeProfile, 0);
  EXPECT_EQ(mouse.firmware, 141);
  EXPECT_EQ(mouse.productId, 11510);
  EXPECT_EQ(mouse.hostActive, 0);
  EXPECT_EQ(mouse.resetRequests, 0u);
  EXPECT_TRUE(mouse.plugged);
  EXPECT_FALSE(mouse.listener.registered);
  EXPECT_EQ(mouse.pendingCount, 0);
}

// Every field different from the factory and from its neighbours.
MouseMemory FilledMemory() {
  MouseMemory m = FactoryMemory();
  for (int p = 0; p < kProfileCount; ++p) {
    for (int s = 0; s < kDeviceSettingCount; ++s)
      m.profiles[p].settings[s] = static_cast<std::uint8_t>(200 + p * 10 + s);
    for (int b = 0; b < kButtonSlotCount; ++b) m.profiles[p].buttons[b] = static_cast<std::uint8_t>(100 + p * 20 + b);
  }
  m.activeProfile = 3;
  m.firmware = 77;
  m.productId = 0xBEEF;
  m.hostActive = 1;
  m.resetRequests = 0x01020304;
  m.plugged = false;
  m.attachment = 0x0A0B0C0D;
  m.selection = Selection{4, kSelectButtons};
  m.status = 2;
  m.faults = FaultCounters{5, 6, 0x7FFFFFFF};
  m.held[0] = HeldInput{9, 48};
  m.held[5] = HeldInput{kHeldForWheel, 67};
  m.listener = Listener{true, 0xCAFEF00D, 0x1122334455667788ull, 1325, 1326};
  m.pending[0] = PendingMessage{MessageKind::kEvent, 0xF000, 0x0126};
  m.pending[1] = PendingMessage{MessageKind::kPresence, 0, 1};
  m.pendingCount = 2;
  return m;
}

TEST(MouseMemoryTest, SavedMemoryLoadsBackFieldForField) {
  const MouseMemory original = FilledMemory();
  MouseMemory loaded;
  ASSERT_TRUE(LoadMemory(SaveMemory(original), loaded));

  for (int p = 0; p < kProfileCount; ++p) {
    EXPECT_EQ(loaded.profiles[p].settings, original.profiles[p].settings) << "profile " << p;
    EXPECT_EQ(loaded.profiles[p].buttons, original.profiles[p].buttons) << "profile " << p;
  }
  EXPECT_EQ(loaded.activeProfile, 3);
  EXPECT_EQ(loaded.firmware, 77);
  EXPECT_EQ(loaded.productId, 0xBEEF);
  EXPECT_EQ(loaded.hostActive, 1);
  EXPECT_EQ(loaded.resetRequests, 0x01020304u);
  EXPECT_FALSE(loaded.plugged);
  EXPECT_EQ(loaded.attachment, 0x0A0B0C0Du);
  EXPECT_EQ(loaded.selection.profile, 4);
  EXPECT_EQ(loaded.selection.kind, kSelectButtons);
  EXPECT_EQ(loaded.status, 2);
  EXPECT_EQ(loaded.faults.busy, 5u);
  EXPECT_EQ(loaded.faults.fail, 6u);
  EXPECT_EQ(loaded.faults.badChecksum, 0x7FFFFFFFu);
  for (int i = 0; i < kPhysicalInputCount; ++i) {
    EXPECT_EQ(loaded.held[i].slot, original.held[i].slot) << "input " << i + 1;
    EXPECT_EQ(loaded.held[i].function, original.held[i].function) << "input " << i + 1;
  }
  EXPECT_TRUE(loaded.listener.registered);
  EXPECT_EQ(loaded.listener.process, 0xCAFEF00Du);
  EXPECT_EQ(loaded.listener.window, 0x1122334455667788ull);
  EXPECT_EQ(loaded.listener.eventMessage, 1325u);
  EXPECT_EQ(loaded.listener.presenceMessage, 1326u);
  ASSERT_EQ(loaded.pendingCount, 2);
  EXPECT_EQ(loaded.pending[0].kind, MessageKind::kEvent);
  EXPECT_EQ(loaded.pending[0].eventClass, 0xF000);
  EXPECT_EQ(loaded.pending[0].data, 0x0126);
  EXPECT_EQ(loaded.pending[1].kind, MessageKind::kPresence);
  EXPECT_EQ(loaded.pending[1].data, 1);
}

// Recomputes the trailing checksum, so that a test reaches the checks behind it.
std::string Resealed(std::string file) {
  const std::uint32_t sum = MemoryFileChecksum(std::string_view(file).substr(0, file.size() - 4));
  for (int i = 0; i < 4; ++i) file[file.size() - 4 + i] = static_cast<char>(sum >> (8 * i));
  return file;
}

using Damage = std::function<std::string(std::string)>;
// Flips bits of one byte (offsets below zero count from the end), optionally resealing the file.
Damage Flipped(int offset, char bits, bool reseal) {
  return [=](std::string file) {
    file[offset < 0 ? file.size() + offset : offset] ^= bits;
    return reseal ? Resealed(file) : file;
  };
}

struct DamageCase {
  const char* name;
  Damage damage;
};
void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class DamagedMemoryFileTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedMemoryFileTest, GivesFactoryDefaults) {
  const std::string damaged = GetParam().damage(SaveMemory(FilledMemory()));
  MouseMemory loaded = FilledMemory();
  EXPECT_FALSE(LoadMemory(damaged, loaded));
  EXPECT_EQ(SaveMemory(loaded), SaveMemory(FactoryMemory()));
}

// The header is magic (0..3), version (4..5), reserved (6..7) and payload size (8..11).
INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedMemoryFileTest,
    ::testing::Values(
        DamageCase{"Empty", [](std::string) { return std::string(); }},
        DamageCase{"HeaderOnly", [](std::string f) { return f.substr(0, 12); }},
        DamageCase{"LastByteMissing", [](std::string f) { return f.substr(0, f.size() - 1); }},
        DamageCase{"TruncatedAndResealed", [](std::string f) { return Resealed(f.substr(0, f.size() - 5) + "1234"); }},
        DamageCase{"ByteAppended", [](std::string f) { return f + '\0'; }},
        DamageCase{"PayloadByteFlipped", Flipped(40, 0x01, false)},
        DamageCase{"ChecksumByteFlipped", Flipped(-1, 0x40, false)}, DamageCase{"WrongMagic", Flipped(0, 0x20, true)},
        DamageCase{"NextVersion", Flipped(4, 0x03, true)}, DamageCase{"PayloadSizeWrong", Flipped(8, 0x01, true)}),
    [](const ::testing::TestParamInfo<DamageCase>& test) { return std::string(test.param.name); });

struct OutOfRangeCase {
  const char* name;
  void (*spoil)(MouseMemory&);
};
void PrintTo(const OutOfRangeCase& c, std::ostream* out) { *out << c.name; }

class OutOfRangeMemoryTest : public ::testing::TestWithParam<OutOfRangeCase> {};

TEST_P(OutOfRangeMemoryTest, WholeFileWithAValueOutOfRangeGivesFactoryDefaults) {
  MouseMemory spoiled = FilledMemory();
  GetParam().spoil(spoiled);
  MouseMemory loaded;
  EXPECT_FALSE(LoadMemory(SaveMemory(spoiled), loaded));
  EXPECT_EQ(SaveMemory(loaded), SaveMemory(FactoryMemory()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutOfRangeMemoryTest,
    ::testing::Values(OutOfRangeCase{"ActiveProfileAboveFour", [](MouseMemory& m) { m.activeProfile = 5; }},
                      OutOfRangeCase{"HostActiveNotAFlag", [](MouseMemory& m) { m.hostActive = 2; }},
                      OutOfRangeCase{"SelectedProfileAboveFour", [](MouseMemory& m) { m.selection.profile = 5; }},
                      OutOfRangeCase{"UnknownSelection", [](MouseMemory& m) { m.selection.kind = 0x30; }},
                      OutOfRangeCase{"HeldThroughNoSlot", [](MouseMemory& m) { m.held[2].slot = 14; }},
                      OutOfRangeCase{"QueueOverfull", [](MouseMemory& m) { m.pendingCount = kPendingCapacity + 1; }},
                      OutOfRangeCase{"UnknownMessageKind",
                                     [](MouseMemory& m) { m.pending[1].kind = static_cast<MessageKind>(3); }}),
    [](const ::testing::TestParamInfo<OutOfRangeCase>& test) { return std::string(test.param.name); });

// ---- feature reports

TEST_F(SimulatedMouseTest, ReadsAnswerInTheirExactLayout) {
  EXPECT_EQ(Get(4, 3), (Bytes{4, 1, 0}));
  EXPECT_EQ(Get(5, 3), (Bytes{5, 3, 0}));
  EXPECT_EQ(Get(9, 6), (Bytes{9, 6, 141, 0, 0, 0}));
  ASSERT_TRUE(Set({4, 0, 0x10}));
  EXPECT_EQ(Get(6, 13), (Bytes{6, 13, 0, 1, 5, 5, 2, 2, 1, 1, 0, 36, 0}));
  ASSERT_TRUE(Set({4, 0, 0x20}));
  // Slots 0,1,2,5,6,7,8,9,12,13,3,4,10,11 of the defaults; 26 + 297 = 0x143.
  EXPECT_EQ(Get(7, 19), (Bytes{7, 19, 0, 1, 2, 3, 13, 14, 8, 7, 37, 38, 39, 65, 64, 0, 6, 0x43, 0x01}));
}

TEST_F(SimulatedMouseTest, ReportFourChoosesWhichProfileAndWhatTheNextReadsAnswer) {
  mouse_.profiles[2].settings = {0, 10, 9, 4, 4, 0, 3, 1};
  mouse_.profiles[3].buttons[3] = 48;
  EXPECT_EQ(Get(6, 13), std::nullopt) << "nothing selected since power-on";
  EXPECT_EQ(Get(7, 19), std::nullopt);

  ASSERT_TRUE(Set({4, 2, 0x10}));
  EXPECT_EQ(Get(6, 13), Sealed({6, 13, 2, 0, 10, 9, 4, 4, 0, 3, 1}));
  EXPECT_EQ(Get(6, 13), Sealed({6, 13, 2, 0, 10, 9, 4, 4, 0, 3, 1})) << "the selection stays";
  EXPECT_EQ(Get(7, 19), std::nullopt) << "settings were selected";

  ASSERT_TRUE(Set({4, 3, 0x20}));
  const auto buttons = Get(7, 19);
  ASSERT_TRUE(buttons);
  EXPECT_EQ((*buttons)[2], 3);
  EXPECT_EQ((*buttons)[13], 48) << "slot 3 travels in byte 13";
  EXPECT_EQ(Get(6, 13), std::nullopt);
}

TEST_F(SimulatedMouseTest, WrittenSettingsAreStoredAsSentAndReadBack) {
  const Bytes report = Sealed({6, 13, 3, 0, 44, 10, 4, 1, 0, 7, 1});
  ASSERT_TRUE(Set(report));
  EXPECT_EQ(mouse_.profiles[3].settings, (std::array<std::uint8_t, 8>{0, 44, 10, 4, 1, 0, 7, 1}));
  EXPECT_EQ(Bytes(mouse_.profiles[2].settings.begin(), mouse_.profiles[2].settings.end()), kDefaultSettings);
  ASSERT_TRUE(Set({4, 3, 0x10}));
  EXPECT_EQ(Get(6, 13), report);
}

TEST_F(SimulatedMouseTest, WrittenButtonCodesTravelInDeviceOrder) {
  Bytes report = {7, 19, 1};
  for (int i = 0; i < kButtonSlotCount; ++i) report.push_back(static_cast<std::uint8_t>(101 + i));
  report = Sealed(report);
  ASSERT_TRUE(Set(report));
  for (int i = 0; i < kButtonSlotCount; ++i) {
    EXPECT_EQ(mouse_.profiles[1].buttons[kWireOrder[i]], 101 + i) << "byte " << 3 + i;
  }
  EXPECT_EQ(mouse_.profiles[1].buttons[5], 104) << "slot 5 comes in byte 6";
  EXPECT_EQ(mouse_.profiles[1].buttons[3], 111) << "slot 3 comes in byte 13";
  ASSERT_TRUE(Set({4, 1, 0x20}));
  EXPECT_EQ(Get(7, 19), report);
}

TEST_F(SimulatedMouseTest, ActiveProfileResetAndHostFlagWrites) {
  ASSERT_TRUE(Set({5, 3, 4}));
  EXPECT_EQ(Get(5, 3), (Bytes{5, 3, 4}));
  ASSERT_TRUE(Set({11, 3, 1}));
  EXPECT_EQ(mouse_.hostActive, 1);

  mouse_.profiles[0].settings[kCpiX] = 4;
  mouse_.profiles[4].buttons[13] = 5;
  ASSERT_TRUE(Set({9, 6, 7, 0, 0, 0}));
  for (const ProfileMemory& profile : mouse_.profiles) {
    EXPECT_EQ(Bytes(profile.settings.begin(), profile.settings.end()), kDefaultSettings);
    EXPECT_EQ(profile.buttons[13], kDefaultSlotFunctions[13]);
  }
  EXPECT_EQ(mouse_.activeProfile, 0);
  EXPECT_EQ(mouse_.resetRequests, 1u);
  EXPECT_EQ(mouse_.hostActive, 1) << "the host flag is not a profile";
  ASSERT_TRUE(Set({11, 3, 0}));
  EXPECT_EQ(mouse_.hostActive, 0);
}

struct LengthCase {
  std::uint8_t id;
  std::size_t length;
  bool write;
};
void PrintTo(const LengthCase& c, std::ostream* out) {
  *out << (c.write ? "write " : "read ") << int(c.id) << " of length " << c.length;
}

class ReportLengthTest : public SimulatedMouseTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(ReportLengthTest, OnlyTheExactLengthIsTaken) {
  const LengthCase c = GetParam();
  ASSERT_TRUE(Set({4, 0, 0x10}));
  mouse_.selection.kind = c.id == 7 ? kSelectButtons : kSelectSettings;
  const std::string before = SaveMemory(mouse_);
  for (std::size_t length : {c.length - 1, c.length + 1}) {
    Bytes buffer(length, 0);
    buffer[0] = c.id;
    if (c.write) {
      buffer[1] = static_cast<std::uint8_t>(length);
      EXPECT_FALSE(AnswerSetFeature(mouse_, buffer.data(), length)) << "length " << length;
    } else {
      EXPECT_FALSE(AnswerGetFeature(mouse_, buffer.data(), length)) << "length " << length;
      Bytes untouched(length, 0);
      untouched[0] = c.id;
      EXPECT_EQ(buffer, untouched);
    }
  }
  EXPECT_EQ(SaveMemory(mouse_), before) << "a report of the wrong length never reaches the mouse";
}

INSTANTIATE_TEST_SUITE_P(Reports, ReportLengthTest,
                         ::testing::Values(LengthCase{4, 3, true}, LengthCase{4, 3, false}, LengthCase{5, 3, true},
                                           LengthCase{5, 3, false}, LengthCase{6, 13, true}, LengthCase{6, 13, false},
                                           LengthCase{7, 19, true}, LengthCase{7, 19, false}, LengthCase{9, 6, true},
                                           LengthCase{9, 6, false}, LengthCase{11, 3, true}));

TEST_F(SimulatedMouseTest, ReportsWithoutAnAnswerFail) {
  EXPECT_EQ(Get(11, 3), std::nullopt) << "report 11 is written only";
  EXPECT_EQ(Get(8, 3), std::nullopt);
  EXPECT_FALSE(Set({8, 3, 0}));
  EXPECT_FALSE(AnswerSetFeature(mouse_, nullptr, 3));
}

struct RefusedCase {
  const char* name;
  Bytes report;
};
void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }

class RefusedWriteTest : public SimulatedMouseTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedWriteTest, ChangesNothingAndLeavesRefusedStatus) {
  mouse_.activeProfile = 2;
  mouse_.selection = Selection{1, kSelectSettings};
  MouseMemory expected = mouse_;
  expected.status = kStatusRefused;
  EXPECT_FALSE(Set(GetParam().report));
  EXPECT_EQ(SaveMemory(mouse_), SaveMemory(expected));
  EXPECT_EQ(Status(), kStatusRefused);
  ASSERT_TRUE(Set({11, 3, 1}));
  EXPECT_EQ(Status(), kStatusReady) << "the next accepted write makes it ready again";
}

Bytes Buttons(std::uint8_t index) {
  Bytes report = {7, 19, index};
  for (int i = 0; i < kButtonSlotCount; ++i) report.push_back(5);
  return Sealed(report);
}
Bytes Spoiled(Bytes report) {
  report.back() ^= 0x01;
  return report;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedWriteTest,
    ::
        testing::Values(RefusedCase{"SelectProfileFive", {4, 5, 0x10}}, RefusedCase{"SelectUnknownKind", {4, 1, 0x30}},
                        RefusedCase{"ActiveWithoutLength", {5, 0, 1}}, RefusedCase{"ActiveProfileFive", {5, 3, 5}},
                        RefusedCase{"SettingsBadChecksum", Spoiled(Sealed({6, 13, 1, 1, 1, 1, 1, 1, 1, 1, 1}))},
                        RefusedCase{
                            "SettingsLowChecksumByte",
                            [] {
                              Bytes r = Sealed({6, 13, 1, 1, 1, 1, 1, 1, 1, 1, 1});
                              r[11] ^= 0x01;
                              return r;
                            }()},
                        RefusedCase{"SettingsProfileFive", Sealed({6, 13, 5, 1, 1, 1, 1, 1, 1, 1, 1})},
                        RefusedCase{"SettingsWrongLengthByte", Sealed({6, 12, 1, 1, 1, 1, 1, 1, 1, 1, 1})},
                        RefusedCase{"ButtonsBadChecksum", Spoiled(Buttons(1))},
                        RefusedCase{"ButtonsProfileFive", Buttons(5)},
                        RefusedCase{"ResetWithoutItsCode", {9, 6, 6, 0, 0, 0}},
                        RefusedCase{"ResetWithTrailingByte", {9, 6, 7, 0, 1, 0}},
                        RefusedCase{"HostFlagTwo", {11, 3, 2}}),
    [](const ::testing::TestParamInfo<RefusedCase>& test) { return std::string(test.param.name); });

TEST_F(SimulatedMouseTest, BusyCounterAnswersBusyStatusReadsOnly) {
  mouse_.faults.busy = 2;
  ASSERT_TRUE(Set({5, 3, 1}));
  EXPECT_EQ(Get(5, 3), (Bytes{5, 3, 1})) << "other reads do not use it up";
  EXPECT_EQ(Status(), kStatusBusy);
  EXPECT_EQ(Status(), kStatusBusy);
  EXPECT_EQ(Status(), kStatusReady);
  EXPECT_EQ(mouse_.faults.busy, 0u);
}

TEST_F(SimulatedMouseTest, FailCounterFailsAnyCallWithoutEffect) {
  mouse_.faults.fail = 3;
  EXPECT_FALSE(Set({5, 3, 4}));
  EXPECT_EQ(Get(9, 6), std::nullopt);
  EXPECT_FALSE(Set({8, 3, 0})) << "even a report that would fail anyway uses one up";
  EXPECT_EQ(mouse_.activeProfile, 0);
  EXPECT_EQ(Status(), kStatusReady);
  ASSERT_TRUE(Set({5, 3, 4}));
  EXPECT_EQ(mouse_.activeProfile, 4);
}

TEST_F(SimulatedMouseTest, BadChecksumCounterSpoilsProfileReadsOnly) {
  mouse_.faults.badChecksum = 2;
  EXPECT_TRUE(Get(9, 6));
  EXPECT_EQ(Status(), kStatusReady);
  ASSERT_TRUE(Set({4, 1, 0x10}));
  const Bytes good = Sealed({6, 13, 1, 1, 5, 5, 2, 2, 1, 1, 0});
  const auto spoiled = Get(6, 13);
  ASSERT_TRUE(spoiled);
  EXPECT_EQ(Bytes(spoiled->begin(), spoiled->end() - 2), Bytes(good.begin(), good.end() - 2));
  EXPECT_NE(Bytes(spoiled->end() - 2, spoiled->end()), Bytes(good.end() - 2, good.end()));
  ASSERT_TRUE(Set({4, 1, 0x20}));
  const auto buttons = Get(7, 19);
  ASSERT_TRUE(buttons);
  EXPECT_NE(*buttons, Sealed(Bytes(buttons->begin(), buttons->end() - 2)));
  ASSERT_TRUE(Set({4, 1, 0x10}));
  EXPECT_EQ(Get(6, 13), good);
}

TEST_F(SimulatedMouseTest, UnpluggedMouseAnswersNothing) {
  Unplug(mouse_);
  EXPECT_FALSE(Set({11, 3, 1}));
  EXPECT_EQ(Get(9, 6), std::nullopt);
  EXPECT_EQ(Get(4, 3), std::nullopt);
  Plug(mouse_);
  EXPECT_TRUE(Set({11, 3, 1}));
}

TEST(FeatureChannelTest, OpensOnlyOnAPluggedMouseAndDiesWithItsRemoval) {
  MouseMemory mouse = FactoryMemory();
  FeatureChannel channel;
  EXPECT_FALSE(channel.IsUsable(mouse)) << "not opened yet";
  ASSERT_TRUE(channel.Open(mouse));
  EXPECT_TRUE(channel.IsUsable(mouse));
  channel.Close();
  EXPECT_FALSE(channel.IsUsable(mouse));

  ASSERT_TRUE(channel.Open(mouse));
  Unplug(mouse);
  EXPECT_FALSE(channel.IsUsable(mouse));
  EXPECT_FALSE(channel.Open(mouse));
  Plug(mouse);
  EXPECT_FALSE(channel.IsUsable(mouse)) << "a channel from before the removal stays dead";
  ASSERT_TRUE(channel.Open(mouse));
  EXPECT_TRUE(channel.IsUsable(mouse));
}

// ---- inputs

struct SlotCase {
  std::uint8_t code;
  int input;
  std::vector<Message> click;  // what a press and a release report
};
void PrintTo(const SlotCase& c, std::ostream* out) { *out << "code " << int(c.code) << " on input " << c.input; }

class SlotFunctionTest : public SimulatedMouseTest, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(SlotFunctionTest, ClickReportsWhatTheHostMustDo) {
  const SlotCase c = GetParam();
  Assign(c.input - 1, c.code);
  EXPECT_EQ(Click(c.input), c.click);
  EXPECT_EQ(mouse_.held[c.input - 1].slot, kNotHeld);
}

INSTANTIATE_TEST_SUITE_P(Reported, SlotFunctionTest,
                         ::testing::Values(SlotCase{5, 1, {Event(0x5000, 0x0001), Event(0x5000, 0x0101)}},
                                           SlotCase{48, 2, {Event(0x4000, 0x0002), Event(0x4000, 0x0102)}},
                                           SlotCase{15, 3, {Event(0x6000, 0x0003), Event(0x6000, 0x0103)}},
                                           SlotCase{5, 7, {Event(0x5000, 0x0007), Event(0x5000, 0x0107)}},
                                           SlotCase{32, 5, {Event(0xF000, 0x0020), Event(0xF000, 0x0120)}},
                                           SlotCase{36, 1, {Event(0xF000, 0x0024), Event(0xF000, 0x0124)}},
                                           SlotCase{39, 6, {Event(0xF000, 0x0027), Event(0xF000, 0x0127)}},
                                           SlotCase{9, 6, {Event(0x1000, 255)}}, SlotCase{10, 7, {Event(0x1000, 1)}}));

TEST_F(SimulatedMouseTest, EveryOtherCodeIsPerformedByTheMouseSilently) {
  const std::vector<int> reported = {5, 9, 10, 15, 16, 17, 18, 20, 21, 22, 32, 33, 34, 35, 36, 37, 38, 39, 48};
  for (int code = 0; code < 256; ++code) {
    if (std::find(reported.begin(), reported.end(), code) != reported.end()) continue;
    Assign(1, static_cast<std::uint8_t>(code));
    const std::string before = SaveMemory(mouse_);
    EXPECT_EQ(Click(2), std::vector<Message>{}) << "code " << code;
    EXPECT_EQ(SaveMemory(mouse_), before) << "code " << code;
  }
}

TEST_F(SimulatedMouseTest, HeldAltlayerButtonSwitchesOtherInputsToTheirSecondSlot) {
  Assign(0, 5);   // input 1, normal layer
  Assign(7, 48);  // input 1, Altlayer layer
  Assign(4, 65);  // input 5 is a second Altlayer button
  ASSERT_EQ(mouse_.profiles[0].buttons[3], kFunctionAltlayer);

  ASSERT_EQ(PressInput(mouse_, 4), InputResult::kDone);
  EXPECT_EQ(Taken(), std::vector<Message>{}) << "Altlayer itself reports nothing";
  EXPECT_EQ(Click(1), (std::vector<Message>{Event(0x4000, 0x0008), Event(0x4000, 0x0108)}));
  ASSERT_EQ(ReleaseInput(mouse_, 4), InputResult::kDone);
  EXPECT_EQ(Click(1), (std::vector<Message>{Event(0x5000, 0x0001), Event(0x5000, 0x0101)}));

  ASSERT_EQ(PressInput(mouse_, 5), InputResult::kDone);
  EXPECT_EQ(Click(1), (std::vector<Message>{Event(0x4000, 0x0008), Event(0x4000, 0x0108)})) << "either button";
  ASSERT_EQ(ReleaseInput(mouse_, 5), InputResult::kDone);

  // An Altlayer button does not switch its own input: input 4 alone goes through slot 3.
  Assign(10, 5);
  EXPECT_EQ(Click(4), std::vector<Message>{});
}

TEST_F(SimulatedMouseTest, ReleaseGoesThroughThePressesSlotAndCode) {
  Assign(0, 5);
  Assign(7, 48);
  ASSERT_EQ(PressInput(mouse_, 4), InputResult::kDone);
  ASSERT_EQ(PressInput(mouse_, 1), InputResult::kDone);
  ASSERT_EQ(ReleaseInput(mouse_, 4), InputResult::kDone);
  ASSERT_EQ(ReleaseInput(mouse_, 1), InputResult::kDone);
  EXPECT_EQ(Taken(), (std::vector<Message>{Event(0x4000, 0x0008), Event(0x4000, 0x0108)}));

  ASSERT_EQ(PressInput(mouse_, 1), InputResult::kDone);
  ASSERT_EQ(PressInput(mouse_, 4), InputResult::kDone);
  Assign(0, 1);  // the host rewrites the slot while the button is down
  ASSERT_EQ(ReleaseInput(mouse_, 1), InputResult::kDone);
  EXPECT_EQ(Taken(), (std::vector<Message>{Event(0x5000, 0x0001), Event(0x5000, 0x0101)}));
}

TEST_F(SimulatedMouseTest, RepeatedPressesAndLooseReleasesChangeNothing) {
  Assign(0, 5);
  ASSERT_EQ(PressInput(mouse_, 1), InputResult::kDone);
  ASSERT_EQ(PressInput(mouse_, 1), InputResult::kDone);
  ASSERT_EQ(ReleaseInput(mouse_, 1), InputResult::kDone);
  ASSERT_EQ(ReleaseInput(mouse_, 1), InputResult::kDone);
  EXPECT_EQ(Taken(), (std::vector<Message>{Event(0x5000, 0x0001), Event(0x5000, 0x0101)}));
  EXPECT_EQ(PressInput(mouse_, 0), InputResult::kNoSuchInput);
  EXPECT_EQ(ReleaseInput(mouse_, 8), InputResult::kNoSuchInput);
}

struct StepCase {
  std::uint8_t code;
  int from;
  int to;
  std::vector<Message> report;
};
void PrintTo(const StepCase& c, std::ostream* out) { *out << "code " << int(c.code) << " from " << c.from; }

class ProfileStepTest : public SimulatedMouseTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ProfileStepTest, ChangesTheMousesOwnProfile) {
  const StepCase c = GetParam();
  Assign(2, c.code);
  mouse_.activeProfile = static_cast<std::uint8_t>(c.from);
  EXPECT_EQ(Click(3), c.report);
  EXPECT_EQ(mouse_.activeProfile, c.to);
}

INSTANTIATE_TEST_SUITE_P(Steps, ProfileStepTest,
                         ::testing::Values(StepCase{16, 0, 1, {Event(0x3000, 2)}},
                                           StepCase{16, 4, 0, {Event(0x3000, 1)}},
                                           StepCase{17, 3, 4, {Event(0x3000, 5)}}, StepCase{17, 4, 4, {}},
                                           StepCase{18, 1, 0, {Event(0x3000, 1)}}, StepCase{18, 0, 0, {}}));

class ResolutionStepTest : public SimulatedMouseTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ResolutionStepTest, ChangesBothResolutionsOfTheActiveProfile) {
  const StepCase c = GetParam();
  mouse_.activeProfile = 2;
  Assign(0, c.code);
  mouse_.profiles[2].settings[kCpiX] = static_cast<std::uint8_t>(c.from);
  mouse_.profiles[2].settings[kCpiY] = static_cast<std::uint8_t>(c.from);
  EXPECT_EQ(Click(1), c.report);
  EXPECT_EQ(Setting(kCpiX), c.to);
  EXPECT_EQ(Setting(kCpiY), c.to);
  EXPECT_EQ(mouse_.profiles[1].settings[kCpiX], 2) << "other profiles keep theirs";
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ResolutionStepTest,
    ::testing::Values(StepCase{20, 1, 2, {Event(0xB000, 2)}}, StepCase{20, 3, 4, {Event(0xB000, 4)}},
                      StepCase{20, 4, 1, {Event(0xB000, 1)}}, StepCase{20, 9, 1, {Event(0xB000, 1)}},
                      StepCase{20, 0, 1, {Event(0xB000, 1)}}, StepCase{21, 3, 4, {Event(0xB000, 4)}},
                      StepCase{21, 4, 4, {}}, StepCase{21, 0, 2, {Event(0xB000, 2)}},
                      StepCase{22, 2, 1, {Event(0xB000, 1)}}, StepCase{22, 1, 1, {}},
                      StepCase{22, 9, 3, {Event(0xB000, 3)}}));

struct DualwheelCase {
  const char* name;
  std::uint8_t code;
  int wheel;
  std::function<void(MouseMemory&)> before;
  std::vector<Message> report;
  std::function<void(const MouseMemory&)> after;
};
void PrintTo(const DualwheelCase& c, std::ostream* out) { *out << c.name; }

class DualwheelTest : public SimulatedMouseTest, public ::testing::WithParamInterface<DualwheelCase> {};

TEST_P(DualwheelTest, HeldButtonTurnsTheWheelIntoASetting) {
  const DualwheelCase& c = GetParam();
  Assign(4, c.code);  // input 5
  Assign(5, 5);       // the wheels' own slots would report if they were used
  Assign(6, 5);
  Assign(12, 5);
  Assign(13, 5);
  c.before(mouse_);
  ASSERT_EQ(PressInput(mouse_, 5), InputResult::kDone);
  EXPECT_EQ(Click(c.wheel), c.report);
  c.after(mouse_);
  ASSERT_EQ(ReleaseInput(mouse_, 5), InputResult::kDone);
  EXPECT_EQ(Taken(), std::vector<Message>{});
}

void Nothing(MouseMemory&) {}
std::function<void(MouseMemory&)> Sensitivities(int x, int y) {
  return [x, y](MouseMemory& m) {
    m.profiles[0].settings[kSensitivityX] = static_cast<std::uint8_t>(x);
    m.profiles[0].settings[kSensitivityY] = static_cast<std::uint8_t>(y);
  };
}
std::function<void(const MouseMemory&)> ExpectSensitivities(int x, int y) {
  return [x, y](const MouseMemory& m) {
    EXPECT_EQ(m.profiles[0].settings[kSensitivityX], x);
    EXPECT_EQ(m.profiles[0].settings[kSensitivityY], y);
  };
}
std::function<void(MouseMemory&)> Resolution(int code) {
  return [code](MouseMemory& m) {
    m.profiles[0].settings[kCpiX] = m.profiles[0].settings[kCpiY] = static_cast<std::uint8_t>(code);
  };
}
std::function<void(const MouseMemory&)> ExpectResolution(int code) {
  return [code](const MouseMemory& m) {
    EXPECT_EQ(m.profiles[0].settings[kCpiX], code);
    EXPECT_EQ(m.profiles[0].settings[kCpiY], code);
  };
}
std::function<void(const MouseMemory&)> ExpectProfile(int profile) {
  return [profile](const MouseMemory& m) { EXPECT_EQ(m.activeProfile, profile); };
}
void ExpectDefaults(const MouseMemory& m) {
  EXPECT_EQ(Bytes(m.profiles[0].settings.begin(), m.profiles[0].settings.end()), kDefaultSettings);
  EXPECT_EQ(m.activeProfile, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DualwheelTest,
    ::testing::Values(
        DualwheelCase{"SensitivityUp", 66, 6, Nothing, {Event(0xC000, 0x0606)}, ExpectSensitivities(6, 6)},
        DualwheelCase{"SensitivityDownStopsEachAtOne",
                      66,
                      7,
                      Sensitivities(1, 3),
                      {Event(0xC000, 0x0201)},
                      ExpectSensitivities(1, 2)},
        DualwheelCase{"SensitivityAtTheTop", 66, 6, Sensitivities(10, 10), {}, ExpectSensitivities(10, 10)},
        DualwheelCase{"ProfileUp", 67, 6, Nothing, {Event(0x3000, 2)}, ExpectProfile(1)},
        DualwheelCase{"ProfileDownAtTheBottom", 67, 7, Nothing, {}, ExpectProfile(0)},
        DualwheelCase{"ResolutionUp", 68, 6, Nothing, {Event(0xB000, 3)}, ExpectResolution(3)},
        DualwheelCase{"ResolutionDownAtTheBottom", 68, 7, Resolution(1), {}, ExpectResolution(1)},
        DualwheelCase{"VolumeUp", 69, 6, Nothing, {Event(0xF000, 0x0026), Event(0xF000, 0x0126)}, ExpectDefaults},
        DualwheelCase{"VolumeDown", 69, 7, Nothing, {Event(0xF000, 0x0027), Event(0xF000, 0x0127)}, ExpectDefaults}),
    [](const ::testing::TestParamInfo<DualwheelCase>& test) { return std::string(test.param.name); });

TEST_F(SimulatedMouseTest, DualwheelLeavesTheButtonsAlone) {
  Assign(4, kFunctionDualwheelVolume);
  Assign(0, 5);
  Assign(7, 48);
  ASSERT_EQ(PressInput(mouse_, 5), InputResult::kDone);
  EXPECT_EQ(Click(1), (std::vector<Message>{Event(0x5000, 0x0001), Event(0x5000, 0x0101)})) << "no second layer";
  // The wheel was turned before the button went down: its release stays a plain one.
  ASSERT_EQ(ReleaseInput(mouse_, 5), InputResult::kDone);
  Assign(5, 38);
  ASSERT_EQ(PressInput(mouse_, 6), InputResult::kDone);
  ASSERT_EQ(PressInput(mouse_, 5), InputResult::kDone);
  ASSERT_EQ(ReleaseInput(mouse_, 6), InputResult::kDone);
  EXPECT_EQ(Taken(), (std::vector<Message>{Event(0xF000, 0x0026), Event(0xF000, 0x0126)}));
}

// ---- the queue and the connection

TEST_F(SimulatedMouseTest, NothingIsQueuedWithoutAListenerButTheMouseStillActs) {
  ASSERT_TRUE(UnregisterListener(mouse_, 7));
  Assign(0, kFunctionProfileCycle);
  EXPECT_EQ(Click(1), std::vector<Message>{});
  EXPECT_EQ(mouse_.activeProfile, 1);
  Unplug(mouse_);
  Plug(mouse_);
  EXPECT_EQ(Taken(), std::vector<Message>{});
}

TEST_F(SimulatedMouseTest, RemovalStopsEventsAndIsAnnounced) {
  Assign(0, 5);
  ASSERT_EQ(PressInput(mouse_, 1), InputResult::kDone);
  Unplug(mouse_);
  Unplug(mouse_);
  EXPECT_EQ(mouse_.held[0].slot, kNotHeld) << "a removal lets go of every input";
  EXPECT_EQ(PressInput(mouse_, 1), InputResult::kUnplugged);
  EXPECT_EQ(ReleaseInput(mouse_, 1), InputResult::kUnplugged);
  QueueEvent(mouse_, kClassBattery, 1);
  Plug(mouse_);
  Plug(mouse_);
  QueueEvent(mouse_, kClassBattery, 1);
  EXPECT_EQ(Taken(), (std::vector<Message>{Event(0x5000, 0x0001), Presence(false), Presence(true), Event(0x7000, 1)}));
}

TEST_F(SimulatedMouseTest, FullQueueDropsItsOldestMessage) {
  for (std::uint16_t i = 0; i < kPendingCapacity + 3; ++i) QueueEvent(mouse_, 0x2000, i);
  const std::vector<Message> taken = Taken();
  ASSERT_EQ(taken.size(), kPendingCapacity);
  EXPECT_EQ(taken.front(), Event(0x2000, 3));
  EXPECT_EQ(taken.back(), Event(0x2000, kPendingCapacity + 2));
  EXPECT_EQ(Taken(), std::vector<Message>{});
}

TEST_F(SimulatedMouseTest, ListenerBelongsToTheProcessThatRegisteredIt) {
  QueueEvent(mouse_, kClassBattery, 1);
  EXPECT_FALSE(UnregisterListener(mouse_, 8));
  EXPECT_TRUE(mouse_.listener.registered);
  EXPECT_EQ(mouse_.pendingCount, 1);

  RegisterListener(mouse_, 8, 0x99, 2000, 2001);
  EXPECT_EQ(mouse_.pendingCount, 0) << "messages for the old window are dropped";
  EXPECT_EQ(mouse_.listener.window, 0x99u);
  EXPECT_EQ(mouse_.listener.eventMessage, 2000u);
  EXPECT_FALSE(UnregisterListener(mouse_, 7));
  EXPECT_TRUE(UnregisterListener(mouse_, 8));
  EXPECT_FALSE(mouse_.listener.registered);
}

// ---- the control tool's commands

struct BadCommandCase {
  std::vector<std::string> words;
  const char* mentions;
};
void PrintTo(const BadCommandCase& c, std::ostream* out) {
  for (const std::string& word : c.words) *out << "[" << word << "]";
}

class BadCommandTest : public ::testing::TestWithParam<BadCommandCase> {};

TEST_P(BadCommandTest, IsRefusedWithAReason) {
  std::string error;
  EXPECT_EQ(ParseSimCommand(GetParam().words, error), std::nullopt);
  EXPECT_NE(error.find(GetParam().mentions), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadCommandTest,
    ::testing::Values(BadCommandCase{{}, "no command"}, BadCommandCase{{"fly"}, "unknown command 'fly'"},
                      BadCommandCase{{"Plug"}, "unknown command"}, BadCommandCase{{"press"}, "takes 1 argument"},
                      BadCommandCase{{"press", "0"}, "'0' is not an input"}, BadCommandCase{{"press", "8"}, "'8'"},
                      BadCommandCase{{"press", "+1"}, "'+1'"}, BadCommandCase{{"click", "x"}, "'x'"},
                      BadCommandCase{{"release", "1", "2"}, "takes 1 argument"},
                      BadCommandCase{{"busy", "-1"}, "'-1' is not a count"}, BadCommandCase{{"fail", "1.5"}, "'1.5'"},
                      BadCommandCase{{"bad-checksum", "0x"}, "'0x'"}, BadCommandCase{{"busy", ""}, "''"},
                      BadCommandCase{{"busy", "4294967296"}, "'4294967296'"},
                      BadCommandCase{{"event", "0x1000"}, "takes 2 arguments"},
                      BadCommandCase{{"event", "0x10000", "1"}, "event class"},
                      BadCommandCase{{"event", "1", "0x1g"}, "event data"},
                      BadCommandCase{{"firmware", "256"}, "'256'"}, BadCommandCase{{"pid", "0x10000"}, "product id"},
                      BadCommandCase{{"dump", "now"}, "takes 0 arguments"}));

struct GoodCommandCase {
  std::vector<std::string> words;
  SimVerb verb;
  std::uint32_t first;
  std::uint32_t second;
};
void PrintTo(const GoodCommandCase& c, std::ostream* out) {
  for (const std::string& word : c.words) *out << "[" << word << "]";
}

class GoodCommandTest : public ::testing::TestWithParam<GoodCommandCase> {};

TEST_P(GoodCommandTest, IsParsed) {
  std::string error;
  const auto command = ParseSimCommand(GetParam().words, error);
  ASSERT_TRUE(command) << error;
  EXPECT_EQ(command->verb, GetParam().verb);
  EXPECT_EQ(command->first, GetParam().first);
  EXPECT_EQ(command->second, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoodCommandTest,
                         ::testing::Values(GoodCommandCase{{"press", "7"}, SimVerb::kPress, 7, 0},
                                           GoodCommandCase{{"click", "0x1"}, SimVerb::kClick, 1, 0},
                                           GoodCommandCase{{"event", "0x3000", "0X2"}, SimVerb::kEvent, 0x3000, 2},
                                           GoodCommandCase{{"event", "61440", "0x1Ff"}, SimVerb::kEvent, 0xF000, 0x1FF},
                                           GoodCommandCase{{"busy", "0"}, SimVerb::kBusy, 0, 0},
                                           GoodCommandCase{
                                               {"bad-checksum", "4294967295"}, SimVerb::kBadChecksum, 4294967295u, 0},
                                           GoodCommandCase{{"firmware", "0xFF"}, SimVerb::kFirmware, 255, 0},
                                           GoodCommandCase{{"pid", "011510"}, SimVerb::kPid, 11510, 0},
                                           GoodCommandCase{{"reset-memory"}, SimVerb::kResetMemory, 0, 0}));

SimOutcome RunWords(MouseMemory& memory, std::vector<std::string> words) {
  std::string error;
  const auto command = ParseSimCommand(words, error);
  EXPECT_TRUE(command) << error;
  return command ? RunSimCommand(*command, memory) : SimOutcome{};
}

TEST(SimCommandTest, DumpPrintsTheMemoryLineByLine) {
  MouseMemory mouse = FactoryMemory();
  mouse.profiles[4].settings[kOrientation] = 1;
  mouse.profiles[4].buttons[13] = 200;
  EXPECT_EQ(RunWords(mouse, {"dump"}).output,
            "active 0\n"
            "firmware 141\n"
            "pid 11510\n"
            "host-active 0\n"
            "resets 0\n"
            "profile 0 settings 1 5 5 2 2 1 1 0\n"
            "profile 0 buttons 1 2 3 65 64 13 14 8 7 37 0 6 38 39\n"
            "profile 1 settings 1 5 5 2 2 1 1 0\n"
            "profile 1 buttons 1 2 3 65 64 13 14 8 7 37 0 6 38 39\n"
            "profile 2 settings 1 5 5 2 2 1 1 0\n"
            "profile 2 buttons 1 2 3 65 64 13 14 8 7 37 0 6 38 39\n"
            "profile 3 settings 1 5 5 2 2 1 1 0\n"
            "profile 3 buttons 1 2 3 65 64 13 14 8 7 37 0 6 38 39\n"
            "profile 4 settings 1 5 5 2 2 1 1 1\n"
            "profile 4 buttons 1 2 3 65 64 13 14 8 7 37 0 6 38 200\n");
}

TEST(SimCommandTest, CommandsReachTheMemory) {
  MouseMemory mouse = FactoryMemory();
  RegisterListener(mouse, 1, 2, 3, 4);
  RunWords(mouse, {"busy", "3"});
  RunWords(mouse, {"fail", "0x10"});
  RunWords(mouse, {"bad-checksum", "2"});
  RunWords(mouse, {"firmware", "150"});
  RunWords(mouse, {"pid", "0x1234"});
  EXPECT_EQ(mouse.faults.busy, 3u);
  EXPECT_EQ(mouse.faults.fail, 16u);
  EXPECT_EQ(mouse.faults.badChecksum, 2u);
  EXPECT_EQ(mouse.firmware, 150);
  EXPECT_EQ(mouse.productId, 0x1234);
  EXPECT_NE(RunWords(mouse, {"dump"}).output.find("firmware 150\npid 4660\n"), std::string::npos);

  mouse.profiles[0].buttons[0] = 5;
  RunWords(mouse, {"click", "1"});
  RunWords(mouse, {"press", "2"});
  EXPECT_NE(mouse.held[1].slot, kNotHeld);
  RunWords(mouse, {"release", "2"});
  RunWords(mouse, {"event", "0x2000", "0x0102"});
  RunWords(mouse, {"battery-low"});
  RunWords(mouse, {"config-button"});
  RunWords(mouse, {"unplug"});
  EXPECT_EQ(RunWords(mouse, {"press", "1"}).notice, "the mouse is unplugged: the input does nothing");
  EXPECT_NE(RunWords(mouse, {"battery-low"}).notice, "");
  RunWords(mouse, {"plug"});
  std::vector<Message> taken;
  for (const PendingMessage& m : TakePending(mouse)) taken.push_back({m.kind, m.eventClass, m.data});
  EXPECT_EQ(taken, (std::vector<Message>{Event(0x5000, 0x0001), Event(0x5000, 0x0101), Event(0x2000, 0x0102),
                                         Event(0x7000, 1), Event(0xA000, 1), Presence(false), Presence(true)}));

  RunWords(mouse, {"reset-memory"});
  EXPECT_EQ(SaveMemory(mouse), SaveMemory(FactoryMemory()));
}

}  // namespace
}  // namespace kavo::sim
