// The program folders as built, this build's and the other build's, read as files: every program is built
// for its folder's machine and asks for the user's own rights, and the device library exports its seven
// entry points under their plain names, as the service binds them in either build.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/module_folder.h"
#include "tests/wine/program_file.h"

namespace kavo::wine_test {
namespace {

const char* const kPrograms[] = {"KavoMonitor.exe", "KavoOption.exe", "KavoOSD.exe", "kavo-sim.exe"};
const std::vector<std::string> kDeviceEntryPoints = {"Close_DevMonitor", "Close_FeatureDevice", "GetFeature",
                                                     "GetMousePID",      "Open_DevMonitor",     "Open_FeatureDevice",
                                                     "SetFeature"};

struct BuiltFolder {
  const char* build;
  std::string folder;
  WORD machine;
};

std::vector<BuiltFolder> Folders() {
  return {{"this build", win32::ModuleFolder() + "..\\dist\\", kOwnMachine},
          {"the other build", PeerProgramFolder(), kPeerMachine}};
}

TEST(ShippedPrograms, EveryProgramIsBuiltForItsFolderAndRunsWithTheUsersOwnRights) {
  for (const BuiltFolder& built : Folders()) {
    for (const char* name : kPrograms) {
      SCOPED_TRACE(std::string(built.build) + ": " + built.folder + name);
      const auto program = ProgramFile::Read(built.folder + name);
      ASSERT_TRUE(program) << "missing or not a program; build both Windows presets first";
      EXPECT_EQ(program->machine, built.machine);
      const std::string manifest = ProgramManifest(built.folder + name);
      EXPECT_NE(manifest.find("requestedExecutionLevel level=\"asInvoker\""), std::string::npos)
          << "manifest: [" << manifest << "]";
    }
  }
}

TEST(ShippedPrograms, TheDeviceLibraryExportsExactlyItsSevenPlainNames) {
  for (const BuiltFolder& built : Folders()) {
    SCOPED_TRACE(std::string(built.build) + ": " + built.folder + "Kelsor.dll");
    const auto library = ProgramFile::Read(built.folder + "Kelsor.dll");
    ASSERT_TRUE(library);
    EXPECT_EQ(library->machine, built.machine);
    std::vector<std::string> names = library->exports;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, kDeviceEntryPoints);
  }
}

}  // namespace
}  // namespace kavo::wine_test
