#pragma once
// MacroEditorWindow: the macro manager's list editor, a skinned child window at the manager's CHILD_POS.
// It shows the selected macro's events in the key-sequence list, records key strokes through the keyboard
// hook (installed only while recording), and offers the context menu of inserts, delay edits and deletes.
// Every decision is the MacroEditor model's; every change is written straight into the selected Macro.
//
// Hosting it:
//   MacroEditorWindow editor(instance, host, Point{215, 50});  // host: enables the manager's controls,
//   editor.Create(managerWindow);                               // shows its notices
//   editor.SetMacro(store.MacroAt(set, macro), set != -1);      // whenever the selection changes
//   ::ShowWindow(editor.window(), SW_SHOW);
//   ...
//   editor.WriteBack();  // before OK: ends a running recording, which writes its events
//
// The window uses the pictures of artwork/macro_editor.h and the dialog template kPageTemplate from the
// program's resources. User-interface thread only.
#include <windows.h>

#include <memory>

#include "option/macros/macro.h"
#include "option/common/keys_down_at_start.h"
#include "option/common/win32/win32_tick_clock.h"
#include "option/common/win32/win32_tick_clock.h"
#include "option/macros/macro_editor.h"
#include "platform/win32/win32_handles.h"
#include "settings/win32/win32_keyboard_layout.h"
#include "skin/geometry.h"
#include "skin/win32/bitmap_edit.h"
#include "skin/win32/skin_dialog.h"
#include "skin/win32/skin_list_box.h"

namespace kavo::option::win32 {

constexpr int kLoopCountEditId = 4010;
constexpr int kKeySequenceListId = 4096;

class MacroEditorWindow : public skin::win32::SkinDialog {
 public:
  MacroEditorWindow(HINSTANCE instance, MacroEditorHost& host, skin::Point topLeft);
  ~MacroEditorWindow() override;

  // The macro to edit, or null for none; setSelected tells which notice an action without a macro shows.
  // The macro must outlive the editor's use of it (until the next SetMacro or the window's end).
  void SetMacro(Macro* macro, bool setSelected = true);
  // Ends a running recording, which writes its events into the macro. Everything else is written at once.
  void WriteBack();

  bool recording() const { return model_.recording(); }
  const MacroEditor& model() const { return model_; }
  skin::win32::SkinListBox* list() const { return list_.get(); }
  skin::win32::BitmapEdit* loopCountEdit() const { return loopEdit_.get(); }

 protected:
  void OnBuild() override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  // Brings the hook, the record button's pictures and the list in line with the model after a change.
  void Sync();
  void ShowList();
  void ShowLoopState();
  void OpenContextMenu();
  void RunCommand(unsigned command);
  int TopRow() const;

  Win32TickClock clock_;
  kavo::win32::Win32KeyboardLayout layout_;
  MacroEditor model_;
  bool hooked_ = false;
  KeysDownAtStart keysChoosingEdit_;  // the in-place delay edit opens once these are up
  skin::win32::BitmapButton* record_ = nullptr;
  skin::win32::BitmapButton* delay_ = nullptr;
  skin::win32::BitmapButton* loop_ = nullptr;
  skin::Rect recordRect_;
  std::unique_ptr<skin::win32::SkinListBox> list_;
  std::unique_ptr<skin::win32::BitmapEdit> loopEdit_;
  kavo::win32::UniqueFont menuFont_;
};

}  // namespace kavo::option::win32
