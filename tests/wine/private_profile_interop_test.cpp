// IniFile against the Windows private-profile functions: whatever one writes the other reads the same,
// both answer alike for hand-written files, and the same writes give the same bytes on disk.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/profile_backends.h"

namespace kavo::wine_test {
namespace {

struct Write {
  const char* section;
  const char* key;
  std::string value;
};

constexpr char kFallback[] = "fallback  ";  // the readers drop its trailing blanks
constexpr char kFallbackRead[] = "fallback";
constexpr int kFallbackInt = -77;

struct Lookup {
  const char* name;
  const char* section;
  const char* key;
  const char* text;  // nullptr: the key is not found
  int integer;
};

const std::string kLongValue = std::string(1500, 'x') + std::string(1500, 'y');

const std::vector<Write> kWrites = {
    {"Setting", "Name", "Kavo"},
    {"Setting", "Words", "two words  and more"},
    {"Setting", "Padded", "   padded value"},
    {"Setting", "Trailing", "trailing blanks \t "},
    {"Setting", "Empty", ""},
    {"Setting", "Quoted", "\"quoted value\""},
    {"Setting", "Single", "'single'"},
    {"Setting", "HalfQuote", "\"half"},
    {"Setting", "QuotedBlanks", "\"  \""},
    {"Setting", "Marks", "a=b;c"},
    {"Numbers", "Negative", "-42"},
    {"Numbers", "MinusOne", "-1"},
    {"Numbers", "Huge", "4294967297"},
    {"Numbers", "Hex", "0x1F"},
    {"Numbers", "UpperHex", "0X1F"},
    {"Numbers", "Octal", "0o17"},
    {"Numbers", "Binary", "0b101"},
    {"Numbers", "Trailing", "12abc"},
    {"Numbers", "Text", "abc"},
    {"Numbers", "Signed", "+7"},
    {"Numbers", "QuotedNumber", "\"15\""},
    {"Numbers", "Max", "2147483647"},
    {"Numbers", "Min", "-2147483648"},
    {"Setting", "Long", kLongValue},
    {"Third Section", "Key", "in the third"},
    {"Setting", "Late", "added after other sections"},
    {"Setting", "Name", "Kavo updated"},
    {"numbers", "negative", "-43"},
};

const Lookup kLookups[] = {
    {"plain, updated later", "Setting", "Name", "Kavo updated", 0},
    {"spaces inside", "Setting", "Words", "two words  and more", 0},
    {"leading blanks", "Setting", "Padded", "padded value", 0},
    {"trailing blanks", "Setting", "Trailing", "trailing blanks", 0},
    {"empty value", "Setting", "Empty", "", kFallbackInt},
    {"double quotes dropped", "Setting", "Quoted", "quoted value", 0},
    {"single quotes dropped", "Setting", "Single", "single", 0},
    {"unmatched quote kept", "Setting", "HalfQuote", "\"half", 0},
    {"quoted blanks", "Setting", "QuotedBlanks", "  ", 0},
    {"'=' and ';' in a value", "Setting", "Marks", "a=b;c", 0},
    {"negative, updated through other case", "Numbers", "Negative", "-43", -43},
    {"minus one", "Numbers", "MinusOne", "-1", -1},
    {"wraps at 32 bits", "Numbers", "Huge", "4294967297", 1},
    {"hex prefix", "Numbers", "Hex", "0x1F", 31},
    {"upper-case X is no prefix", "Numbers", "UpperHex", "0X1F", 0},
    {"octal prefix", "Numbers", "Octal", "0o17", 15},
    {"binary prefix", "Numbers", "Binary", "0b101", 5},
    {"digits before text", "Numbers", "Trailing", "12abc", 12},
    {"text", "Numbers", "Text", "abc", 0},
    {"plus sign", "Numbers", "Signed", "+7", 7},
    {"quoted number", "Numbers", "QuotedNumber", "15", 15},
    {"largest int", "Numbers", "Max", "2147483647", 2147483647},
    {"smallest int", "Numbers", "Min", "-2147483648", -2147483647 - 1},
    {"section and key in other case", "SETTING", "name", "Kavo updated", 0},
    {"names with blanks around", "  Setting\t", " Name ", "Kavo updated", 0},
    {"several sections", "third section", "KEY", "in the third", 0},
    {"key added to an earlier section", "Setting", "Late", "added after other sections", 0},
    {"missing key", "Setting", "Absent", nullptr, kFallbackInt},
    {"key of another section", "Numbers", "Name", nullptr, kFallbackInt},
    {"missing section", "Absent", "Name", nullptr, kFallbackInt},
};

class PrivateProfileInterop : public ProfileBackendsTest {
 protected:
  // Each session is one Open ... Commit.
  void WriteSessions(PrivateProfileAccess& access, const std::string& path,
                     const std::vector<std::vector<Write>>& sessions) {
    for (const auto& writes : sessions) {
      auto file = access.Open(path);
      for (const auto& write : writes) file->WriteString(write.section, write.key, write.value);
      EXPECT_TRUE(file->Commit());
    }
  }
};

TEST_F(PrivateProfileInterop, ValuesReadTheSameWhicheverSideWroteThem) {
  for (auto& writer : Backends()) {
    const std::string path = folder_.File(std::string("values-") + writer.name + ".ini");
    WriteSessions(writer.access, path, {kWrites});
    for (auto& reader : Backends()) {
      auto file = reader.access.Open(path);
      for (const auto& lookup : kLookups) {
        SCOPED_TRACE(std::string(writer.name) + " wrote, " + reader.name + " read: " + lookup.name);
        EXPECT_EQ(file->ReadString(lookup.section, lookup.key, kFallback), lookup.text ? lookup.text : kFallbackRead);
        EXPECT_EQ(file->ReadInt(lookup.section, lookup.key, kFallbackInt), lookup.integer);
      }
      SCOPED_TRACE(std::string(writer.name) + " wrote, " + reader.name + " read the long value");
      EXPECT_EQ(file->ReadString("Setting", "Long", ""), kLongValue.substr(0, kMaxProfileString));
    }
  }
}

struct Sequence {
  const char* name;
  const char* initial;  // nullptr: no file at first
  std::vector<std::vector<Write>> sessions;
};

TEST_F(PrivateProfileInterop, SameWritesGiveTheSameBytes) {
  const Sequence sequences[] = {
      {"all values into a new file", nullptr, {kWrites}},
      {"updates and new sections in later sessions",
       nullptr,
       {{{"Setting", "Name", "Kavo"}, {"Setting", "Count", "1"}, {"Setting", "Path", "C:\\x y\\z.exe"}},
        {{"Setting", "Count", "2"}, {"Second", "A", "a"}, {"Setting", "New", "added"}},
        {{"Setting", "Name", "Kavo"}, {"Third", "B", "  spaced"}, {"second", "a", "A"}, {"Second", "A", ""}}}},
      {"hand-written file with comments, blank lines and LF line ends",
       "; Kavo settings\n\n[Setting]\nName = old\n; keep this\n\n[Other]\nx=1\n",
       {{{"Setting", "Name", "new"}}, {{"Other", "y", "2"}, {"Setting", "Extra", "e"}}, {{"Added", "z", "3"}}}},
      {"blanks around names in the file", "  [ Setting ]  \r\n  Name  =  x  \r\n", {{{"Setting", "Name", "y"}}}},
      {"duplicate sections and keys",
       "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n",
       {{{"A", "k", "9"}, {"a", "m", "4"}}}},
      {"lines before the first section and a broken header",
       "top=1\r\n[bad\r\n[A]\r\nk=1\r\n",
       {{{"A", "k", "2"}, {"B", "n", "5"}}}},
  };
  for (const auto& sequence : sequences) {
    SCOPED_TRACE(sequence.name);
    std::vector<std::string> results;
    for (auto& writer : Backends()) {
      const std::string path =
          folder_.File("sequence-" + std::to_string(&sequence - sequences) + "-" + writer.name + ".ini");
      if (sequence.initial) {
        ASSERT_TRUE(files_.Replace(path, sequence.initial));
      }
      WriteSessions(writer.access, path, sequence.sessions);
      results.push_back(Contents(path));
    }
    EXPECT_EQ(results[0], results[1]);
  }
}

TEST_F(PrivateProfileInterop, UnchangedValueKeepsTheFileUntouched) {
  const std::string original = "[Setting]\nName=same\n\n; end\n";
  for (auto& writer : Backends()) {
    SCOPED_TRACE(writer.name);
    const std::string path = folder_.File(std::string("same-") + writer.name + ".ini");
    ASSERT_TRUE(files_.Replace(path, original));
    WriteSessions(writer.access, path, {{{"Setting", "Name", "same"}, {"SETTING", "name", "same"}}});
    EXPECT_EQ(Contents(path), original);
  }
}

// The bytes 0..size-1 in a pattern that covers every nibble.
std::vector<unsigned char> Pattern(std::size_t size) {
  std::vector<unsigned char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + size);
  return bytes;
}

constexpr std::size_t kStructSizes[] = {3, 344, 2372};

TEST_F(PrivateProfileInterop, StructsReadTheSameWhicheverSideWroteThem) {
  std::vector<std::string> results;
  for (auto& writer : Backends()) {
    const std::string path = folder_.File(std::string("structs-") + writer.name + ".ini");
    {
      auto file = writer.access.Open(path);
      for (std::size_t size : kStructSizes) {
        const auto bytes = Pattern(size);
        EXPECT_TRUE(file->WriteStruct("Blobs", "Size" + std::to_string(size), bytes.data(), size));
      }
      EXPECT_TRUE(file->Commit());
    }
    results.push_back(Contents(path));
    for (auto& reader : Backends()) {
      auto file = reader.access.Open(path);
      for (std::size_t size : kStructSizes) {
        SCOPED_TRACE(std::string(writer.name) + " wrote, " + reader.name + " read " + std::to_string(size) + " bytes");
        std::vector<unsigned char> read(size, 0xEE);
        ASSERT_TRUE(file->ReadStruct("blobs", "size" + std::to_string(size), read.data(), size));
        EXPECT_EQ(read, Pattern(size));
      }
    }
  }
  EXPECT_EQ(results[0], results[1]);
}

class DamagedStructs : public PrivateProfileInterop {
 protected:
  // The value the Windows writer stores for the pattern of this size.
  std::string StoredValue(std::size_t size) {
    const std::string path = folder_.File("intact-" + std::to_string(size) + ".ini");
    auto bytes = Pattern(size);
    auto file = windows_.Open(path);
    EXPECT_TRUE(file->WriteStruct("S", "Blob", bytes.data(), size));
    const std::string contents = Contents(path);
    const auto start = contents.find("Blob=");
    const auto end = contents.find("\r\n", start);
    if (start == std::string::npos || end == std::string::npos) return "";
    return contents.substr(start + 5, end - start - 5);
  }

