#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "monitor/game_profiles.h"
#include "settings/bounded_text.h"

namespace kavo::monitor {
namespace {

std::unique_ptr<SettingsRecord> RecordWithGames() {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  record->CurrentProfile = 0;
  record->WindowsProfile = 0;
  CopyBounded(record->profiles[1].GameFile2, "C:\\Games\\Shooter\\shooter.exe");
  CopyBounded(record->profiles[3].GameFile0, "D:\\Other\\SHOOTER.EXE");  // the same program again
  CopyBounded(record->profiles[2].GameFile1, "   \tC:\\Racing\\race.exe  ");
  CopyBounded(record->profiles[4].GameFile0, "game.exe");
  CopyBounded(record->profiles[4].GameFile1, "   ");
  return record;
}

TEST(GameProfilesTest, FileNameOfPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Games\\game.exe", "game.exe"}, {"game.exe", "game.exe"}, {"C:game.exe", "game.exe"},
      {"/opt/x/run.bin", "run.bin"},       {"C:\\Games\\", ""},       {"", ""},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(FileNameOfPath(path), name) << path;
}

// Each way of reading answers as told and counts how often it is asked.
class ScriptedReaders final : public ProgramNameReaders {
 public:
  ScriptedReaders(std::optional<std::string> imagePath, std::optional<std::string> moduleName)
      : imagePath_(std::move(imagePath)), moduleName_(std::move(moduleName)) {}
  std::optional<std::string> ImagePathWithLimitedRights() override {
    ++limitedAsked;
    return imagePath_;
  }
  std::optional<std::string> FirstModuleBaseName() override {
    ++modulesAsked;
    return moduleName_;
  }
  int limitedAsked = 0;
  int modulesAsked = 0;

 private:
  std::optional<std::string> imagePath_;
  std::optional<std::string> moduleName_;
};

TEST(GameProfilesTest, TheProgramNameIsReadWithTheLeastRightsThatWork) {
  const std::nullopt_t none = std::nullopt;
  struct Case {
    const char* what;
    std::optional<std::string> imagePath;
    std::optional<std::string> moduleName;
    std::optional<std::string> name;
    bool modulesAsked;
  };
  const Case cases[] = {
      {"limited rights suffice", "C:\\Games\\Shooter\\Shooter.exe", "other.exe", "Shooter.exe", false},
      {"a device path as the system gives it", "\\Device\\HarddiskVolume2\\Games\\race.exe", none, "race.exe", false},
      {"no limited call, or refused: the modules", none, "game.exe", "game.exe", true},
      {"a path without a file name is no answer", "C:\\Games\\", "game.exe", "game.exe", true},
      {"neither way reads it", none, none, none, true},
      {"an empty module name is none", none, "", none, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedReaders readers(c.imagePath, c.moduleName);
    EXPECT_EQ(ReadProgramName(readers), c.name);
    EXPECT_EQ(readers.limitedAsked, 1);
    EXPECT_EQ(readers.modulesAsked, c.modulesAsked ? 1 : 0) << "the stronger rights are asked only when needed";
  }
}

TEST(GameProfilesTest, TheLowestProfileNamingTheProgramWins) {
  auto record = RecordWithGames();
  const std::pair<const char*, int> cases[] = {
      {"shooter.exe", 1},  // profile 3 names it as well
      {"Shooter.EXE", 1},
      {"race.exe", 2},     // blanks around the path
      {"GAME.EXE", 4},     // a path without a folder
      {"Shooter", -1},
      {"", -1},            // blank paths name nothing
      {"other.exe", -1},
  };
  for (const auto& [module, profile] : cases) EXPECT_EQ(ProfileOfGame(*record, module), profile) << module;
}

TEST(GameProfilesTest, WhatEachLookAtTheForegroundAsksFor) {
  struct Case {
    const char* name;
    std::optional<std::string> foreground;
    int current, windowsProfile;
    bool configurationOpen;
    std::optional<int> switchTo;
  };
  const Case cases[] = {
      {"a game comes to the front", "race.exe", 0, 0, false, 2},
      {"its profile is already current", "race.exe", 2, 0, false, std::nullopt},
      {"entering a game with the configuration open", "game.exe", 0, 0, true, 4},
      {"leaving a game", "explorer.exe", 2, 0, false, 0},
      {"leaving it with the configuration open", "explorer.exe", 2, 0, true, std::nullopt},
      {"no profile for Windows", "explorer.exe", 2, -1, false, std::nullopt},
      {"a profile for Windows out of range", "explorer.exe", 2, 7, false, std::nullopt},
      {"the profile for Windows is current", "explorer.exe", 3, 3, false, std::nullopt},
      {"the process cannot be looked into", std::nullopt, 2, 1, false, 1},
      {"the on-screen display in front", "OSD.EXE", 2, 0, false, std::nullopt},
  };
  auto record = RecordWithGames();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record->CurrentProfile = c.current;
    record->WindowsProfile = c.windowsProfile;
    EXPECT_EQ(GameProfileSwitch(*record, c.foreground, c.configurationOpen), c.switchTo);
  }
}

}  // namespace
}  // namespace kavo::monitor
