// Any text as a layout string: a parsed entry stays within its fields and a rectangle that is not
// inside out, and written back in the plain form it parses to the same entry.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "skin/layout.h"
#include "tests/fuzz/fuzz_checks.h"

using kavo::fuzz::Check;

namespace {

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string layout(reinterpret_cast<const char*>(data), size);
  const std::optional<kavo::skin::LayoutEntry> entry = kavo::skin::ParseLayout(layout);
  if (!entry) return 0;

  Check(entry->name.size() <= kavo::skin::kMaxLayoutName);
  Check(entry->name.find(',') == std::string::npos);
  Check(entry->text.size() <= kavo::skin::kMaxLayoutText);
  Check(entry->text.empty() || (!IsWhiteSpace(entry->text.front()) && !IsWhiteSpace(entry->text.back())));
  Check(entry->left >= -kavo::skin::kMaxLayoutCoordinate && entry->left <= kavo::skin::kMaxLayoutCoordinate);
  Check(entry->top >= -kavo::skin::kMaxLayoutCoordinate && entry->top <= kavo::skin::kMaxLayoutCoordinate);
  Check(entry->right >= entry->left && entry->bottom >= entry->top);
  Check(entry->checked == 0);

  const std::string again = entry->name + "," + std::to_string(entry->left) + "," + std::to_string(entry->top) +
                            "," + std::to_string(entry->right - entry->left) + "," +
                            std::to_string(entry->bottom - entry->top) + "," + entry->text;
  const std::optional<kavo::skin::LayoutEntry> reparsed = kavo::skin::ParseLayout(again);
  Check(reparsed.has_value());
  Check(reparsed->name == entry->name && reparsed->text == entry->text);
  Check(reparsed->Bounds() == entry->Bounds());
  return 0;
}
