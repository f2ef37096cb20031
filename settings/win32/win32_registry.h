#pragma once
#include "settings/registry.h"

namespace kavo::win32 {

// Keys below HKEY_CURRENT_USER.
class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenOrCreate(std::string_view path) override;
};

}  // namespace kavo::win32
