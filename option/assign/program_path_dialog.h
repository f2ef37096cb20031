#pragma once
// The program path dialog: the program a Quicklaunch button starts. The caller hands in the starting
// text, runs the dialog and, after OK, stores the path text into the button's entry.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "option/common/program_path_browse.h"
#include "settings/settings_record.h"

namespace kavo::option {

enum class ProgramPathCommand { kOk, kCancel, kExit, kBrowse };

struct ProgramPathStep {
  std::optional<int> endCode;
  bool fieldChanged = false;  // the edit must show Text()
  BrowseOutcome browse = BrowseOutcome::kCancelled;
};

constexpr DialogPictures kProgramPathPictures{310, 309, 309, 307, 308, 309, {305, 245}};

class ProgramPathDialog {
 public:
  // The text the dialog starts with for a button entry: its program path when it already launches a
  // program (function 15), else empty.
  static std::string InitialPath(const MacroKeyInfo& entry);
  // What a button entry's program path holds before its terminator.
  static constexpr std::size_t EditLimit() { return sizeof(MacroKeyInfo::programPath) - 1; }

  ProgramPathDialog(std::string_view path, ProgramFileDialog& files);

  const std::string& Text() const { return text_; }
  bool SetText(std::string_view text);
  ProgramPathStep OnCommand(ProgramPathCommand command);

  // The path text: what the caller passed in, replaced by the field's text on OK.
  const std::string& path() const { return path_; }
  std::optional<int> endCode() const { return endCode_; }
  // After OK, the path text into the entry; any other end leaves it alone. True when it was stored.
  bool StoreInto(MacroKeyInfo& entry) const;

 private:
  ProgramFileDialog& files_;
  std::string path_;
  std::string text_;
  std::optional<int> endCode_;
};

}  // namespace kavo::option
