#pragma once
// A program's dialogs as a test finds and drives them: any dialog it shows besides its main window, and the
// standard file dialog, where the chosen path is typed into the file name field and confirmed.
#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "tests/wine/programs.h"

namespace kavo::wine_test {

// A shown dialog of process id other than its main window and the windows known, or null.
inline HWND OtherDialog(DWORD id, HWND main, std::initializer_list<HWND> known = {}) {
  for (HWND window : TopLevelWindows(id, "")) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof name);
    const bool seen = window == main || std::find(known.begin(), known.end(), window) != known.end();
    if (!seen && ::IsWindowVisible(window) && std::string(name) == "#32770") return window;
  }
  return nullptr;
}

struct EditSearch {
  HWND found = nullptr;
};
inline BOOL CALLBACK FindFileNameEdit(HWND child, LPARAM context) {
  // The file name field: an edit of its own, or the edit inside the file name combo box.
  constexpr int kFileNameCombo = 0x47C;
  constexpr int kFileNameEdit = 0x480;
  char name[16] = {};
  ::GetClassNameA(child, name, sizeof name);
  const int id = ::GetDlgCtrlID(child);
  if (std::string(name) != "Edit" || (id != kFileNameCombo && id != kFileNameEdit)) return TRUE;
  reinterpret_cast<EditSearch*>(context)->found = child;
  return FALSE;
}

// Types path into the file name field of a standard file dialog and confirms it.
inline bool ChooseFile(HWND dialog, const std::string& path) {
  EditSearch search;
  ::EnumChildWindows(dialog, FindFileNameEdit, reinterpret_cast<LPARAM>(&search));
  DWORD_PTR result = 0;
  if (search.found == nullptr ||
      !::SendMessageTimeoutA(search.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000,
                             &result)) {
    return false;
  }
  return ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                        reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK))) != 0;
}

}  // namespace kavo::wine_test
