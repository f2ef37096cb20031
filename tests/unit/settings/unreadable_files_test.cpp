// A settings file that another program holds at the moment it is read (a virus scan, a backup, an editor
// that opens it without sharing) is the user's file all the same: nothing the programs do next may save
// over it, whether it can be read again by then or not.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "option/macros/macro_library.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "tests/support/fake_registry.h"
#include "tests/support/memory_file_system.h"

namespace kavo {
namespace {

constexpr char kFolder[] = "C:\\Kavo\\";
const std::string kConfig = std::string(kFolder) + "config.ini";
const std::string kSlot2 = std::string(kFolder) + "config\\Default2.vmp";
const std::string kSequence = std::string(kFolder) + "config\\Kavo_sequence.dat";

// One program's view of the folder, as it starts: the settings files, its macro library, its record.
struct Session {
  explicit Session(test::MemoryFileSystem& folder) : files(folder) {
    ClearRecord(*record);
    ResetOSDSetting(osd);
  }
  test::MemoryFileSystem& files;
  test::FakeRegistry registry;
  IniFileAccess access{files};
  SettingsFiles settings{kFolder, access, files, registry};
  option::MacroStore store;
  option::MacroStoreLibrary library{store, access, kFolder};
  std::unique_ptr<SettingsRecord> record = std::make_unique<SettingsRecord>();
  OSDSetting osd;
};
using Step = std::function<void(Session&)>;

// The user's folder: every file present and holding values no default has.
std::map<std::string, std::string> UsersFolder() {
  test::MemoryFileSystem files;
  Session user(files);
  user.store.AddSet("Mine");
  user.store.AddMacro(0, "Kept");
  user.library.SaveFile();

  ResetToDefaults(*user.record, 7);
  user.record->CurrentProfile = 2;
  user.record->WindowsProfile = 4;
  for (int p = 0; p < kProfileCount; ++p) {
    CopyBounded(user.record->profiles[p].ProFileName, "Named by the user " + std::to_string(p));
    CopyBounded(user.record->profiles[p].GameFile0, "C:\\Games\\game" + std::to_string(p) + ".exe");
  }
  // A macro on a button that the library lacks: the configuration program merges it in at its start.
  MacroKeyInfo& entry = user.record->profiles[1].buttons[5];
  entry.function = kFunctionMacro;
  CopyBounded(entry.macroSetName, "From profile");
  CopyBounded(entry.macroName, "Jump");
  entry.eventCount = 1;
  entry.events[0] = MacroEvent{44, kMacroPress, 30};
  user.settings.WriteAll(*user.record);

  user.osd.switches[3] = 1;
  CopyBounded(user.osd.mailServer, "pop.example.org");
  user.settings.WriteOSDSetting(user.osd);
  user.settings.RecordExportName(3, "fast aim");
  user.settings.WriteFirmwareVersion(141);
  user.settings.WriteDevicePresent(0);
  return files.files;
}

// What the two programs do with the files, step by step.
void ServiceStart(Session& s) {
  s.settings.ReadAll(*s.record);
  s.settings.ReadOSDSetting(s.osd);
}
// The mouse's values replace the record's device fields, then every file is saved.
void ServiceSavesAfterMouseRead(Session& s) {
  s.record->CurrentProfile = 1;
  s.record->MouseType = 1;
  for (int p = 0; p < kProfileCount; ++p) {
    s.record->profiles[p].Cpi_X = 1600 + p;
    s.record->profiles[p].buttons[0].function = 3;
  }
  s.settings.WriteAll(*s.record);
}
void OptionStart(Session& s) {
  s.settings.ReadAll(*s.record);
  s.library.Load();
  s.settings.ReadOSDSetting(s.osd);
  s.library.MergeFromProfiles(*s.record);
  s.library.Save();
}
void OptionApply(Session& s) {
  s.record->QuickHelpLan = 3;
  s.record->profiles[0].MouseSpeed = 9;
  s.record->profiles[2].MouseSpeed = 9;
  s.osd.checkInterval = 77;
  s.store.AddSet("Added before Apply");
  s.settings.WriteOSDSetting(s.osd);
  s.settings.WriteAll(*s.record);
  s.library.Save();
}

TEST(UnreadableFileTest, NothingSavesOverAFileWhoseReadFailed) {
  struct Case {
    const char* name;
    const std::string& path;
    Step before;           // runs while the file can still be read; may be none
    Step whileUnreadable;  // reads that fail; with none, the next step finds the file unreadable itself
    Step after;            // what the program does next
  };
  const Step nothing;
  const Case cases[] = {
      {"Device key on arrival", kConfig, nothing, nothing, [](Session& s) { s.settings.WriteDevicePresent(1); }},
      {"firmware version", kConfig, nothing, nothing, [](Session& s) { s.settings.WriteFirmwareVersion(150); }},
      {"notice text", kConfig, nothing, nothing, [](Session& s) { s.settings.WriteNoticeText("Low Battery"); }},
      {"profile changed on the mouse", kConfig, nothing, nothing, [](Session& s) { s.settings.WriteCurrentProfile(3); }},
      {"export name", kConfig, nothing, nothing, [](Session& s) { s.settings.RecordExportName(1, "other"); }},
      {"OSD setting", kConfig, nothing, nothing, [](Session& s) { s.settings.WriteOSDSetting(s.osd); }},
      {"config.ini at the service's start", kConfig, nothing, ServiceStart, ServiceSavesAfterMouseRead},
      {"config.ini at the configuration program's start", kConfig, nothing, OptionStart, OptionApply},
      {"slot file saved after a mouse read", kSlot2, nothing, nothing, ServiceSavesAfterMouseRead},
      {"slot file at the service's start", kSlot2, nothing, ServiceStart, ServiceSavesAfterMouseRead},
      {"slot file at the configuration program's start", kSlot2, nothing, OptionStart, OptionApply},
      {"sequence file at the configuration program's start", kSequence, nothing, OptionStart, OptionApply},
      {"sequence file reloaded by the macro manager's Cancel", kSequence, OptionStart,
       [](Session& s) { s.library.Reload(); },
       [](Session& s) {
         s.store.AddSet("Added in the manager");
         s.library.Save();
       }},
  };
  const auto saved = UsersFolder();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The same steps with every file readable: they do change this file.
    test::MemoryFileSystem control;
    control.files = saved;
    std::string untouched;
    {
      Session s(control);
      if (c.before) c.before(s);
      untouched = control.files.at(c.path);
      if (c.whileUnreadable) c.whileUnreadable(s);
      c.after(s);
    }
    ASSERT_NE(control.files.at(c.path), untouched) << "the steps never write this file";

    for (const bool readableAgain : {false, true}) {
      if (readableAgain && !c.whileUnreadable) continue;
      SCOPED_TRACE(readableAgain ? "readable again afterwards" : "still unreadable");
      test::MemoryFileSystem files;
      files.files = saved;
      {
        Session s(files);
        if (c.before) c.before(s);
        files.FailReadsOf(c.path);
        if (c.whileUnreadable) c.whileUnreadable(s);
        if (readableAgain) files.StopFailingReadsOf(c.path);
        c.after(s);
      }
      EXPECT_EQ(files.files.at(c.path), untouched);
      for (const auto& [path, contents] : control.files) {
        if (path != c.path) {
          EXPECT_EQ(files.files[path], contents) << path << " is written as ever";
        }
      }
    }
  }
}

}  // namespace
}  // namespace kavo
