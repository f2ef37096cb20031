// Kelsor.dll and kavo-sim.exe against each other: feature reports through the library's exports, faults
// and state through the tool, the memory file across unloads and processes.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "outside/device-sim/wine/mouse_folder.h"
#include "tests/support/sealed_report.h"

namespace kavo::sim::wine_test {
namespace {

using test::Sealed;

std::vector<std::string> FactoryDump() {
  std::vector<std::string> lines = {"active 0", "firmware 141", "pid 11510", "host-active 0", "resets 0"};
  for (int p = 0; p < 5; ++p) {
    lines.push_back("profile " + std::to_string(p) + " settings 1 5 5 2 2 1 1 0");
    lines.push_back("profile " + std::to_string(p) + " buttons 1 2 3 65 64 13 14 8 7 37 0 6 38 39");
  }
  return lines;
}

class DeviceLibraryTest : public MouseFolderTest {};

TEST_F(DeviceLibraryTest, FeatureCallsNeedTheChannelOpen) {
  EXPECT_FALSE(Set({11, 3, 1})) << "channel not opened yet";
  EXPECT_EQ(Get(9, 6), Bytes{});
  ASSERT_NE(openFeatureDevice_(), 0);
  EXPECT_TRUE(Set({11, 3, 1}));
  EXPECT_EQ(Get(9, 6), (Bytes{9, 6, 141, 0, 0, 0}));
  EXPECT_EQ(getMousePid_(), 0x2CF6);
  closeFeatureDevice_();
  EXPECT_FALSE(Set({11, 3, 0}));
  EXPECT_EQ(Dump()[3], "host-active 1");
}

TEST_F(DeviceLibraryTest, ProfilesTravelThroughTheReportsAndShowInTheDump) {
  ASSERT_NE(openFeatureDevice_(), 0);
  ASSERT_TRUE(Set(Sealed({6, 13, 2, 0, 9, 8, 4, 4, 0, 3, 1})));
  Bytes buttons = {7, 19, 4};
  for (std::uint8_t code = 100; code < 114; ++code) buttons.push_back(code);
  ASSERT_TRUE(Set(Sealed(buttons)));
  ASSERT_TRUE(Set({5, 3, 3}));
  EXPECT_EQ(Get(4, 3), (Bytes{4, 1, 0}));

  ASSERT_TRUE(Set({4, 2, 0x10}));
  EXPECT_EQ(Get(6, 13), Sealed({6, 13, 2, 0, 9, 8, 4, 4, 0, 3, 1}));
  ASSERT_TRUE(Set({4, 4, 0x20}));
  EXPECT_EQ(Get(7, 19), Sealed(buttons));
  EXPECT_EQ(Get(5, 3), (Bytes{5, 3, 3}));
  EXPECT_FALSE(Set({6, 13, 2, 0, 9, 8, 4, 4, 0, 3, 1, 0, 0})) << "bad checksum";
  EXPECT_FALSE(Set({5, 3, 3, 0})) << "wrong length";
  EXPECT_EQ(Get(4, 3), (Bytes{4, 2, 0})) << "refused";

  const std::vector<std::string> dump = Dump();
  ASSERT_EQ(dump.size(), 15u);
  EXPECT_EQ(dump[0], "active 3");
  EXPECT_EQ(dump[9], "profile 2 settings 0 9 8 4 4 0 3 1");
  // Slot order: the report carried slots 0,1,2,5,6,7,8,9,12,13,3,4,10,11.
  EXPECT_EQ(dump[14], "profile 4 buttons 100 101 102 110 111 103 104 105 106 107 112 113 108 109");

  ASSERT_TRUE(Set({9, 6, 7, 0, 0, 0}));
  std::vector<std::string> reset = FactoryDump();
  reset[4] = "resets 1";
  EXPECT_EQ(Dump(), reset);
}

TEST_F(DeviceLibraryTest, FaultsInjectedByTheToolReachTheLibrary) {
  ASSERT_NE(openFeatureDevice_(), 0);
  SimOk("busy 2");
  EXPECT_EQ(Get(4, 3), (Bytes{4, 3, 0}));
  EXPECT_EQ(Get(4, 3), (Bytes{4, 3, 0}));
  EXPECT_EQ(Get(4, 3), (Bytes{4, 1, 0}));

  SimOk("bad-checksum 1");
  ASSERT_TRUE(Set({4, 0, 0x10}));
  const Bytes good = Sealed({6, 13, 0, 1, 5, 5, 2, 2, 1, 1, 0});
  const Bytes spoiled = Get(6, 13);
  ASSERT_EQ(spoiled.size(), good.size());
  EXPECT_NE(spoiled, good);
  EXPECT_EQ(Bytes(spoiled.begin(), spoiled.end() - 2), Bytes(good.begin(), good.end() - 2));
  EXPECT_EQ(Get(6, 13), good);

  SimOk("fail 0x2");
  EXPECT_FALSE(Set({5, 3, 1}));
  EXPECT_EQ(Get(5, 3), Bytes{});
  EXPECT_TRUE(Set({5, 3, 1}));

  SimOk("firmware 150");
  SimOk("pid 0x1234");
  EXPECT_EQ(Get(9, 6), (Bytes{9, 6, 150, 0, 0, 0}));
  EXPECT_EQ(getMousePid_(), 0x1234);

  SimOk("reset-memory");
  EXPECT_EQ(Dump(), FactoryDump());
}

TEST_F(DeviceLibraryTest, RemovalClosesTheChannelUntilItIsOpenedAgain) {
  ASSERT_NE(openFeatureDevice_(), 0);
  SimOk("unplug");
  EXPECT_EQ(openFeatureDevice_(), 0);
  EXPECT_FALSE(Set({11, 3, 1}));
  EXPECT_EQ(Get(5, 3), Bytes{});
  EXPECT_EQ(getMousePid_(), 0);
  SimOk("plug");
  EXPECT_EQ(Get(5, 3), Bytes{}) << "a handle from before the removal stays dead";
  ASSERT_NE(openFeatureDevice_(), 0);
  EXPECT_EQ(Get(5, 3), (Bytes{5, 3, 0}));
}

TEST_F(DeviceLibraryTest, MemorySurvivesUnloadingAndUnloadingClosesTheLibrarysHandles) {
  ASSERT_NE(openFeatureDevice_(), 0);
  ASSERT_TRUE(Set(Sealed({6, 13, 1, 1, 7, 7, 1, 1, 0, 2, 1})));
  ASSERT_TRUE(Set({11, 3, 1}));
  const win32::SharedMouseNames names = win32::NamesForFolder(folder_.path());
  EXPECT_NE(::GetFileAttributesA(names.memoryFile.c_str()), INVALID_FILE_ATTRIBUTES) << names.memoryFile;

  Unload();
  EXPECT_EQ(::GetModuleHandleA(folder_.File("Kelsor.dll").c_str()), nullptr);
  // Only the library held them: gone with it, they can no longer be opened by name.
  EXPECT_EQ(::OpenMutexA(SYNCHRONIZE, FALSE, names.mutex.c_str()), nullptr);
  EXPECT_EQ(::OpenEventA(SYNCHRONIZE, FALSE, names.signal.c_str()), nullptr);

  Load();
  EXPECT_FALSE(Set({11, 3, 1})) << "a new load starts with the channel closed";
  ASSERT_NE(openFeatureDevice_(), 0);
  ASSERT_TRUE(Set({4, 1, 0x10}));
  EXPECT_EQ(Get(6, 13), Sealed({6, 13, 1, 1, 7, 7, 1, 1, 0, 2, 1}));
  EXPECT_EQ(Dump()[3], "host-active 1");
}

TEST_F(DeviceLibraryTest, DamagedMemoryFileGivesAFactoryMouse) {
  ASSERT_NE(openFeatureDevice_(), 0);
  ASSERT_TRUE(Set({5, 3, 2}));
  const std::string file = win32::NamesForFolder(folder_.path()).memoryFile;
  {
    kavo::win32::UniqueFile handle(
        ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(handle);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(handle.get(), "XXXX", 4, &written, nullptr));
  }
  EXPECT_EQ(Dump(), FactoryDump());
}

TEST_F(DeviceLibraryTest, TwoThreadsExchangeReportsAtOnce) {
  ASSERT_NE(openFeatureDevice_(), 0);
  constexpr int kRounds = 60;
  std::atomic<int> failures{0};
  std::thread profiles([&] {
    for (int i = 0; i < kRounds; ++i) {
      const auto profile = static_cast<std::uint8_t>(i % 5);
      if (!Set({5, 3, profile}) || Get(5, 3) != Bytes{5, 3, profile}) ++failures;
    }
  });
  std::thread host([&] {
    for (int i = 0; i < kRounds; ++i) {
      if (!Set({11, 3, static_cast<std::uint8_t>(i & 1)}) || Get(9, 6) != Bytes{9, 6, 141, 0, 0, 0}) ++failures;
    }
  });
  profiles.join();
  host.join();
  EXPECT_EQ(failures.load(), 0);
  const std::vector<std::string> dump = Dump();
  EXPECT_EQ(dump[0], "active " + std::to_string((kRounds - 1) % 5));
  EXPECT_EQ(dump[3], "host-active " + std::to_string((kRounds - 1) & 1));
}

struct RefusedArguments {
  const char* arguments;
  const char* says;
};

TEST_F(DeviceLibraryTest, ToolRefusesBadCommandsWithAMessage) {
  const std::string before = SimOk("dump");
  for (const RefusedArguments& c :
       {RefusedArguments{"", "no command"}, RefusedArguments{"fly", "unknown command"},
        RefusedArguments{"press 8", "'8' is not an input"}, RefusedArguments{"busy -1", "'-1' is not a count"},
        RefusedArguments{"click one", "'one'"}, RefusedArguments{"plug now", "takes 0 arguments"}}) {
    const ProgramRun run = Sim(c.arguments);
    EXPECT_EQ(run.exitCode, 2u) << c.arguments;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.arguments;
  }
  EXPECT_EQ(SimOk("dump"), before);
}

}  // namespace
}  // namespace kavo::sim::wine_test
