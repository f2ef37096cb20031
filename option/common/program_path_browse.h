#pragma once
// Browsing for a program, as both program dialogs do it, and what the two dialogs share: their end codes,
// the look of their edit fields and the window pictures they are made of.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "skin/geometry.h"

namespace kavo::option {

// Modal end codes of the dialogs.
constexpr int kDialogOk = 1;
constexpr int kDialogCancel = 2;

// White text on black in the edit font, for every edit field of both dialogs.
constexpr skin::Colour kDialogEditText = 0xFFFFFF;
constexpr skin::Colour kDialogEditBackground = 0x000000;
constexpr int kDialogEditId = 4010;
constexpr unsigned kDialogEditStyle = 0x10010080;  // visible, tab stop, automatic horizontal scroll

// The pictures a skinned dialog is made of: its shape, its background and its buttons' four states.
struct DialogPictures {
  int mask, background, normal, hover, pressed, disabled;
  skin::Extent size;
};

// The standard file-open dialog as the browse steps fill it in.
struct ProgramFileRequest {
  std::string defaultExtension;
  std::string initialFile;
  std::string filter;      // '|'-separated pairs of description and pattern, as the framework takes them
  unsigned flags = 0;
  unsigned structureSize = 0;  // the larger structure, with the places bar
  std::size_t bufferSize = 0;  // characters the dialog may write, terminators included
};

// What the browse steps need of the platform.
class ProgramFileDialog {
 public:
  virtual ~ProgramFileDialog() = default;
  // The current user's Desktop folder without a trailing backslash (never created); empty when unknown.
  virtual std::string DesktopFolder() = 0;
  // Runs the dialog modally. Nothing when the user cancels or the dialog fails; otherwise the selection as
  // the dialog leaves it in its buffer up to the closing double zero: one full path, or for several files
  // the folder and then each name, separated by single zeros.
  virtual std::optional<std::string> Choose(const ProgramFileRequest& request) = 0;
};

// The request for a given Desktop folder: default extension "*.exe", initial file "<Desktop>\.exe",
// filter "exe file(*.exe)|*.EXE|", overwrite prompt + hide read-only + multiple selection in the explorer
// style the framework's dialog uses (so a multiple selection comes back zero-separated).
ProgramFileRequest MakeProgramFileRequest(std::string_view desktopFolder);

// The filter as OPENFILENAME takes it: every '|' becomes a zero; the text ends with two zeros.
std::string FileDialogFilter(std::string_view filter);

enum class BrowseOutcome {
  kCancelled,        // nothing chosen: the field stays as it is
  kChosen,           // path holds the full path of the one chosen file
  kSeveralRefused,   // several files chosen: the dialog would only give their folder
  kTooLongRefused,   // the path does not fit in the field it is meant for
};

struct BrowseResult {
  BrowseOutcome outcome = BrowseOutcome::kCancelled;
  std::string path;  // only for kChosen
};

// The browse steps: the Desktop folder, the file dialog, and the full path of the chosen file when it is
// one file of at most limit characters.
BrowseResult BrowseForProgram(ProgramFileDialog& dialog, std::size_t limit);

// Whether a text typed into an edit limited to limit characters is taken: never beyond the limit, except
// that a text already longer (filled in from a record) may still be shortened.
bool EditAccepts(std::string_view current, std::string_view typed, std::size_t limit);

}  // namespace kavo::option
