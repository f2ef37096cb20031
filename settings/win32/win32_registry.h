#pragma once
#include <windows.h>

#include "settings/registry.h"

namespace kavo::win32 {

// Keys below a root, the current user's unless told otherwise; string values up to valueBytes, terminator
// included, are read.
class Win32Registry final : public Registry, public RegistryReader {
 public:
  explicit Win32Registry(HKEY root = HKEY_CURRENT_USER, std::size_t valueBytes = kRegistryValueBytes)
      : root_(root), valueBytes_(valueBytes) {}
  std::unique_ptr<RegistryKey> OpenOrCreate(std::string_view path) override;
  // With KEY_QUERY_VALUE alone: the local machine's keys grant no more to a user without administrator
  // rights, and asking for more fails.
  std::unique_ptr<RegistryValues> OpenForReading(std::string_view path, RegistryView view) override;

 private:
  HKEY root_;
  std::size_t valueBytes_;
};

}  // namespace kavo::win32
