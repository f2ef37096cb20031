#include "settings/win32/win32_file_system.h"

#include <atomic>

#include "settings/win32/win32_handles.h"

namespace kavo::win32 {
namespace {

UniqueFile OpenForReading(const std::string& path) {
  return UniqueFile(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + "." + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++) + ".tmp";
}

bool WriteAll(HANDLE file, std::string_view contents) {
  while (!contents.empty()) {
    const DWORD chunk = contents.size() > 1u << 20 ? 1u << 20 : static_cast<DWORD>(contents.size());
    DWORD written = 0;
    if (!::WriteFile(file, contents.data(), chunk, &written, nullptr) || written == 0) return false;
    contents.remove_prefix(written);
  }
  return true;
}

// A reader of the target (another program reading its settings) keeps it from being replaced for a
// moment; the replacement waits for it rather than losing the write.
constexpr int kReplaceAttempts = 50;
constexpr DWORD kReplaceRetryPause = 10;  // ms

bool IsMomentary(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

bool MoveOver(const std::string& temporary, const std::string& path) {
  for (int attempt = 1;; ++attempt) {
    if (::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    if (attempt == kReplaceAttempts || !IsMomentary(::GetLastError())) return false;
    ::Sleep(kReplaceRetryPause);
  }
}

}  // namespace

bool Win32FileSystem::Read(const std::string& path, std::string& contents) {
  UniqueFile file = OpenForReading(path);
  if (!file) return false;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (1 << 30)) return false;
  contents.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < contents.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), contents.data() + done, static_cast<DWORD>(contents.size() - done), &got, nullptr)) {
      return false;
    }
    if (got == 0) break;
    done += got;
  }
  contents.resize(done);
  return true;
}

bool Win32FileSystem::Replace(const std::string& path, std::string_view contents) {
  const std::string temporary = TemporaryNameFor(path);
  {
    UniqueFile file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) return false;
    if (!WriteAll(file.get(), contents) || !::FlushFileBuffers(file.get())) {
      file.reset();
      ::DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (!MoveOver(temporary, path)) {
    ::DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

bool Win32FileSystem::Remove(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::IsReadable(const std::string& path) { return static_cast<bool>(OpenForReading(path)); }

}  // namespace kavo::win32
