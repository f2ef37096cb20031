// A writer killed at any moment leaves every settings file wholly old or wholly new.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "tests/support/fake_registry.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/posix_file_system.h"

namespace kavo {
namespace {

// Generation g of the record: every file's content tells which generation wrote it.
std::unique_ptr<SettingsRecord> Generation(int g) {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  ResetToDefaults(*record, g);
  record->CurrentProfile = g % kProfileCount;
  record->MouseType = g % 2;
  for (int p = 0; p < kProfileCount; ++p) {
    ProfileRecord& profile = record->profiles[p];
    CopyBounded(profile.ProFileName, "gen " + std::to_string(g));
    profile.Sensitivity_X = g;
    for (auto& entry : profile.buttons) {
      entry.eventCount = static_cast<std::uint16_t>(g % 500);
      for (int e = 0; e < kMaxMacroEvents; ++e) entry.events[e].delay = static_cast<std::uint16_t>(g + e);
    }
  }
  return record;
}

// The exact files generation g writes, made in memory.
std::map<std::string, std::string> ExpectedFiles(const std::string& folder, int g) {
  test::MemoryFileSystem files;
  test::FakeRegistry registry;
  IniFileAccess access(files);
  SettingsFiles(folder, access, files, registry).WriteAll(*Generation(g));
  return files.files;
}

int GenerationOf(const std::string& contents, const char* key) {
  const auto at = contents.find(key);
  return at == std::string::npos ? -1 : std::atoi(contents.c_str() + at + std::strlen(key));
}

TEST(WriteCrashTest, KilledWritersLeaveWholeFiles) {
  char pattern[] = "/tmp/kavo-crash-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string root = pattern;
  std::filesystem::create_directory(root + "/config");
  const std::string folder = root + "\\";

  test::PosixFileSystem files;
  test::FakeRegistry registry;
  IniFileAccess access(files);
  SettingsFiles settings(folder, access, files, registry);
  ASSERT_EQ(settings.WriteAll(*Generation(0)), 1);

  std::mt19937 random(20261209);
  int lastSeen = 0;
  int roundsThatChanged = 0;
  constexpr int kRounds = 30;
  for (int round = 1; round <= kRounds; ++round) {
    const int firstGeneration = round * 100000;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int g = firstGeneration;; ++g) settings.WriteAll(*Generation(g));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(500, 40000)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    std::string config;
    ASSERT_TRUE(files.Read(settings.ConfigPath(), config));
    const int configGeneration = GenerationOf(config, "QuickHelpLan=");
    ASSERT_GE(configGeneration, 0) << config;
    EXPECT_EQ(config, ExpectedFiles(folder, configGeneration).at(settings.ConfigPath())) << "round " << round;
    for (int slot = 0; slot < kProfileCount; ++slot) {
      std::string contents;
      ASSERT_TRUE(files.Read(settings.SlotPath(slot), contents));
      const int g = GenerationOf(contents, "ProFileName=gen ");
      ASSERT_GE(g, 0) << "slot " << slot << " round " << round;
      ASSERT_EQ(contents, ExpectedFiles(folder, g).at(settings.SlotPath(slot))) << "slot " << slot << " round " << round;
    }
    if (configGeneration != lastSeen) ++roundsThatChanged;
    lastSeen = configGeneration;
  }
  EXPECT_GT(roundsThatChanged, kRounds / 2) << "the writers must get far enough to be killed mid-write";
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace kavo
