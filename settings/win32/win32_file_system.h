#pragma once
#include "settings/file_system.h"

namespace kavo::win32 {

// Files through the Win32 API with ANSI paths; replacements are written to a temporary file in the same
// folder, flushed and moved over the target with write-through. Reads and replacements wait briefly for a
// file another program holds; a read that still fails is traced to the debugger output.
class Win32FileSystem final : public FileSystem {
 public:
  FileRead Read(const std::string& path, std::string& contents) override;
  bool Replace(const std::string& path, std::string_view contents) override;
  bool Remove(const std::string& path) override;
  bool IsReadable(const std::string& path) override;
};

}  // namespace kavo::win32
