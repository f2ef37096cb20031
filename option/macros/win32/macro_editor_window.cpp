#include "option/macros/win32/macro_editor_window.h"

#include <string>
#include <utility>

#include "artwork/macro_editor.h"
#include "option/common/win32/keyboard_hook.h"
#include "option/macros/win32/macro_list_look.h"
#include "skin/layout.h"
#include "skin/skin_messages.h"
#include "skin/win32/picture_resources.h"
#include "skin/win32/skin_menu.h"
#include "skin/win32/skin_font.h"

namespace kavo::option::win32 {
namespace {

namespace art = artwork::macro_editor;
using skin::win32::BitmapEdit;
using skin::win32::ButtonPictures;
using skin::win32::SkinListBox;
using skin::win32::SkinMenu;

constexpr DWORD kLoopCountEditStyle = 0x10012080;  // visible, tab stop, digits only, scrolls sideways
constexpr int kLoopCountDigits = 3;
constexpr int kMenuWidth = 140;
constexpr int kMouseMenuWidth = 100;
constexpr int kMouseEventMenuWidth = 40;
// Each button's mouse events are Down, Up and Click in a row from kMouseEventFirst: left, right, wheel.
constexpr unsigned kMouseEventsPerButton = 3;
constexpr unsigned kLeftButtonEvents = kMouseEventFirst;
constexpr unsigned kRightButtonEvents = kMouseEventFirst + kMouseEventsPerButton;
constexpr unsigned kWheelEvents = kMouseEventFirst + 2 * kMouseEventsPerButton;
constexpr skin::Colour kLoopCountText = 0xFFFFFF;
constexpr skin::Colour kLoopCountBackground = 0x000000;
// Waits for the keys that chose Edit Delay in the menu to come up before the edit opens: the edit confirms
// on the release of Enter, and would take that release for its own.
constexpr UINT_PTR kDelayEditTimer = 4004;
constexpr UINT kDelayEditPollMs = 20;

std::unique_ptr<SkinMenu> MouseEventMenu(HFONT font, unsigned firstCommand) {
  auto menu = std::make_unique<SkinMenu>(font);
  menu->Append(firstCommand, "Down");
  menu->Append(firstCommand + 1, "Up");
  menu->Append(firstCommand + 2, "Click");
  menu->SetWidth(kMouseEventMenuWidth);
  return menu;
}

}  // namespace

MacroEditorWindow::MacroEditorWindow(HINSTANCE instance, MacroEditorHost& host, skin::Point topLeft)
    : SkinDialog(instance, skin::win32::kPageTemplate), model_(host, clock_, layout_) {
  PlaceAt(topLeft);
}

MacroEditorWindow::~MacroEditorWindow() {
  if (hooked_) RemoveKeyboardHook();
}

void MacroEditorWindow::OnBuild() {
  SetPictures(skin::win32::LoadWindowPictures(instance(), art::kWindowPictures));
  recordRect_ = skin::LayoutBounds(art::kButtonStartRecord);
  record_ = &AddButton(art::kButtonStartRecord, [this] {
    model_.RecordButton();
    Sync();
  });
  record_->SetHandCursor(true);
  delay_ = &AddButton(art::kButtonDelayOnOff, [this] { model_.SetDelayFlag(delay_->checked()); });
  delay_->SetToggleMode(true);
  loop_ = &AddButton(art::kButtonLoopTimesOnOff, [this] { model_.SetLoopFlag(loop_->checked()); });
  loop_->SetToggleMode(true);

  loopEdit_ = BitmapEdit::Create(window(), skin::LayoutBounds(art::kEditTimes), kLoopCountEditStyle, kLoopCountEditId);
  if (loopEdit_) {
    loopEdit_->SetNumeric(true);
    loopEdit_->SetColours(kLoopCountText, kLoopCountBackground);
    ::SendMessageA(loopEdit_->window(), EM_LIMITTEXT, kLoopCountDigits, 0);
  }
  list_ = SkinListBox::Create(window(), skin::LayoutBounds(art::kButtonListKeySequence));
  if (list_) {
    ::SetWindowLongPtrA(list_->window(), GWLP_ID, kKeySequenceListId);
    GiveMacroListLook(*list_);
  }

  menuFont_ = skin::win32::SkinFont(14, 5);
  ShowLoopState();
}

void MacroEditorWindow::SetMacro(Macro* macro, bool setSelected) {
  model_.Select(macro, setSelected);
  Sync();
  ShowLoopState();
}

void MacroEditorWindow::WriteBack() {
  if (model_.recording()) {
    model_.RecordButton();
    Sync();
  }
}

void MacroEditorWindow::ShowLoopState() {
  if (loop_ != nullptr) loop_->SetChecked(model_.loopFlag());
  if (delay_ != nullptr) delay_->SetChecked(model_.delayFlag());
  if (loopEdit_) ::SetWindowTextA(loopEdit_->window(), std::to_string(model_.loopCount()).c_str());
}

void MacroEditorWindow::Sync() {
  if (model_.recording() != hooked_ && window() != nullptr) {
    hooked_ = model_.recording();
    if (hooked_) {
      InstallKeyboardHook(window());
      ButtonPictures recording;
      recording.normal = skin::win32::LoadPicture(instance(), art::kRecordingNormal);
      recording.hover = skin::win32::LoadPicture(instance(), art::kRecordingHover);
      recording.pressed = skin::win32::LoadPicture(instance(), art::kRecordingPressed);
      recording.disabled = skin::win32::LoadPicture(instance(), art::kRecordingNormal);
      if (record_ != nullptr) record_->SetPictures(std::move(recording));
      if (list_) ::EnableWindow(list_->window(), FALSE);
      ::SetFocus(window());
    } else {
      RemoveKeyboardHook();
      if (record_ != nullptr) {
        ButtonPictures normal;
        normal.normal = skin::win32::LoadPicture(instance(), art::kNormalPicture);
        normal.hover = skin::win32::LoadPicture(instance(), art::kHoverPicture);
        normal.pressed = skin::win32::LoadPicture(instance(), art::kPressedPicture);
        normal.disabled = skin::win32::LoadPicture(instance(), art::kDisabledPicture);
        skin::win32::StatePictureSources sources{normal.normal.get(), normal.hover.get(), normal.pressed.get(),
                                                 normal.disabled.get()};
        record_->SetPictures(sources, recordRect_);
      }
      if (list_) ::EnableWindow(list_->window(), TRUE);
    }
  }
  ShowList();
}

int MacroEditorWindow::TopRow() const {
  return list_ ? static_cast<int>(::SendMessageA(list_->window(), LB_GETTOPINDEX, 0, 0)) : 0;
}

void MacroEditorWindow::ShowList() {
  const MacroEditorListView view = model_.Refresh();
  if (!list_) return;
  const HWND box = list_->window();
  ::SendMessageA(box, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(box, LB_RESETCONTENT, 0, 0);
  for (const MacroEditorRow& row : view.rows) list_->AddRow(row.itemValue, row.text);
  if (view.visibleRow >= 0) ::SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(view.visibleRow), 0);
  ::SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(view.caretRow), 0);
  if (view.topRow >= 0) ::SendMessageA(box, LB_SETTOPINDEX, static_cast<WPARAM>(view.topRow), 0);
  ::SendMessageA(box, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(box, nullptr, TRUE);
}

void MacroEditorWindow::OpenContextMenu() {
  if (model_.recording() || !list_) return;
  SkinMenu menu(menuFont_.get());
  menu.Append(kStartRecordBefore, "Start Record before");
  menu.Append(kStartRecordAfter, "Start Record after");
  menu.Append(kInsertDelay, "Insert Delay");
  auto mouse = std::make_unique<SkinMenu>(menuFont_.get());
  // Submenu items send no command; their ids only name them.
  mouse->AppendSubmenu(1, "Left Button", MouseEventMenu(menuFont_.get(), kLeftButtonEvents));
  mouse->AppendSubmenu(1, "Right Button", MouseEventMenu(menuFont_.get(), kRightButtonEvents));
  mouse->AppendSubmenu(1, "Wheel", MouseEventMenu(menuFont_.get(), kWheelEvents));
  mouse->SetWidth(kMouseMenuWidth);
  menu.AppendSubmenu(1, "Insert Mouse Event", std::move(mouse));
  menu.Append(kEditDelay, "Edit Delay");
  menu.Append(kDeleteEntry, "Delete");
  menu.SetWidth(kMenuWidth);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  // The menu posts its command to the window as well; that WM_COMMAND runs it.
  menu.Show(window(), cursor);
}

void MacroEditorWindow::RunCommand(unsigned command) {
  if (!list_) return;
  const int row = list_->Selected();
  const bool editDelay = model_.Command(command, row, TopRow());
  if (editDelay) {
    keysChoosingEdit_.Start(KeyDownNow);
    ::SetTimer(window(), kDelayEditTimer, kDelayEditPollMs, nullptr);
    return;
  }
  Sync();
}

std::optional<LRESULT> MacroEditorWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kWmKeyCaptured) {
    model_.KeyMessage(static_cast<int>(wParam), static_cast<int>(lParam & kKeyReleased));
    Sync();
    return 0;
  }
  if (message == skin::kWmListContext) {
    OpenContextMenu();
    return 0;
  }
  if (message == skin::kWmListRenamed) {
    if (list_) model_.DelayEdited(list_->RowText(static_cast<int>(wParam)), TopRow());
    Sync();
    return 0;
  }
  if (message == WM_TIMER && wParam == kDelayEditTimer) {
    if (keysChoosingEdit_.AllUp(KeyDownNow)) {
      ::KillTimer(window(), kDelayEditTimer);
      if (list_) list_->RenameSelectedDigits();
    }
    return 0;
  }
  if (message == BitmapEdit::KillFocusMessage()) {
    if (loopEdit_) {
      if (const auto corrected = model_.LoopCountEdited(loopEdit_->Text())) {
        ::SetWindowTextA(loopEdit_->window(), corrected->c_str());
      }
    }
    return 0;
  }
  if (message == WM_COMMAND && lParam == 0) {
    const unsigned command = LOWORD(wParam);
    if ((command >= kStartRecordBefore && command <= kDeleteEntry) || MouseCommand(command)) {
      RunCommand(command);
      return 0;
    }
  }
  // Escape, Enter and Space must neither close the manager nor press its buttons.
  if ((message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) &&
      (wParam == VK_ESCAPE || wParam == VK_RETURN || wParam == VK_SPACE)) {
    return 0;
  }
  return std::nullopt;
}

void MacroEditorWindow::OnDestroy() {
  ::KillTimer(window(), kDelayEditTimer);
  if (hooked_) {
    RemoveKeyboardHook();
    hooked_ = false;
  }
}

}  // namespace kavo::option::win32
