#include "settings/win32/win32_file_system.h"

#include <atomic>
#include <string>

#include "platform/win32/debug_trace.h"
#include "platform/win32/win32_handles.h"

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

// Another program that holds the file (reading its settings, a scan, a backup) keeps it from being read or
// replaced for a moment; reads and replacements wait for it rather than failing at once.
constexpr int kMomentaryAttempts = 50;
constexpr DWORD kMomentaryRetryPause = 10;  // ms

bool IsMomentary(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

template <typename Result>
struct Attempt {
  Result result;
  DWORD error;  // ERROR_SUCCESS when the attempt succeeded
};

// Repeats tryOnce while it fails for a momentary reason, a bounded number of times; the last attempt's
// result and error.
template <typename TryOnce>
auto RetryWhileMomentary(TryOnce tryOnce) {
  for (int attempt = 1;; ++attempt) {
    const auto outcome = tryOnce();
    if (outcome.error == ERROR_SUCCESS || attempt == kMomentaryAttempts || !IsMomentary(outcome.error)) {
      return outcome;
    }
    ::Sleep(kMomentaryRetryPause);
  }
}

bool MoveOver(const std::string& temporary, const std::string& path) {
  return RetryWhileMomentary([&] {
           const bool moved = ::MoveFileExA(temporary.c_str(), path.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
           return Attempt<bool>{moved, moved ? ERROR_SUCCESS : ::GetLastError()};
         })
      .result;
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

Attempt<FileRead> ReadOnce(const std::string& path, std::string& contents) {
  UniqueFile file = OpenForReading(path);
  if (!file) {
    const DWORD error = ::GetLastError();
    return {IsMissing(error) ? FileRead::kMissing : FileRead::kUnreadable, error};
  }
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size)) return {FileRead::kUnreadable, ::GetLastError()};
  if (size.QuadPart > (1 << 30)) return {FileRead::kUnreadable, ERROR_FILE_TOO_LARGE};
  contents.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < contents.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), contents.data() + done, static_cast<DWORD>(contents.size() - done), &got, nullptr)) {
      return {FileRead::kUnreadable, ::GetLastError()};
    }
    if (got == 0) break;
    done += got;
  }
  contents.resize(done);
  return {FileRead::kRead, ERROR_SUCCESS};
}

}  // namespace

FileRead Win32FileSystem::Read(const std::string& path, std::string& contents) {
  const Attempt<FileRead> read = RetryWhileMomentary([&] { return ReadOnce(path, contents); });
  if (read.result == FileRead::kUnreadable) {
    // The settings code never writes over a file it could not read; this says why one was left alone.
    const std::string trace = "File not read (error " + std::to_string(read.error) + "), left as it is: " + path + "\n";
    DebugTrace(trace);
  }
  return read.result;
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
