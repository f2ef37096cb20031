#include "settings/ini_text.h"

#include "settings/trimmed_text.h"

#include <algorithm>
#include <cstring>

namespace kavo {
namespace {

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

void AppendLine(IniSection& section, std::string_view line) {
  IniLine entry;
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) {
    entry.key = std::string(line);
  } else {
    entry.key = std::string(TrimProfileSpace(line.substr(0, equals)));
    entry.value = std::string(TrimProfileSpace(line.substr(equals + 1)));
    // A run of nameless keys collapses into one, as the Windows reader does.
    if (entry.key.empty() && !section.lines.empty() && section.lines.back().key.empty()) return;
  }
  section.lines.push_back(std::move(entry));
}

}  // namespace

std::string_view TrimProfileSpace(std::string_view text) {
  // White space and the end-of-file mark some editors leave behind.
  return TrimmedText(text, std::string_view(" \t\n\r\v\f\x1a", 7));
}

IniText IniText::Parse(std::string_view text) {
  IniText result;
  result.sections_.push_back(IniSection{"", false, {}});
  // Every '\r' and every '\n' ends a line, as the Windows reader splits them (a CRLF leaves an empty line).
  std::size_t start = 0;
  std::size_t nextCr = text.find('\r');
  std::size_t nextLf = text.find('\n');
  while (start < text.size()) {
    if (nextCr < start) nextCr = text.find('\r', start);
    if (nextLf < start) nextLf = text.find('\n', start);
    const std::size_t end = nextCr < nextLf ? nextCr : nextLf;
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    const std::string_view line = TrimProfileSpace(text.substr(start, next - start));
    start = next;
    if (line.empty()) continue;
    if (line.front() == '[') {
      const auto close = line.rfind(']');
      if (close != std::string_view::npos) {
        result.sections_.push_back(IniSection{std::string(TrimProfileSpace(line.substr(1, close - 1))), true, {}});
        continue;
      }
      // A header without its bracket stays an ordinary line.
    }
    AppendLine(result.sections_.back(), line);
  }
  return result;
}

std::string IniText::Serialize() const {
  std::size_t length = 0;
  for (const auto& section : sections_) {
    length += section.name.size() + 4;
    for (const auto& line : section.lines) length += line.key.size() + (line.value ? line.value->size() + 1 : 0) + 2;
  }
  std::string out;
  out.reserve(length);
  for (const auto& section : sections_) {
    if (section.headed) {
      out += '[';
      out += section.name;
      out += "]\r\n";
    }
    for (const auto& line : section.lines) {
      out += line.key;
      if (line.value) {
        out += '=';
        out += *line.value;
      }
      out += "\r\n";
    }
  }
  return out;
}

IniSection* IniText::FindSection(std::string_view name) {
  name = TrimProfileSpace(name);
  for (auto& section : sections_) {
    if (SameName(section.name, name)) return &section;
  }
  return nullptr;
}

const std::string* IniText::Find(std::string_view section, std::string_view key) const {
  auto* found = const_cast<IniText*>(this)->FindSection(section);
  if (!found) return nullptr;
  key = TrimProfileSpace(key);
  for (const auto& line : found->lines) {
    if (SameName(line.key, key)) return line.value ? &*line.value : nullptr;
  }
  return nullptr;
}

bool IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  // A line break would end the line early and let the rest of the value pose as keys of its own.
  value = TrimProfileSpace(value.substr(0, std::min(value.find('\r'), value.find('\n'))));
  key = TrimProfileSpace(key);
  IniSection* target = FindSection(section);
  if (!target) {
    sections_.push_back(IniSection{std::string(TrimProfileSpace(section)), true, {}});
    target = &sections_.back();
  }
  for (auto& line : target->lines) {
    if (!SameName(line.key, key)) continue;
    if (line.value && *line.value == value) return false;
    line.value = std::string(value);
    return true;
  }
  target->lines.push_back(IniLine{std::string(key), std::string(value)});
  return true;
}

std::string EncodeProfileStruct(const void* data, std::size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::string text(2 * size + 2, '0');
  unsigned sum = 0;
  for (std::size_t i = 0; i < size; ++i) {
    text[2 * i] = kDigits[bytes[i] >> 4];
    text[2 * i + 1] = kDigits[bytes[i] & 15];
    sum += bytes[i];
  }
  text[2 * size] = kDigits[(sum >> 4) & 15];
  text[2 * size + 1] = kDigits[sum & 15];
  return text;
}

namespace {

// Value of each character as a hex digit, -1 for the others.
struct HexDigits {
  signed char value[256];
  constexpr HexDigits() : value() {
    for (int c = 0; c < 256; ++c) value[c] = -1;
    for (int d = 0; d < 10; ++d) value['0' + d] = static_cast<signed char>(d);
    for (int d = 0; d < 6; ++d) {
      value['A' + d] = static_cast<signed char>(10 + d);
      value['a' + d] = static_cast<signed char>(10 + d);
    }
  }
};
constexpr HexDigits kHexDigits;

int HexDigit(char c) { return kHexDigits.value[static_cast<unsigned char>(c)]; }

}  // namespace

bool DecodeProfileStruct(std::string_view text, void* data, std::size_t size) {
  if (text.size() != 2 * size + 2) return false;
  std::string decoded(size + 1, '\0');
  for (std::size_t i = 0; i <= size; ++i) {
    const int high = HexDigit(text[2 * i]);
    const int low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    decoded[i] = static_cast<char>(high * 16 + low);
  }
  unsigned sum = 0;
  for (std::size_t i = 0; i < size; ++i) sum += static_cast<unsigned char>(decoded[i]);
  if ((sum & 0xFF) != static_cast<unsigned char>(decoded[size])) return false;
  if (size) std::memcpy(data, decoded.data(), size);
  return true;
}

std::int32_t ParseProfileInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    const char marker = text[i + 1];
    if (marker == 'x') base = 16;
    if (marker == 'o') base = 8;
    if (marker == 'b') base = 2;
    if (base != 10) i += 2;
  }
  std::uint32_t total = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'Z') digit = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'z') digit = static_cast<unsigned>(c - 'a' + 10);
    else break;
    if (digit >= base) break;
    total = total * base + digit;
  }
  return static_cast<std::int32_t>(negative ? 0u - total : total);
}

}  // namespace kavo
