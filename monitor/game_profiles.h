#pragma once
// Game-profile switching: the profile whose programs include the one in front becomes active; with no
// game in front the profile for Windows comes back, unless the configuration program is open, so that
// the user can edit other profiles meanwhile.
#include <optional>
#include <string>

#include "settings/settings_record.h"

namespace kavo {

class ProcessInfo {
 public:
  virtual ~ProcessInfo() = default;
  // Base name of the first module of the process owning the foreground window ("game.exe"); none when
  // there is no such window or the process cannot be looked into (another user's, for example).
  virtual std::optional<std::string> ForegroundModuleBaseName() = 0;
};

// The file name and extension of a path, after its last folder or drive separator.
std::string FileNameOfPath(const std::string& path);
// The lowest profile with a game path (blanks around it ignored) whose file name is moduleBaseName,
// without regard to case; -1 when none.
int ProfileOfGame(const SettingsRecord& record, const std::string& moduleBaseName);

// What one look at the foreground program asks for: a profile to switch to, or nothing.
std::optional<int> GameProfileSwitch(const SettingsRecord& record, const std::optional<std::string>& foregroundModule,
                                     bool configurationOpen);

}  // namespace kavo
