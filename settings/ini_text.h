#pragma once
// The private-profile text format as Windows reads and writes it: parsed into sections and lines, and
// written back with CRLF line ends, dropping blank lines, keeping lines without '=' (comments) in place.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

struct IniLine {
  std::string key;
  std::optional<std::string> value;  // none: a line without '=', kept but never found as a value
};

struct IniSection {
  std::string name;
  bool headed = true;  // false only for the lines before the first section header
  std::vector<IniLine> lines;
};

class IniText {
 public:
  static IniText Parse(std::string_view text);
  std::string Serialize() const;

  // The value of the first matching key of the first matching section; names match without regard to
  // case or surrounding white space.
  const std::string* Find(std::string_view section, std::string_view key) const;
  // Sets the key, adding the section and key at their ends when missing; false when nothing changed.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  const std::vector<IniSection>& sections() const { return sections_; }

 private:
  IniSection* FindSection(std::string_view name);
  std::vector<IniSection> sections_;
};

std::string_view TrimProfileSpace(std::string_view text);

// Struct values: each byte as two upper-case hex digits, then the byte sum modulo 256.
std::string EncodeProfileStruct(const void* data, std::size_t size);
bool DecodeProfileStruct(std::string_view text, void* data, std::size_t size);

// Integer text as the Windows private-profile integer reader parses it: white space, a sign, an optional
// 0x, 0o or 0b prefix, digits up to the first that does not fit, wrapping at 32 bits.
std::int32_t ParseProfileInt(std::string_view text);

}  // namespace kavo
