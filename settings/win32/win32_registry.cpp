#include "settings/win32/win32_registry.h"

#include <string>

#include "settings/win32/win32_handles.h"

namespace kavo::win32 {
namespace {

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(UniqueRegistryKey key) : key_(std::move(key)) {}

  bool ReadString(std::string_view name, std::string& value) override {
    char buffer[kRegistryValueBytes + 1] = {};
    DWORD type = 0;
    DWORD size = kRegistryValueBytes;
    if (::RegQueryValueExA(key_.get(), std::string(name).c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
      return false;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    buffer[size < kRegistryValueBytes ? size : kRegistryValueBytes] = '\0';  // stored strings need not end in one
    value = buffer;
    return true;
  }

  bool WriteString(std::string_view name, std::string_view value) override {
    const std::string text(value);
    return ::RegSetValueExA(key_.get(), std::string(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

 private:
  UniqueRegistryKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenOrCreate(std::string_view path) {
  const std::string name(path);
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
      return nullptr;
    }
  }
  return std::make_unique<Win32RegistryKey>(UniqueRegistryKey(key));
}

}  // namespace kavo::win32
