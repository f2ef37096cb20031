#include "settings/ini_file.h"

namespace kavo {
namespace {

// The Windows reader drops one pair of matching quotes around a value.
std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// ...and trailing blanks of the value it falls back to.
std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

constexpr std::size_t kIntegerTextLimit = 29;  // the integer reader's own 30-character buffer

}  // namespace

IniFile::IniFile(FileSystem& files, std::string path, Start start) : files_(files), path_(std::move(path)) {
  if (start == Start::Empty) {
    text_ = IniText{};
    dirty_ = true;  // committing writes the new content even when nothing was set
  }
}

IniFile::~IniFile() {
  if (dirty_) Commit();
}

IniText& IniFile::Text() {
  if (!text_) {
    std::string contents;
    found_ = files_.Read(path_, contents);
    text_ = IniText::Parse(found_ ? contents : std::string());
  }
  return *text_;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) {
  const std::string* value = Text().Find(section, key);
  const std::string_view result = value ? WithoutQuotes(*value) : WithoutTrailingBlanks(fallback);
  return std::string(result.substr(0, kMaxProfileString));
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (Text().Set(section, key, value)) dirty_ = true;
  return true;
}

int IniFile::ReadInt(std::string_view section, std::string_view key, int fallback) {
  const std::string text = ReadString(section, key, "");
  if (text.empty()) return fallback;
  return ParseProfileInt(std::string_view(text).substr(0, kIntegerTextLimit));
}

bool IniFile::ReadStruct(std::string_view section, std::string_view key, void* buffer, std::size_t size) {
  const std::string* value = Text().Find(section, key);
  return value && DecodeProfileStruct(*value, buffer, size);
}

bool IniFile::WriteStruct(std::string_view section, std::string_view key, const void* buffer, std::size_t size) {
  return WriteString(section, key, EncodeProfileStruct(buffer, size));
}

bool IniFile::Commit() {
  if (!dirty_) return true;
  const std::string contents = Text().Serialize();
  // A failed write is not retried by the destructor; the file on disk keeps its previous content.
  dirty_ = false;
  return found_ != FileRead::kUnreadable && files_.Replace(path_, contents);
}

FileRead IniFile::Found() {
  Text();
  return found_;
}

std::unique_ptr<PrivateProfileFile> IniFileAccess::Open(const std::string& path) {
  return std::make_unique<IniFile>(files_, path);
}

std::unique_ptr<PrivateProfileFile> IniFileAccess::OpenEmpty(const std::string& path) {
  return std::make_unique<IniFile>(files_, path, IniFile::Start::Empty);
}

}  // namespace kavo
