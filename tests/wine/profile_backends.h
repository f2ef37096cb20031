#pragma once
// The two private-profile implementations side by side, over files in a fresh temporary folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "settings/win32/win32_file_system.h"
#include "settings/win32/win32_private_profile.h"
#include "tests/wine/temp_folder.h"

namespace kavo::wine_test {

struct ProfileBackend {
  const char* name;
  PrivateProfileAccess& access;
};

class ProfileBackendsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder_.path().empty()) << "no temporary folder"; }

  // Ours first, then the Windows functions.
  std::vector<ProfileBackend> Backends() { return {{"IniFile", ini_}, {"Windows", windows_}}; }

  std::string Contents(const std::string& path) {
    std::string contents;
    EXPECT_TRUE(files_.Read(path, contents)) << path;
    return contents;
  }

  TempFolder folder_;
  win32::Win32FileSystem files_;
  IniFileAccess ini_{files_};
  win32::Win32PrivateProfileAccess windows_;
};

}  // namespace kavo::wine_test
