#pragma once
// A file held open by another program that shares it with nobody (a scan, a backup, an editor): every
// other open of it fails with a sharing violation until the holder lets go.
#include <windows.h>

#include <string>
#include <thread>

#include "platform/win32/win32_handles.h"

namespace kavo::wine_test {

// The handle closes when the holder goes, or after a delay when one is given.
class NoSharingHolder {
 public:
  explicit NoSharingHolder(const std::string& path)
      : handle_(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~NoSharingHolder() {
    if (closer_.joinable()) closer_.join();
  }
  NoSharingHolder(const NoSharingHolder&) = delete;
  NoSharingHolder& operator=(const NoSharingHolder&) = delete;
  bool holds() const { return static_cast<bool>(handle_); }
  void ReleaseAfter(DWORD ms) {
    closer_ = std::thread([this, ms] {
      ::Sleep(ms);
      handle_.reset();
    });
  }

 private:
  win32::UniqueFile handle_;
  std::thread closer_;
};

}  // namespace kavo::wine_test
