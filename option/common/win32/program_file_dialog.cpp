#include "option/common/win32/program_file_dialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace kavo::option::win32 {

std::string Win32ProgramFileDialog::DesktopFolder() {
  char folder[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOP, FALSE)) return {};
  folder[MAX_PATH] = '\0';
  std::string text = folder;
  while (!text.empty() && (text.back() == '\\' || text.back() == '/')) text.pop_back();
  return text;
}

std::optional<std::string> Win32ProgramFileDialog::Choose(const ProgramFileRequest& request) {
  if (request.bufferSize < 2) return std::nullopt;
  // The dialog writes up to the buffer's size; the two extra zeros keep even a full buffer closed by a
  // double zero.
  std::vector<char> buffer(request.bufferSize + 2, '\0');
  const std::size_t initial = std::min(request.initialFile.size(), request.bufferSize - 1);
  std::copy_n(request.initialFile.data(), initial, buffer.data());
  const std::string filter = FileDialogFilter(request.filter);

  OPENFILENAMEA dialog{};
  // The request names the 32-bit size of the structure with the places bar (88); the structure's own size
  // is that same structure in either build, and the only size a 64-bit dialog takes.
  dialog.lStructSize = sizeof(OPENFILENAMEA);
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(request.bufferSize);
  dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  dialog.Flags = request.flags;
  if (!::GetOpenFileNameA(&dialog)) return std::nullopt;

  // Up to the closing double zero: one path, or a folder and names separated by single zeros.
  std::size_t end = 0;
  while (end + 1 < buffer.size() && !(buffer[end] == '\0' && buffer[end + 1] == '\0')) ++end;
  return std::string(buffer.data(), end);
}

}  // namespace kavo::option::win32