  // What each reader makes of the text as the stored value: true when it was taken as a struct.
  // A reader that refuses must leave the caller's buffer as it was.
  std::vector<bool> ReadAsStruct(const std::string& text, std::size_t size, const std::string& name) {
    const std::string path = folder_.File(name + ".ini");
    EXPECT_TRUE(windows_.Open(path)->WriteString("S", "Blob", text));
    std::vector<bool> accepted;
    for (auto& reader : Backends()) {
      SCOPED_TRACE(reader.name);
      std::vector<unsigned char> buffer(size, 0xA5);
      const bool ok = reader.access.Open(path)->ReadStruct("S", "Blob", buffer.data(), size);
      if (ok) {
        EXPECT_EQ(buffer, Pattern(size));
      } else {
        EXPECT_EQ(buffer, std::vector<unsigned char>(size, 0xA5)) << "a refused value changed the buffer";
      }
      accepted.push_back(ok);
    }
    return accepted;
  }
};

TEST_F(DamagedStructs, BothRefuseWhatIsNotAnIntactStruct) {
  struct Damage {
    const char* name;
    std::string (*apply)(std::string value, std::size_t size);
    bool accepted;
  };
  const Damage damages[] = {
      {"intact", [](std::string v, std::size_t) { return v; }, true},
      {"lower-case digits",
       [](std::string v, std::size_t) {
         for (char& c : v) c = static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c);
         return v;
       },
       true},
      {"two digits short", [](std::string v, std::size_t size) { return v.erase(2 * size - 2, 2); }, false},
      {"two digits long", [](std::string v, std::size_t) { return "00" + v; }, false},
      {"one digit short", [](std::string v, std::size_t) { return v.erase(0, 1); }, false},
      {"wrong checksum",
       [](std::string v, std::size_t) {
         v.back() = v.back() == '0' ? '1' : '0';
         return v;
       },
       false},
      {"not a hex digit",
       [](std::string v, std::size_t) {
         v[1] = 'G';
         return v;
       },
       false},
      {"empty", [](std::string, std::size_t) { return std::string(); }, false},
  };
  for (std::size_t size : kStructSizes) {
    const std::string intact = StoredValue(size);
    ASSERT_EQ(intact.size(), 2 * size + 2);
    for (const auto& damage : damages) {
      SCOPED_TRACE(std::string(damage.name) + ", " + std::to_string(size) + " bytes");
      const auto accepted = ReadAsStruct(damage.apply(intact, size), size, damage.name + std::to_string(size));
      EXPECT_EQ(accepted, std::vector<bool>(2, damage.accepted));
    }
  }
}

