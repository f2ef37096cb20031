#pragma once
// The Windows private-profile functions themselves behind the same interface as IniFile: every call goes
// to the file at once. Used to check IniFile against the real thing and to measure both.
#include "settings/private_profile.h"

namespace kavo::win32 {

class Win32PrivateProfileAccess final : public PrivateProfileAccess {
 public:
  std::unique_ptr<PrivateProfileFile> Open(const std::string& path) override;
  std::unique_ptr<PrivateProfileFile> OpenEmpty(const std::string& path) override;
};

}  // namespace kavo::win32
