#include "settings/win32/win32_private_profile.h"

#include <windows.h>

#include <vector>

namespace kavo::win32 {
namespace {

class Win32PrivateProfileFile final : public PrivateProfileFile {
 public:
  explicit Win32PrivateProfileFile(std::string path) : path_(std::move(path)) {}

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) override {
    char buffer[kMaxProfileString + 1] = {};
    ::GetPrivateProfileStringA(S(section).c_str(), S(key).c_str(), S(fallback).c_str(), buffer, sizeof buffer,
                               path_.c_str());
    return buffer;
  }
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override {
    return ::WritePrivateProfileStringA(S(section).c_str(), S(key).c_str(), S(value).c_str(), path_.c_str()) != 0;
  }
  int ReadInt(std::string_view section, std::string_view key, int fallback) override {
    return static_cast<int>(::GetPrivateProfileIntA(S(section).c_str(), S(key).c_str(), fallback, path_.c_str()));
  }
  bool ReadStruct(std::string_view section, std::string_view key, void* buffer, std::size_t size) override {
    // The Windows reader can leave partial content behind on a bad checksum: read into a scratch buffer.
    std::vector<unsigned char> scratch(size);
    if (!::GetPrivateProfileStructA(S(section).c_str(), S(key).c_str(), scratch.data(), static_cast<UINT>(size),
                                    path_.c_str())) {
      return false;
    }
    std::copy(scratch.begin(), scratch.end(), static_cast<unsigned char*>(buffer));
    return true;
  }
  bool WriteStruct(std::string_view section, std::string_view key, const void* buffer, std::size_t size) override {
    return ::WritePrivateProfileStructA(S(section).c_str(), S(key).c_str(), const_cast<void*>(buffer),
                                        static_cast<UINT>(size), path_.c_str()) != 0;
  }
  bool Commit() override { return true; }  // every write has landed already
  // The Windows functions read a file they cannot open as an empty one; only a missing file is told apart.
  FileRead Found() override {
    if (::GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES) return FileRead::kRead;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::kMissing : FileRead::kRead;
  }

 private:
  static std::string S(std::string_view text) { return std::string(text); }
  std::string path_;
};

}  // namespace

std::unique_ptr<PrivateProfileFile> Win32PrivateProfileAccess::Open(const std::string& path) {
  return std::make_unique<Win32PrivateProfileFile>(path);
}

std::unique_ptr<PrivateProfileFile> Win32PrivateProfileAccess::OpenEmpty(const std::string& path) {
  ::DeleteFileA(path.c_str());
  return std::make_unique<Win32PrivateProfileFile>(path);
}

}  // namespace kavo::win32
