#include "monitor/game_profiles.h"

#include <algorithm>
#include <cctype>

#include "settings/bounded_text.h"
#include "settings/trimmed_text.h"

namespace kavo::monitor {
namespace {

constexpr char kDisplayProgram[] = "osd.exe";  // the on-screen display in front changes nothing

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::string FileNameOfPath(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::optional<std::string> ReadProgramName(ProgramNameReaders& readers) {
  if (const auto path = readers.ImagePathWithLimitedRights()) {
    std::string name = FileNameOfPath(*path);
    if (!name.empty()) return name;
  }
  auto name = readers.FirstModuleBaseName();
  if (name && name->empty()) return std::nullopt;
  return name;
}

int ProfileOfGame(const SettingsRecord& record, const std::string& moduleBaseName) {
  const std::string wanted = Lower(moduleBaseName);
  for (int p = 0; p < kProfileCount; ++p) {
    const ProfileRecord& profile = record.profiles[p];
    for (const auto* game : {&profile.GameFile0, &profile.GameFile1, &profile.GameFile2}) {
      const std::string path(TrimmedText(FieldText(*game)));
      if (!path.empty() && Lower(FileNameOfPath(path)) == wanted) return p;
    }
  }
  return -1;
}

std::optional<int> GameProfileSwitch(const SettingsRecord& record, const std::optional<std::string>& foregroundModule,
                                     bool configurationOpen) {
  if (foregroundModule) {
    if (Lower(*foregroundModule) == kDisplayProgram) return std::nullopt;
    const int game = ProfileOfGame(record, *foregroundModule);
    if (game >= 0) return game != record.CurrentProfile ? std::optional<int>(game) : std::nullopt;
  }
  // No game in front: back to the profile for Windows.
  const int windows = record.WindowsProfile;
  if (!IsProfileIndex(windows) || configurationOpen || windows == record.CurrentProfile) return std::nullopt;
  return windows;
}

}  // namespace kavo::monitor
