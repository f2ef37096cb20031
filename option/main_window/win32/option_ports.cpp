#include "option/main_window/win32/option_ports.h"

#include <commdlg.h>

#include <cstring>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace kavo::option::win32 {

using kavo::win32::UniqueModule;

bool Win32PeerWindows::Send(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  const HWND peer = ::FindWindowA(nullptr, title);
  if (peer == nullptr) return false;
  ::SendMessageA(peer, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
  return true;
}

bool Win32PeerWindows::Post(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  const HWND peer = ::FindWindowA(nullptr, title);
  return peer != nullptr && ::PostMessageA(peer, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

namespace {

class ModuleStrings : public HelpStrings {
 public:
  explicit ModuleStrings(UniqueModule module) : module_(std::move(module)) {}
  std::string Text(int id) const override {
    char buffer[kHelpTextBuffer] = {};
    const int length = ::LoadStringA(module_.get(), static_cast<UINT>(id), buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
  }

 private:
  UniqueModule module_;
};

}  // namespace

std::unique_ptr<HelpStrings> ModuleHelpFiles::Load(const std::string& path) {
  // The libraries only carry strings: mapped as data, nothing of a file put in their place ever runs.
  UniqueModule module(
      ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!module) return nullptr;
  return std::make_unique<ModuleStrings>(std::move(module));
}

std::optional<std::string> RunFileDialog(HWND owner, const ProfileFileDialog& dialog) {
  // The filter's '|' separators become the terminators the API wants; it ends in two of them.
  std::vector<char> filter(dialog.filter.begin(), dialog.filter.end());
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.push_back('\0');
  filter.push_back('\0');
  // The extension without its "*." prefix, as lpstrDefExt wants it.
  std::string extension = dialog.defaultExtension;
  if (extension.rfind("*.", 0) == 0) extension.erase(0, 2);

  char file[MAX_PATH] = {};
  const std::size_t copied = dialog.initialName.copy(file, sizeof file - 1);
  file[copied] = '\0';

  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = filter.data();
  request.lpstrFile = file;
  request.nMaxFile = sizeof file;
  request.lpstrDefExt = extension.c_str();
  request.Flags = OFN_EXPLORER;
  if (dialog.hideReadOnly) request.Flags |= OFN_HIDEREADONLY;
  if (dialog.overwritePrompt) request.Flags |= OFN_OVERWRITEPROMPT;
  if (dialog.fileMustExist) request.Flags |= OFN_FILEMUSTEXIST;
  if (dialog.allowMultiSelect) request.Flags |= OFN_ALLOWMULTISELECT;
  const BOOL chosen =
      dialog.kind == FileDialogKind::kOpen ? ::GetOpenFileNameA(&request) : ::GetSaveFileNameA(&request);
  if (!chosen) return std::nullopt;
  // Several files chosen come as the folder and then the names: the first one is used.
  const std::string first(file);
  const std::size_t next = first.size() + 1;
  if (dialog.allowMultiSelect && next < sizeof file && file[next] != '\0') {
    return first + "\\" + std::string(file + next);
  }
  return first;
}

}  // namespace kavo::option::win32
