#pragma once
// Game-profile switching: the profile whose programs include the one in front becomes active; with no
// game in front the profile for Windows comes back, unless the configuration program is open, so that
// the user can edit other profiles meanwhile.
#include <optional>
#include <string>

#include "settings/settings_record.h"

namespace kavo::monitor {

class ProcessInfo {
 public:
  virtual ~ProcessInfo() = default;
  // Base name of the first module of the process owning the foreground window ("game.exe"); none when
  // there is no such window or the process cannot be looked into (another user's, for example).
  virtual std::optional<std::string> ForegroundModuleBaseName() = 0;
};

// The ways the name of one process's program can be read, least rights first.
class ProgramNameReaders {
 public:
  virtual ~ProgramNameReaders() = default;
  // The full path of the program's image, asked with limited query rights only. Those reach a game that
  // runs elevated or under a protecting anti-cheat, and a 64-bit game from the 32-bit service, where
  // reading its modules cannot; none where the system has no such call or the process refuses even this.
  virtual std::optional<std::string> ImagePathWithLimitedRights() = 0;
  // The base name of the process's first module, read with query and read-memory rights.
  virtual std::optional<std::string> FirstModuleBaseName() = 0;
};
// The program's name ("game.exe"): the image path's file name when it can be read, else the first
// module's base name, else none.
std::optional<std::string> ReadProgramName(ProgramNameReaders& readers);

// The file name and extension of a path, after its last folder or drive separator.
std::string FileNameOfPath(const std::string& path);
// The lowest profile with a game path (blanks around it ignored) whose file name is moduleBaseName,
// without regard to case; -1 when none.
int ProfileOfGame(const SettingsRecord& record, const std::string& moduleBaseName);

// What one look at the foreground program asks for: a profile to switch to, or nothing.
std::optional<int> GameProfileSwitch(const SettingsRecord& record, const std::optional<std::string>& foregroundModule,
                                     bool configurationOpen);

}  // namespace kavo::monitor
