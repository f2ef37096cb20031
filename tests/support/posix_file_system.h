#pragma once
// Real files on Linux for native tests; the Windows paths the settings build are mapped by turning
// backslashes into slashes.
#include "settings/file_system.h"

namespace kavo::test {

class PosixFileSystem final : public FileSystem {
 public:
  FileRead Read(const std::string& path, std::string& contents) override;
  bool Replace(const std::string& path, std::string_view contents) override;
  bool Remove(const std::string& path) override;
  bool IsReadable(const std::string& path) override;

  static std::string NativePath(const std::string& path);
};

}  // namespace kavo::test
