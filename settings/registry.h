#pragma once
// One root of the registry (the current user's for the settings mirror, the local machine's for the media
// players): keys opened (or created) by path, string values read and written.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kavo {

constexpr std::size_t kRegistryValueBytes = 80;  // longer values of the settings mirror are not read

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual bool ReadString(std::string_view name, std::string& value) = 0;
  virtual bool WriteString(std::string_view name, std::string_view value) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key below the root with full access, creating it when it cannot be opened;
  // null when neither works.
  virtual std::unique_ptr<RegistryKey> OpenOrCreate(std::string_view path) = 0;
};

// A value holding a decimal number; false when it cannot be read.
bool ReadRegistryNumber(RegistryKey& key, std::string_view name, int& number);

}  // namespace kavo
