#include "settings/win32/win32_registry.h"

#include <string>

#include "platform/win32/win32_handles.h"

namespace kavo::win32 {
namespace {

class Win32RegistryKey final : public RegistryKey {
 public:
  Win32RegistryKey(UniqueRegistryKey key, std::size_t valueBytes) : key_(std::move(key)), valueBytes_(valueBytes) {}

  bool ReadString(std::string_view name, std::string& value) override {
    std::string buffer(valueBytes_ + 1, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(valueBytes_);
    if (::RegQueryValueExA(key_.get(), std::string(name).c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
      return false;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    buffer[size < valueBytes_ ? size : valueBytes_] = '\0';  // stored strings need not end in one
    value = buffer.c_str();
    return true;
  }

  bool WriteString(std::string_view name, std::string_view value) override {
    const std::string text(value);
    return ::RegSetValueExA(key_.get(), std::string(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

 private:
  UniqueRegistryKey key_;
  std::size_t valueBytes_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenOrCreate(std::string_view path) {
  const std::string name(path);
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root_, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    key = nullptr;
    if (::RegCreateKeyExA(root_, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
      return nullptr;
    }
  }
  return std::make_unique<Win32RegistryKey>(UniqueRegistryKey(key), valueBytes_);
}

std::unique_ptr<RegistryValues> Win32Registry::OpenForReading(std::string_view path, RegistryView view) {
  const REGSAM viewFlag = view == RegistryView::Programs64Bit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root_, std::string(path).c_str(), 0, KEY_QUERY_VALUE | viewFlag, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(UniqueRegistryKey(key), valueBytes_);
}

}  // namespace kavo::win32
