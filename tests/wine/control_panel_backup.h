#pragma once
// Saves the current user's pointer settings that the settings mirror writes, and puts them back as they
// were (values that were absent are removed again) when the object goes.
#include <windows.h>

#include <string>
#include <vector>

namespace kavo::wine_test {

class ControlPanelBackup {
 public:
  ControlPanelBackup() {
    static const char* const kMouse[] = {"DoubleClickSpeed", "MouseSensitivity", "MouseSpeed", "MouseThreshold1",
                                         "MouseThreshold2"};
    static const char* const kDesktop[] = {"WheelScrollLines", "WheelScrollChars"};
    for (const char* name : kMouse) Save("Control Panel\\Mouse", name);
    for (const char* name : kDesktop) Save("Control Panel\\Desktop", name);
  }
  ~ControlPanelBackup() {
    for (const auto& value : saved_) {
      HKEY key = nullptr;
      if (::RegCreateKeyExA(HKEY_CURRENT_USER, value.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
        continue;
      }
      if (value.present) {
        ::RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
      } else {
        ::RegDeleteValueA(key, value.name.c_str());
      }
      ::RegCloseKey(key);
    }
  }
  ControlPanelBackup(const ControlPanelBackup&) = delete;
  ControlPanelBackup& operator=(const ControlPanelBackup&) = delete;

 private:
  struct Value {
    std::string key;
    std::string name;
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
  };

  void Save(const char* keyPath, const char* name) {
    Value value;
    value.key = keyPath;
    value.name = name;
    DWORD size = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, keyPath, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, nullptr, &size) ==
        ERROR_SUCCESS) {
      value.data.resize(size);
      value.present = ::RegGetValueA(HKEY_CURRENT_USER, keyPath, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                                     value.data.data(), &size) == ERROR_SUCCESS;
      value.data.resize(size);
    }
    saved_.push_back(std::move(value));
  }

  std::vector<Value> saved_;
};

}  // namespace kavo::wine_test
