#include "tests/support/posix_file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace kavo::test {

std::string PosixFileSystem::NativePath(const std::string& path) {
  std::string native = path;
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

FileRead PosixFileSystem::Read(const std::string& path, std::string& contents) {
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::kMissing : FileRead::kUnreadable;
  contents.clear();
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) { ok = false; break; }
    if (got == 0) break;
    contents.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return ok ? FileRead::kRead : FileRead::kUnreadable;
}

bool PosixFileSystem::Replace(const std::string& path, std::string_view contents) {
  static std::atomic<unsigned> counter{0};
  const std::string target = NativePath(path);
  const std::string temporary = target + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  while (ok && !contents.empty()) {
    const ssize_t put = ::write(fd, contents.data(), contents.size());
    if (put <= 0) ok = false;
    else contents.remove_prefix(static_cast<std::size_t>(put));
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

bool PosixFileSystem::Remove(const std::string& path) { return ::unlink(NativePath(path).c_str()) == 0; }

bool PosixFileSystem::IsReadable(const std::string& path) { return ::access(NativePath(path).c_str(), R_OK) == 0; }

}  // namespace kavo::test
