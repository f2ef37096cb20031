#pragma once
// The macro editor's host for tests: it keeps what the editor asked of it.
#include <vector>

#include "option/macros/macro_editor.h"

namespace kavo::test {

class RecordingMacroEditorHost final : public option::MacroEditorHost {
 public:
  void EnableControls(bool enabled) override { enables.push_back(enabled); }
  void ShowNoSetNotice() override { ++noSetNotices; }
  void ShowNoMacroNotice() override { ++noMacroNotices; }

  std::vector<bool> enables;
  int noSetNotices = 0;
  int noMacroNotices = 0;
};

}  // namespace kavo::test
