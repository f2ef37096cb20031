#include "option/common/program_path_browse.h"

namespace kavo::option {

namespace {
constexpr unsigned kOverwritePrompt = 0x2;
constexpr unsigned kHideReadOnly = 0x4;
constexpr unsigned kAllowMultiSelect = 0x200;
constexpr unsigned kExplorerStyle = 0x80000;  // added by the framework's file dialog
constexpr unsigned kOpenFileNameSize = 88;
// Room for a multiple selection to come back whole, so that it is recognised and refused rather than
// failing as a too-small buffer.
constexpr std::size_t kSelectionBuffer = 4096;
}  // namespace

ProgramFileRequest MakeProgramFileRequest(std::string_view desktopFolder) {
  ProgramFileRequest request;
  request.defaultExtension = "*.exe";
  request.initialFile = std::string(desktopFolder) + "\\.exe";
  request.filter = "exe file(*.exe)|*.EXE|";
  request.flags = kOverwritePrompt | kHideReadOnly | kAllowMultiSelect | kExplorerStyle;
  request.structureSize = kOpenFileNameSize;
  request.bufferSize = kSelectionBuffer;
  return request;
}

std::string FileDialogFilter(std::string_view filter) {
  std::string result(filter);
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  // Two zeros close the list, whether or not the text ended with a separator.
  result.push_back('\0');
  if (result.size() < 2 || result[result.size() - 2] != '\0') result.push_back('\0');
  return result;
}

BrowseResult BrowseForProgram(ProgramFileDialog& dialog, std::size_t limit) {
  const ProgramFileRequest request = MakeProgramFileRequest(dialog.DesktopFolder());
  std::optional<std::string> selection = dialog.Choose(request);
  if (!selection) return {};
  std::string text = std::move(*selection);
  while (!text.empty() && text.back() == '\0') text.pop_back();
  if (text.empty()) return {};
  if (text.find('\0') != std::string::npos) return {BrowseOutcome::kSeveralRefused, {}};
  if (text.size() > limit) return {BrowseOutcome::kTooLongRefused, {}};
  return {BrowseOutcome::kChosen, std::move(text)};
}

bool EditAccepts(std::string_view current, std::string_view typed, std::size_t limit) {
  return typed.size() <= limit || typed.size() < current.size();
}

}  // namespace kavo::option
