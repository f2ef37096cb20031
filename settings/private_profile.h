#pragma once
// One settings file in the Windows private-profile format: sections of key=value lines.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "settings/file_system.h"

namespace kavo {

constexpr std::size_t kMaxProfileString = 2047;  // what a 2048-byte read buffer holds

class PrivateProfileFile {
 public:
  virtual ~PrivateProfileFile() = default;
  // The value (at most kMaxProfileString characters), or fallback when the key is absent.
  virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) = 0;
  virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual int ReadInt(std::string_view section, std::string_view key, int fallback) = 0;
  bool WriteInt(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
  }
  // Fills size bytes only when the stored value is a whole, intact struct of exactly that size.
  virtual bool ReadStruct(std::string_view section, std::string_view key, void* buffer, std::size_t size) = 0;
  virtual bool WriteStruct(std::string_view section, std::string_view key, const void* buffer, std::size_t size) = 0;
  // Makes every write so far land in the file; false when it could not be written. A file that was there
  // but could not be read is never written over: whatever was set would replace everything it holds.
  virtual bool Commit() = 0;
  // What opening the file found. Reads of a missing or unreadable file give their fallbacks.
  virtual FileRead Found() = 0;
};

// Opens settings files for a sequence of operations.
class PrivateProfileAccess {
 public:
  virtual ~PrivateProfileAccess() = default;
  virtual std::unique_ptr<PrivateProfileFile> Open(const std::string& path) = 0;
  // For a file whose whole content is about to be written: what the file held before is dropped.
  virtual std::unique_ptr<PrivateProfileFile> OpenEmpty(const std::string& path) = 0;
};

}  // namespace kavo
