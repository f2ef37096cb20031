#pragma once
// Our own private-profile file: reads and writes exactly what the Windows private-profile functions do,
// but parses the file once, keeps it in memory for a sequence of operations and writes it once, as one
// atomic replacement, when the sequence is committed (or the object goes away). The file is read once, on
// first use; when it cannot be read then, this object never writes it.
#include <optional>
#include <string>

#include "settings/file_system.h"
#include "settings/ini_text.h"
#include "settings/private_profile.h"

namespace kavo {

class IniFile final : public PrivateProfileFile {
 public:
  enum class Start { FromFile, Empty };
  IniFile(FileSystem& files, std::string path, Start start = Start::FromFile);
  ~IniFile() override;
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;
  int ReadInt(std::string_view section, std::string_view key, int fallback) override;
  bool ReadStruct(std::string_view section, std::string_view key, void* buffer, std::size_t size) override;
  bool WriteStruct(std::string_view section, std::string_view key, const void* buffer, std::size_t size) override;
  bool Commit() override;
  FileRead Found() override;

  const std::string& path() const { return path_; }

 private:
  IniText& Text();

  FileSystem& files_;
  std::string path_;
  std::optional<IniText> text_;  // parsed on first use
  FileRead found_ = FileRead::kMissing;  // a file started empty counts as new
  bool dirty_ = false;
};

class IniFileAccess final : public PrivateProfileAccess {
 public:
  explicit IniFileAccess(FileSystem& files) : files_(files) {}
  std::unique_ptr<PrivateProfileFile> Open(const std::string& path) override;
  std::unique_ptr<PrivateProfileFile> OpenEmpty(const std::string& path) override;

 private:
  FileSystem& files_;
};

}  // namespace kavo