// Known, deliberate difference: the Windows reader checks the length as (digits - 2) / 2 and ignores a
// digit after the checksum; IniFile insists on exactly two digits per byte plus the checksum.
TEST_F(DamagedStructs, OneExtraDigitOnlyTheWindowsReaderTakes) {
  const std::size_t size = 344;
  std::string value = StoredValue(size);
  ASSERT_EQ(value.size(), 2 * size + 2);
  value += '7';
  EXPECT_EQ(ReadAsStruct(value, size, "extra-digit"), (std::vector<bool>{false, true}));
}

struct RawLookup {
  const char* name;
  const char* section;
  const char* key;
  const char* text;  // nullptr: the key is not found
};

// Integers and 4-byte structs are not listed: the two readers must simply agree on them.
struct RawCase {
  const char* name;
  std::string text;
  std::vector<RawLookup> lookups;
};

TEST_F(PrivateProfileInterop, HandWrittenFilesReadTheSame) {
  const RawCase cases[] = {
      {"comments and lines without '='",
       "; top comment\r\n[Setting]\r\n; Name=commented\r\nName=Kavo\r\njust words\r\nOther=1\r\n",
       {{"value", "Setting", "Name", "Kavo"},
        {"';' starts no comment", "Setting", "; Name", "commented"},
        {"line without '='", "Setting", "just words", nullptr},
        {"comment line", "Setting", "; top comment", nullptr},
        {"after the lines", "Setting", "Other", "1"}}},
      {"blank lines and LF line ends, no final line end",
       "\n\n[A]\nx=1\n\n\ny = 2\n[B]\r\nz=3",
       {{"first", "A", "x", "1"}, {"after blank lines", "A", "y", "2"}, {"last line", "B", "z", "3"}}},
      {"lone CR line ends", "[A]\rx=1\ry=2\r", {{"first", "A", "x", "1"}, {"second", "A", "y", "2"}}},
      {"a CR ends a line wherever it stands",
       "[A]\rx=1\r\ny=2\rz=3\n[B\r]\r\nk=4\r\n",
       {{"before CRLF", "A", "x", "1"},
        {"inside a line", "A", "y", "2"},
        {"after it", "A", "z", "3"},
        {"header cut short", "B", "k", nullptr},
        {"its keys stay in the section before", "A", "k", "4"}}},
      {"duplicate sections and keys",
       "[A]\r\nx=first\r\nx=second\r\n[a]\r\nx=third\r\ny=only in the second\r\n",
       {{"first key wins", "A", "x", "first"}, {"second section unseen", "a", "y", nullptr}}},
      {"header without ']'",
       "[A]\r\nx=1\r\n[bad\r\ny=2\r\n[worse=3\r\n",
       {{"broken header is a line", "A", "[bad", nullptr},
        {"keys after it stay in the section", "A", "y", "2"},
        {"no such section", "bad", "y", nullptr},
        {"broken header with '='", "A", "[worse", "3"}}},
      {"white space around names",
       "  [ Spaced Section ]  \r\n\t key one \t=\t value one \t\r\n[B] tail\r\nk=v\r\n[C]]\r\nk=w\r\n",
       {{"trimmed names", "Spaced Section", "key one", "value one"},
        {"lookup names trimmed", " spaced section ", " KEY ONE ", "value one"},
        {"text after the header", "B", "k", "v"},
        {"last bracket closes", "C]", "k", "w"}}},
      {"lines before the first section",
       "x=outside\r\n[A]\r\nx=inside\r\n",
       {{"nameless section", "", "x", "outside"}, {"named section", "A", "x", "inside"}}},
      {"quotes in the file",
       "[Q]\r\nq=\"quoted\"\r\nr='single'\r\ns=\"mixed'\r\nt=\"\r\nu=\"\"\r\nv= \" padded \" \r\n",
       {{"double", "Q", "q", "quoted"},
        {"single", "Q", "r", "single"},
        {"mixed", "Q", "s", "\"mixed'"},
        {"lone quote", "Q", "t", "\""},
        {"empty quotes", "Q", "u", ""},
        {"blanks inside quotes", "Q", "v", " padded "}}},
      {"numbers and structs",
       "[N]\r\nhex=0x10\r\nblank= \r\nneg= -5 \r\nblob = 010203040A \r\nbad=010203040B\r\n",
       {{"hex", "N", "hex", "0x10"},
        {"blank", "N", "blank", ""},
        {"negative", "N", "neg", "-5"},
        {"struct with blanks", "N", "blob", "010203040A"},
        {"struct with bad sum", "N", "bad", "010203040B"}}},
      {"ctrl-z counts as a blank",
       "[A]\r\nx=1\x1a\r\n\x1ay=2\r\n",
       {{"trailing", "A", "x", "1"}, {"leading", "A", "y", "2"}}},
  };
  for (const auto& raw : cases) {
    const std::string path = folder_.File(std::string("raw-") + std::to_string(&raw - cases) + ".ini");
    ASSERT_TRUE(files_.Replace(path, raw.text));
    auto ours = ini_.Open(path);
    auto theirs = windows_.Open(path);
    for (const auto& lookup : raw.lookups) {
      SCOPED_TRACE(std::string(raw.name) + ": " + lookup.name);
      const std::string expected = lookup.text ? lookup.text : kFallbackRead;
      EXPECT_EQ(theirs->ReadString(lookup.section, lookup.key, kFallback), expected);
      EXPECT_EQ(ours->ReadString(lookup.section, lookup.key, kFallback), expected);
      EXPECT_EQ(ours->ReadInt(lookup.section, lookup.key, kFallbackInt),
                theirs->ReadInt(lookup.section, lookup.key, kFallbackInt));
      unsigned char mine[4] = {0xA5, 0xA5, 0xA5, 0xA5};
      unsigned char windows[4] = {0xA5, 0xA5, 0xA5, 0xA5};
      EXPECT_EQ(ours->ReadStruct(lookup.section, lookup.key, mine, sizeof mine),
                theirs->ReadStruct(lookup.section, lookup.key, windows, sizeof windows));
      EXPECT_EQ(0, std::memcmp(mine, windows, sizeof mine));
    }
  }
}

}  // namespace
}  // namespace kavo::wine_test
