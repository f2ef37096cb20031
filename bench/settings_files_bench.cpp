// settings_files_bench [IniFile runs] [Windows runs]: times ReadAll followed by WriteAll of a full settings
// record through IniFile and through the Windows private-profile functions, once saving what was read and
// once saving an edit, and checks that both leave the same six files behind. Exits nonzero when the files
// or the records read back differ.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "settings/win32/win32_file_system.h"
#include "settings/win32/win32_private_profile.h"
#include "settings/win32/win32_registry.h"
#include "tests/wine/control_panel_backup.h"
#include "tests/wine/full_record.h"
#include "tests/wine/temp_folder.h"

namespace {

using namespace kavo;

double NowMilliseconds() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool SameRecord(const SettingsRecord& a, const SettingsRecord& b) {
  return a.CurrentProfile == b.CurrentProfile && a.WindowsProfile == b.WindowsProfile &&
         a.QuickHelpLan == b.QuickHelpLan && a.MouseType == b.MouseType &&
         std::memcmp(a.profiles, b.profiles, sizeof a.profiles) == 0;
}

enum class Save { Unchanged, Edited };

struct Measurement {
  double meanMilliseconds[2] = {};  // by Save
  bool readBackSame = false;
  std::vector<std::string> files;  // config.ini, then the five slot files
};

Measurement Measure(PrivateProfileAccess& access, const std::string& folder, int runs) {
  win32::Win32FileSystem files;
  win32::Win32Registry registry;
  SettingsFiles settings(folder, access, files, registry);

  auto base = std::make_unique<SettingsRecord>();
  wine_test::FillFullRecord(*base);
  // An edit touches a number, a text and a button entry in every file, so that every file is written.
  auto edited = std::make_unique<SettingsRecord>(*base);
  edited->QuickHelpLan = kEnglish;
  for (auto& profile : edited->profiles) {
    profile.Cpi_X += 1;
    CopyBounded(profile.ProFileName, "Edited profile");
    profile.buttons[3].events[0].delay += 1;
  }

  Measurement result;
  settings.WriteAll(*base);  // the files exist before the first read
  auto read = std::make_unique<SettingsRecord>();
  for (Save save : {Save::Unchanged, Save::Edited}) {
    double total = 0;
    for (int run = 0; run < runs; ++run) {
      const double start = NowMilliseconds();
      settings.ReadAll(*read);
      settings.WriteAll(save == Save::Unchanged ? *read : run % 2 ? *base : *edited);
      total += NowMilliseconds() - start;
    }
    result.meanMilliseconds[static_cast<int>(save)] = total / runs;
  }

  settings.WriteAll(*base);
  ClearRecord(*read);
  settings.ReadAll(*read);
  result.readBackSame = SameRecord(*base, *read);
  result.files.push_back("");
  files.Read(folder + "config.ini", result.files.back());
  for (int slot = 0; slot < kProfileCount; ++slot) {
    result.files.push_back("");
    files.Read(folder + "config\\Default" + std::to_string(slot) + ".vmp", result.files.back());
  }
  return result;
}

std::string ProgramFolder(const wine_test::TempFolder& temp, const char* name) {
  const std::string folder = temp.Subfolder(name);
  ::CreateDirectoryA((folder + "config").c_str(), nullptr);
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  const int iniRuns = argc > 1 ? std::atoi(argv[1]) : 50;
  const int windowsRuns = argc > 2 ? std::atoi(argv[2]) : 10;
  if (iniRuns < 1 || windowsRuns < 1) {
    std::fprintf(stderr, "usage: settings_files_bench [IniFile runs] [Windows runs]\n");
    return 2;
  }

  wine_test::ControlPanelBackup controlPanel;  // WriteAll mirrors the active profile into it
  wine_test::TempFolder temp;
  if (temp.path().empty()) {
    std::fprintf(stderr, "no temporary folder\n");
    return 2;
  }
  win32::Win32FileSystem files;
  IniFileAccess ini(files);
  win32::Win32PrivateProfileAccess windows;

  const Measurement ours = Measure(ini, ProgramFolder(temp, "ini"), iniRuns);
  const Measurement theirs = Measure(windows, ProgramFolder(temp, "windows"), windowsRuns);

  std::size_t bytes = 0;
  for (const auto& file : ours.files) bytes += file.size();
  const bool identical = ours.files == theirs.files;

  std::printf("ReadAll followed by WriteAll of a full record (%d profiles, %d button entries, %zu bytes in 6 files)\n",
              kProfileCount, kProfileCount * kButtonSlotCount, bytes);
  std::printf("mean milliseconds       IniFile (%d runs)  Windows functions (%d runs)  IniFile faster by\n", iniRuns,
              windowsRuns);
  bool fastEnough = true;
  const char* const labels[] = {"saved unchanged", "saved after an edit"};
  for (int save = 0; save < 2; ++save) {
    const double ratio = theirs.meanMilliseconds[save] / ours.meanMilliseconds[save];
    fastEnough = fastEnough && ratio >= 10;
    std::printf("  %-20s %16.3f %28.3f %17.1fx\n", labels[save], ours.meanMilliseconds[save],
                theirs.meanMilliseconds[save], ratio);
  }
  std::printf("target, IniFile at least 10x faster in both: %s\n", fastEnough ? "met" : "NOT met");
  std::printf("the six files are byte-identical: %s\n", identical ? "yes" : "NO");
  std::printf("records read back unchanged: IniFile %s, Windows %s\n", ours.readBackSame ? "yes" : "NO",
              theirs.readBackSame ? "yes" : "NO");
  return identical && ours.readBackSame && theirs.readBackSame ? 0 : 1;
}
