#pragma once
// The macro manager dialog of KavoOption.exe: macro sets and their macros on the left, the list editor
// or the timeline view of the selected macro on the right. MacroManager makes every decision; the window
// shows what it says and hands it the clicks. The library is edited in place; the caller saves it to the
// sequence file after OK and reloads it from there otherwise (FinishMacroManager), so it is written once.
//
//   MacroManagerOpening opening;               // the "Macro Manager" button: no set selected at first
//   opening.newMacroMode = false;              // "Edit Macro...": the button's macro preselected
//   opening.preselectedSet = set;
//   opening.slot = entry;
//   FinishMacroManager(RunMacroManager(instance, mainWindow, library, pageMenus, opening), port);
//
// The windows use the pictures of artwork/macro_manager.h, macro_editor.h and set_name_dialog.h, the
// message boxes B and C, and the dialog templates from the program's resources. User-interface thread only.
#include <windows.h>

#include "option/macros/macro_library.h"
#include "settings/settings_record.h"
#include "skin/menu_click_memory.h"

namespace kavo::option::win32 {

constexpr int kMacroNameListId = 4096;
constexpr int kMacroSetNameEditId = 4010;
constexpr int kMacroSetNameLimit = 24;

struct MacroManagerOpening {
  bool newMacroMode = true;
  int preselectedSet = -1;
  MacroKeyInfo slot{};  // the button entry whose menu opened the manager
};

// Runs the manager modally over owner and gives its end code (kMacroManagerOk or kMacroManagerCancel);
// the library still holds the dialog's edits either way. Its set menu shares menuMemory with the page
// that opened it.
int RunMacroManager(HINSTANCE instance, HWND owner, MacroStoreLibrary& library, skin::MenuClickMemory& menuMemory,
                    const MacroManagerOpening& opening);

}  // namespace kavo::option::win32
