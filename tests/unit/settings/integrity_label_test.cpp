#include <gtest/gtest.h>

#include <optional>

#include "settings/integrity_label.h"

namespace kavo {
namespace {

TEST(SharedObjectLabelLevelTest, TheCreatorsLevelButNeverAboveMedium) {
  struct Case {
    const char* name;
    std::optional<std::uint32_t> creator;
    std::uint32_t label;
  };
  const Case cases[] = {
      {"unknown", std::nullopt, kMediumIntegrity},
      {"untrusted", 0x0000, 0x0000},
      {"low (a sandboxed creator)", kLowIntegrity, kLowIntegrity},
      {"medium (the user's ordinary rights)", kMediumIntegrity, kMediumIntegrity},
      {"medium plus", 0x2100, kMediumIntegrity},
      {"high (elevated)", kHighIntegrity, kMediumIntegrity},
      {"system", 0x4000, kMediumIntegrity},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SharedObjectLabelLevel(c.creator), c.label) << c.name;
  }
}

}  // namespace
}  // namespace kavo
