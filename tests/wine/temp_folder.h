#pragma once
// A fresh folder under the user's temporary folder, removed with everything in it when the object goes.
#include <windows.h>

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::wine_test {

class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof base, base);
    std::string root = length > 0 && length < sizeof base ? std::string(base, length) : std::string(".\\");
    if (root.back() != '\\') root += '\\';
    static std::atomic<unsigned> counter{0};
    // Another run may have left a folder of the same name behind: take the next free one.
    for (;;) {
      path_ = root + "kavo-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++) + "\\";
      if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
      if (::GetLastError() != ERROR_ALREADY_EXISTS) {
        path_.clear();
        break;
      }
    }
  }
  ~TempFolder() {
    if (!path_.empty()) RemoveTree(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Empty when the folder could not be made.
  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + std::string(name); }
  // Creates the folder below this one; its path ends in a backslash.
  std::string Subfolder(std::string_view name) const {
    const std::string folder = path_ + std::string(name);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
  }

  // Names of the entries of a folder (ending in a backslash), without "." and "..".
  static std::vector<std::string> List(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return names;
  }

  // Removes a folder (its path ends in a backslash) with everything in it.
  static void RemoveTree(const std::string& folder) {
    for (const auto& name : List(folder)) {
      const std::string path = folder + name;
      const DWORD attributes = ::GetFileAttributesA(path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        RemoveTree(path + "\\");
      } else {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      }
    }
    ::RemoveDirectoryA(folder.c_str());
  }

 private:
  std::string path_;
};

}  // namespace kavo::wine_test
