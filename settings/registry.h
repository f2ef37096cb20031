#pragma once
// One root of the registry: the current user's keys for the settings mirror, opened (or created) by path with
// their string values read and written; and the local machine's keys for the media players' registrations,
// which a user without administrator rights may only read.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kavo {

constexpr std::size_t kRegistryValueBytes = 80;  // longer values of the settings mirror are not read

class RegistryValues {
 public:
  virtual ~RegistryValues() = default;
  virtual bool ReadString(std::string_view name, std::string& value) = 0;
};

class RegistryKey : public RegistryValues {
 public:
  virtual bool WriteString(std::string_view name, std::string_view value) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key below the root with full access, creating it when it cannot be opened;
  // null when neither works.
  virtual std::unique_ptr<RegistryKey> OpenOrCreate(std::string_view path) = 0;
};

// On 64-bit Windows the local machine's keys are seen in two views: the 64-bit programs' and the 32-bit
// programs' (redirected), where each program registers itself according to its own kind. On 32-bit Windows
// both are the one registry.
enum class RegistryView { Programs64Bit, Programs32Bit };

// The order in which a registration is looked for: a player of either kind may be installed; where both
// are registered, the 64-bit one is taken.
inline constexpr RegistryView kRegistrationViews[] = {RegistryView::Programs64Bit, RegistryView::Programs32Bit};

class RegistryReader {
 public:
  virtual ~RegistryReader() = default;
  // Opens an existing key below the root in that view, asking for nothing but to read its values;
  // null when it is not there or may not be read.
  virtual std::unique_ptr<RegistryValues> OpenForReading(std::string_view path, RegistryView view) = 0;
};

// A value holding a decimal number; false when it cannot be read.
bool ReadRegistryNumber(RegistryKey& key, std::string_view name, int& number);

}  // namespace kavo
