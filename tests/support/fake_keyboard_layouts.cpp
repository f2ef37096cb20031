#include "tests/support/fake_keyboard_layouts.h"

#include <utility>

#include "settings/key_tables.h"

namespace kavo::test {

int FakeKeyboardLayout::ScanCodeOfVirtualKey(int virtualKey) {
  const auto found = scanOfVirtual_.find(virtualKey);
  return found == scanOfVirtual_.end() ? 0 : found->second;
}

int FakeKeyboardLayout::VirtualKeyOfScanCode(int scanCode) {
  const auto found = virtualOfScan_.find(scanCode);
  return found == virtualOfScan_.end() ? 0 : found->second;
}

std::optional<char> FakeKeyboardLayout::CharacterOfKey(int virtualKey, int scanCode) {
  const auto found = characterOfVirtual_.find(virtualKey);
  if (found == characterOfVirtual_.end() || ScanCodeOfVirtualKey(virtualKey) != scanCode) return std::nullopt;
  return found->second;
}

void FakeKeyboardLayout::Place(int virtualKey, int scanCode, char character) {
  scanOfVirtual_[virtualKey] = scanCode;
  virtualOfScan_[scanCode] = virtualKey;
  if (character) characterOfVirtual_[virtualKey] = character;
}

FakeKeyboardLayout UsLayout() {
  static const std::map<int, char> kPunctuation = {
      {189, '-'}, {187, '='}, {219, '['}, {221, ']'}, {220, '\\'}, {186, ';'},
      {222, '\''}, {192, '`'}, {188, ','}, {190, '.'}, {191, '/'},
  };
  FakeKeyboardLayout layout;
  for (const auto& row : kKeyCodeTable) {
    if (row.scanCode == 0) continue;
    char character = 0;
    if (row.virtualKey >= 'A' && row.virtualKey <= 'Z') character = static_cast<char>(row.virtualKey - 'A' + 'a');
    if (row.virtualKey >= '0' && row.virtualKey <= '9') character = static_cast<char>(row.virtualKey);
    if (row.virtualKey == 13) character = '\r';
    if (row.virtualKey == 32) character = ' ';
    if (const auto found = kPunctuation.find(row.virtualKey); found != kPunctuation.end()) character = found->second;
    layout.Place(row.virtualKey, row.scanCode, character);
  }
  for (const auto& [virtualKey, scanCode] : {std::pair{16, 42}, std::pair{17, 29}, std::pair{18, 56}, std::pair{91, 91}}) {
    layout.SetScanCode(virtualKey, scanCode);
  }
  return layout;
}

FakeKeyboardLayout LayoutWithAAtScanCode16() {
  FakeKeyboardLayout layout = UsLayout();
  layout.Place('A', 16, 'a');
  layout.Place('Q', 30, 'q');
  layout.Place('Z', 17, 'z');
  layout.Place('W', 44, 'w');
  return layout;
}

}  // namespace kavo::test
