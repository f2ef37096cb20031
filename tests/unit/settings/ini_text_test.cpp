#include <gtest/gtest.h>

#include <cstring>

#include "settings/ini_text.h"

namespace kavo {
namespace {

std::string Lookup(const IniText& text, const char* section, const char* key) {
  const std::string* value = text.Find(section, key);
  return value ? *value : "<none>";
}

TEST(IniTextTest, LookupsInAHandWrittenFile) {
  const IniText text = IniText::Parse(
      "; comment\r\nfree=1\r\n\r\n[S1]\r\n  k1 = v1  \r\nnoeq\r\n\r\n[S2]\r\nk=\"quoted\"\r\n"
      "[s1]\r\nk1=dup\r\nk2=second\r\n[bad\r\nkb=1\r\n[ sp ]\r\nks=2\nlf=only\n=nameless\n=again\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"", "free", "1"},
      {"S1", "k1", "v1"},            // blanks around names and values go
      {"s1", "K1", "v1"},            // names match without regard to case; the first section wins
      {"S1", "k2", "<none>"},        // ...and only the first: later duplicates are never searched
      {"S1", "noeq", "<none>"},      // a line without '=' holds no value
      {"S2", "k", "\"quoted\""},     // quotes are the reader's business, kept here
      {"bad", "kb", "<none>"},       // a header without ']' is an ordinary line of the section before
      {"s1", "kb", "<none>"},
      {" sp ", "ks", "2"},           // section names are trimmed on both sides
      {"sp", "lf", "only"},          // LF-only line ends
      {"sp", "", "nameless"},        // a run of nameless keys keeps the first
      {"missing", "k", "<none>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Lookup(text, c.section, c.key), c.expected) << c.section << "/" << c.key;
}

TEST(IniTextTest, SerializeDropsBlankLinesKeepsCommentsAndUsesCrLf) {
  IniText text = IniText::Parse("; note\n\n[L]\n\nx=1\n  free text  \n[M]\ny=2");
  EXPECT_EQ(text.Serialize(), "; note\r\n[L]\r\nx=1\r\nfree text\r\n[M]\r\ny=2\r\n");
}

TEST(IniTextTest, SetUpdatesInPlaceAppendsKeysAndSections) {
  IniText text = IniText::Parse("[Setting]\r\nA=1\r\nnoeq\r\n[Other]\r\nC=3\r\n");
  EXPECT_TRUE(text.Set("setting", "a", "11"));           // the stored names keep their case
  EXPECT_TRUE(text.Set("SETTING", "D", "  lead trail  "));  // values are trimmed
  EXPECT_TRUE(text.Set("Third", "E", ""));
  EXPECT_FALSE(text.Set("Setting", "A", "11"));            // unchanged
  EXPECT_TRUE(text.Set("Setting", "noeq", "now"));         // a line without '=' takes the value
  EXPECT_EQ(text.Serialize(), "[Setting]\r\nA=11\r\nnoeq=now\r\nD=lead trail\r\n[Other]\r\nC=3\r\n[Third]\r\nE=\r\n");
}

TEST(IniTextTest, ALineBreakInAValueCannotAddKeys) {
  IniText text;
  text.Set("Setting", "ProFileName", "mine \r\nMacroKeyInfo0=00\nCurrentProfile=3");
  text.Set("Setting", "MacroKeyInfo0", "FF");
  EXPECT_EQ(text.Serialize(), "[Setting]\r\nProFileName=mine\r\nMacroKeyInfo0=FF\r\n");
}

TEST(IniTextTest, EmptyAndBlankInputs) {
  for (const char* input : {"", "\r\n\r\n", "   ", "\x1a"}) {
    IniText text = IniText::Parse(input);
    EXPECT_EQ(text.Serialize(), "") << "input of " << std::strlen(input) << " bytes";
    text.Set("A", "x", "1");
    EXPECT_EQ(text.Serialize(), "[A]\r\nx=1\r\n");
  }
}

TEST(ProfileStructTest, EncodesUpperCaseHexWithByteSum) {
  const unsigned char bytes[] = {0x0a, 0xff, 0x10};
  EXPECT_EQ(EncodeProfileStruct(bytes, 3), "0AFF1019");
  const unsigned char zeros[344] = {};
  EXPECT_EQ(EncodeProfileStruct(zeros, sizeof zeros), std::string(690, '0'));
}

TEST(ProfileStructTest, DecodeAcceptsOnlyWholeIntactValues) {
  struct Case {
    const char* text;
    bool ok;
  };
  const Case cases[] = {
      {"0AFF1019", true},  {"0aff1019", true},  {"0AFF1018", false},  // checksum
      {"0AFF10", false},   {"0AFF101900", false}, {"0AFF10190", false},  // length must be exact
      {"0AFG1019", false}, {"", false},         {" AFF1019", false},
  };
  for (const auto& c : cases) {
    unsigned char out[3] = {0xEE, 0xEE, 0xEE};
    EXPECT_EQ(DecodeProfileStruct(c.text, out, 3), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(out[0], 0x0a);
      EXPECT_EQ(out[1], 0xff);
      EXPECT_EQ(out[2], 0x10);
    } else {
      EXPECT_EQ(out[0], 0xEE) << "a failed read leaves the buffer alone: " << c.text;
    }
  }
}

TEST(ProfileStructTest, RoundTripsEveryByteValue) {
  unsigned char bytes[256];
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<unsigned char>(i);
  unsigned char back[256] = {};
  ASSERT_TRUE(DecodeProfileStruct(EncodeProfileStruct(bytes, 256), back, 256));
  EXPECT_EQ(std::memcmp(bytes, back, 256), 0);
}

TEST(ProfileIntTest, ParsesAsTheWindowsIntegerReader) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"12", 12},         {"-5", -5},          {"-1", -1},       {"7x", 7},       {"0x1F", 31},
      {"-0x10", -16},     {"0b101", 5},        {"0o17", 15},     {"abc", 0},      {"+9", 9},
      {"4294967295", -1}, {"99999999999", 1215752191},           {"  -0", 0},     {"1 2", 1},
      {"0x", 0},          {"0", 0},            {"-", 0},         {"2147483648", -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseProfileInt(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace kavo
