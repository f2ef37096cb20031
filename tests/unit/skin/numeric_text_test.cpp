#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "skin/numeric_text.h"

namespace kavo::skin {
namespace {

struct TextCase {
  const char* name;
  std::string text;
  std::optional<std::string> shown;  // what the edit must show instead; none: the text stays
};
void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

class NumericCorrectionTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NumericCorrectionTest, KeepsTheLeadingNumericRun) {
  EXPECT_EQ(NumericCorrection(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericCorrectionTest,
    ::testing::Values(TextCase{"PastedWithALetter", "12a3", "12"}, TextCase{"Digits", "123", std::nullopt},
                      TextCase{"CommaAndPoint", "1,5.0", std::nullopt}, TextCase{"Empty", "", std::nullopt},
                      TextCase{"LetterFirst", "a12", ""}, TextCase{"Blank", "12 3", "12"},
                      TextCase{"Minus", "-5", ""}, TextCase{"HighCharacter", "1\xBD", "1"},
                      TextCase{"EmbeddedZero", std::string("4\0" "2", 3), "4"}),
    [](const ::testing::TestParamInfo<TextCase>& row) { return std::string(row.param.name); });

struct KeyCase {
  const char* name;
  unsigned key;
  bool passes;
};
void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class NumericKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(NumericKeyTest, LetsThroughOnlyNumberAndEditingKeys) {
  EXPECT_EQ(IsNumericKey(GetParam().key), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, NumericKeyTest,
    ::testing::Values(KeyCase{"Digit0", '0', true}, KeyCase{"Digit9", '9', true},
                      KeyCase{"Numpad0", 0x60, true}, KeyCase{"Numpad9", 0x69, true},
                      KeyCase{"Backspace", 0x08, true}, KeyCase{"Enter", 0x0D, true}, KeyCase{"End", 0x23, true},
                      KeyCase{"Home", 0x24, true}, KeyCase{"Left", 0x25, true}, KeyCase{"Right", 0x27, true},
                      KeyCase{"Delete", 0x2E, true}, KeyCase{"Comma", 0xBC, true}, KeyCase{"Period", 0xBE, true},
                      KeyCase{"LetterA", 'A', false}, KeyCase{"Space", 0x20, false}, KeyCase{"Up", 0x26, false},
                      KeyCase{"Down", 0x28, false}, KeyCase{"Tab", 0x09, false}, KeyCase{"Insert", 0x2D, false},
                      KeyCase{"Minus", 0xBD, false}, KeyCase{"NumpadMinus", 0x6D, false},
                      KeyCase{"NumpadDecimal", 0x6E, false}, KeyCase{"BelowDigits", 0x2F, false},
                      KeyCase{"AboveDigits", 0x3A, false}, KeyCase{"AboveNumpad", 0x6A, false}),
    [](const ::testing::TestParamInfo<KeyCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::skin
