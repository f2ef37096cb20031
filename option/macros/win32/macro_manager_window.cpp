#include "option/macros/win32/macro_manager_window.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "artwork/macro_manager.h"
#include "artwork/message_box_b.h"
#include "artwork/set_name_dialog.h"
#include "option/macros/macro_manager.h"
#include "option/common/program_path_browse.h"
#include "option/macros/win32/macro_editor_window.h"
#include "option/macros/win32/macro_timeline_view.h"
#include "option/macros/win32/macro_list_look.h"
#include "settings/win32/win32_keyboard_layout.h"
#include "skin/layout.h"
#include "skin/menu_click_memory.h"
#include "skin/menu_items.h"
#include "skin/skin_messages.h"
#include "skin/win32/bitmap_edit.h"
#include "skin/win32/menu_button.h"
#include "skin/win32/picture_resources.h"
#include "skin/win32/skin_dialog.h"
#include "skin/win32/skin_font.h"
#include "skin/win32/skin_list_box.h"
#include "skin/win32/skin_menu.h"
#include "skin/win32/skin_message_box.h"

namespace kavo::option::win32 {

namespace {

namespace skinw = skin::win32;
namespace art = artwork::macro_manager;
namespace name_art = artwork::set_name_dialog;


skin::Rect Bounds(const char* layout) { return skin::LayoutBounds(layout); }

bool Blank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// Asks for the name of a new macro set; OK and Enter take only a text that is not blank.
class SetNameDialog final : public skinw::SkinDialog {
 public:
  explicit SetNameDialog(HINSTANCE instance) : SkinDialog(instance, skinw::kDialogTemplate) {}

  std::optional<std::string> Ask(HWND owner) {
    PlaceAt(skinw::CentredOverWindow(owner, {name_art::kWidth, name_art::kHeight}));
    if (RunModal(owner) != skinw::kEndOk) return std::nullopt;
    return text_;
  }

 protected:
  void OnBuild() override {
    SetPictures(skinw::LoadWindowPictures(instance(), name_art::kWindowPictures));
    edit_ = skinw::BitmapEdit::Create(window(), Bounds(name_art::kEditMacroSetName), kDialogEditStyle,
                                      kMacroSetNameEditId);
    if (edit_) {
      edit_->SetColours(kDialogEditText, kDialogEditBackground);
      ::SendMessageA(edit_->window(), EM_LIMITTEXT, kMacroSetNameLimit, 0);
      ::SetFocus(edit_->window());
    }
    AddButton(name_art::kButtonOk, [this] { Accept(); });
    AddButton(name_art::kButtonCancel, [this] { End(skinw::kEndCancel); });
    AddButton(name_art::kButtonExit, [this] { End(skinw::kEndCancel); });
  }

  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM) override {
    if (message == skin::kWmEditChanged && wParam == skin::kEditChangedEnter) {
      Accept();
      return 0;
    }
    return std::nullopt;
  }

  void OnDestroy() override { edit_.reset(); }

 private:
  void Accept() {
    if (!edit_) return;
    std::string text = edit_->Text();
    if (Blank(text)) return;
    text_ = std::move(text);
    End(skinw::kEndOk);
  }

  std::unique_ptr<skinw::BitmapEdit> edit_;
  std::string text_;
};

class MacroManagerWindow final : public skinw::SkinDialog,
                                 private MacroManagerView,
                                 private MacroManagerDialogs,
                                 private MacroEditorHost {
 public:
  MacroManagerWindow(HINSTANCE instance, MacroStoreLibrary& library, skin::MenuClickMemory& menuMemory,
                     const MacroManagerOpening& opening)
      : SkinDialog(instance, skinw::kDialogTemplate),
        port_(library),
        slot_(opening.slot),
        model_(port_, *this, *this, slot_, opening.newMacroMode, opening.preselectedSet),
        editor_(instance, *this, skin::Point{Bounds(art::kChildPos).left, Bounds(art::kChildPos).top}),
        menuMemory_(menuMemory) {}

 protected:
  void OnBuild() override {
    SetPictures(skinw::LoadWindowPictures(instance(), art::kWindowPictures));
    ::SetWindowTextA(window(), "Kavo Macro Manager");
    font_ = skinw::SkinFont(14, 5);

    selector_ = &AddButton(art::kButtonComboxMacroSelect, [this] { OpenSetMenu(); });
    selector_->SetHelpText("Choose a macro set, add one or delete one");
    buttons_.push_back(selector_);
    buttons_.push_back(&AddButton(art::kButtonNew, [this] { model_.NewMacro(); }));
    buttons_.push_back(&AddButton(art::kButtonDelete, [this] { model_.DeleteMacro(); }));
    switch_ = &AddButton(art::kButtonSwitchEditor, [this] { model_.SwitchEditor(); });
    buttons_.push_back(switch_);
    buttons_.push_back(&AddButton(art::kButtonOk, [this] { Close(model_.OnOk()); }));
    buttons_.push_back(&AddButton(art::kButtonCancel, [this] { Close(model_.OnCancel()); }));
    buttons_.push_back(&AddButton(art::kButtonExit, [this] { Close(model_.OnCancel()); }));

    list_ = skinw::SkinListBox::Create(window(), Bounds(art::kButtonListMacroName));
    if (list_) {
      ::SetWindowLongPtrA(list_->window(), GWLP_ID, kMacroNameListId);
      GiveMacroListLook(*list_);
      list_->EnableRenameByDoubleClick(true);
    }

    editor_.Create(window());
    timeline_ = MacroTimelineView::Create(window(), Bounds(art::kChildPos), keys_);
    if (timeline_) timeline_->SetBusyHandler([this](bool busy) { EnableControls(!busy); });
    ShowEditor(MacroEditorView::kList);

    if (model_.Initialise()) ::SetTimer(window(), kFirstSetTimerId, kFirstSetTimerMs, nullptr);
  }

  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_TIMER:
        if (wParam != kFirstSetTimerId) break;
        ::KillTimer(window(), kFirstSetTimerId);
        model_.OnFirstSetTimer();
        return 0;
      case WM_COMMAND:
        if (lParam == 0 && LOWORD(wParam) >= kMacroSetCommandBase && LOWORD(wParam) <= kDeleteMacroSetCommand) {
          // The set menu's choice, posted once the menu has closed.
          model_.OnSetMenuCommand(LOWORD(wParam));
          return 0;
        }
        if (list_ && reinterpret_cast<HWND>(lParam) == list_->window() && HIWORD(wParam) == LBN_SELCHANGE) {
          model_.OnListSelection(list_->Selected());
          return 0;
        }
        break;
      case skin::kWmListNewRow:
        if (list_) model_.OnNewRowNamed(static_cast<int>(wParam), list_->RowText(static_cast<int>(wParam)));
        return 0;
      case skin::kWmListRenamed:
        if (list_) model_.OnRowRenamed(static_cast<int>(wParam), list_->RowText(static_cast<int>(wParam)));
        return 0;
      default:
        break;
    }
    return std::nullopt;
  }

  void OnDestroy() override {
    ::KillTimer(window(), kFirstSetTimerId);
    list_.reset();
  }

 private:
  void Close(int code) {
    editor_.WriteBack();
    End(code == kMacroManagerOk ? skinw::kEndOk : skinw::kEndCancel);
  }

  void OpenSetMenu() {
    RECT selector{};
    ::GetWindowRect(selector_->window(), &selector);
    // The menu posts its command; OnMessage runs it once this call has returned.
    skinw::OpenMenuFromButton(menuMemory_, selector_->window(), window(), POINT{selector.left, selector.bottom}, [this] {
      auto menu = std::make_unique<skinw::SkinMenu>(font_.get());
      for (const MacroSetMenuEntry& entry : model_.SetMenu()) {
        if (entry.separator) {
          menu->Append(skin::kMenuSeparatorCommand, "");
        } else {
          menu->Append(static_cast<unsigned>(entry.id), entry.text, entry.highlighted ? 1 : 0);
        }
      }
      menu->SetWidth(kMacroSetMenuWidth);
      return menu;
    });
  }

  void SetSwitchPictures(MacroEditorView view) {
    if (switch_ == nullptr) return;
    if (view == MacroEditorView::kTimeline) {
      switch_->SetPictures(skinw::ButtonPictures{
          skinw::LoadPicture(instance(), art::kSwitchToListNormal), skinw::LoadPicture(instance(), art::kSwitchToListHover),
          skinw::LoadPicture(instance(), art::kSwitchToListPressed),
          skinw::LoadPicture(instance(), art::kSwitchToListDisabled)});
      return;
    }
    const kavo::win32::UniqueBitmap normal = skinw::LoadPicture(instance(), art::kNormalPicture);
    const kavo::win32::UniqueBitmap hover = skinw::LoadPicture(instance(), art::kHoverPicture);
    const kavo::win32::UniqueBitmap pressed = skinw::LoadPicture(instance(), art::kPressedPicture);
    const kavo::win32::UniqueBitmap disabled = skinw::LoadPicture(instance(), art::kDisabledPicture);
    switch_->SetPictures(skinw::StatePictureSources{normal.get(), hover.get(), pressed.get(), disabled.get()},
                         Bounds(art::kButtonSwitchEditor));
  }

  // MacroManagerView
  void ShowSetName(const std::string& name) override {
    // Room on the left of the selector's picture is left blank for it.
    if (selector_ != nullptr) selector_->SetCaption(name);
  }

  void ShowMacroNames(const std::vector<std::string>& names, int selectedRow) override {
    if (!list_) return;
    const HWND box = list_->window();
    ::SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(box, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) list_->AddRow(0, name);
    ::SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    SelectRow(selectedRow);
    ::InvalidateRect(box, nullptr, TRUE);
  }

  void SelectRow(int row) override {
    if (list_) ::SendMessageA(list_->window(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }

  void BeginNewRow() override {
    if (list_) list_->StartNewRow();
  }

  void SetRowText(int row, const std::string& text) override {
    if (!list_ || row < 0 || row >= list_->Count()) return;
    const std::uint32_t value = list_->RowValue(row);
    ::SendMessageA(list_->window(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    list_->InsertRow(row, value, text);
  }

  void RemoveRow(int row) override {
    if (list_) ::SendMessageA(list_->window(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  }

  void ShowSelection(int set, int macro) override {
    Macro* shown = port_.SetAt(set) != nullptr && macro >= 0 &&
                           macro < static_cast<int>(port_.SetAt(set)->macros.size())
                       ? port_.SetAt(set)->macros[static_cast<std::size_t>(macro)].get()
                       : nullptr;
    editor_.SetMacro(shown, set >= 0);
    if (timeline_) timeline_->Show(shown);
  }

  void WriteBackTimeline() override {
    if (timeline_) timeline_->WriteBack();
  }

  void ShowEditor(MacroEditorView view) override {
    const bool timeline = view == MacroEditorView::kTimeline;
    if (editor_.window() != nullptr) ::ShowWindow(editor_.window(), timeline ? SW_HIDE : SW_SHOW);
    if (timeline_) ::ShowWindow(timeline_->window(), timeline ? SW_SHOW : SW_HIDE);
    SetSwitchPictures(view);
  }

  // MacroManagerDialogs
  std::optional<std::string> AskSetName() override {
    SetNameDialog dialog(instance());
    return dialog.Ask(window());
  }

  bool Confirm(MacroQuestion question) override {
    std::string text;
    if (question == MacroQuestion::kDeleteSet) {
      const MacroSet* set = port_.SetAt(model_.selectedSet());
      text = "Delete the macro set \"" + (set ? set->name : std::string()) + "\" and all of its macros?";
    } else {
      text = "Delete the selected macro?";
      if (list_ && model_.selectedMacro() >= 0) text = "Delete the macro \"" + list_->RowText(model_.selectedMacro()) + "\"?";
    }
    return Message(skinw::MessageBoxLook::kB, text);
  }

  void Notify(MacroNotice notice) override {
    const char* text = "Please select a macro first.";
    if (notice == MacroNotice::kNoSet) text = "Please choose a macro set first, or add one with \"[+]Add Macro Set\".";
    if (notice == MacroNotice::kNoSelection) text = "Please select the macro to delete in the list.";
    Message(skinw::MessageBoxLook::kC, text);
  }

  bool Message(skinw::MessageBoxLook look, const std::string& text) {
    skinw::SkinMessageBox box(instance(), look);
    box.SetText(text);
    // Message boxes B and C have the same size.
    box.PlaceAt(skinw::CentredOverWindow(window(), {artwork::message_box_b::kWidth, artwork::message_box_b::kHeight}));
    return box.RunModal(window()) == skinw::kEndOk;
  }

  // MacroEditorHost
  void EnableControls(bool enabled) override {
    for (skinw::BitmapButton* button : buttons_) ::EnableWindow(button->window(), enabled ? TRUE : FALSE);
    if (list_) ::EnableWindow(list_->window(), enabled ? TRUE : FALSE);
  }
  void ShowNoSetNotice() override { Notify(MacroNotice::kNoSet); }
  void ShowNoMacroNotice() override { Notify(MacroNotice::kNoMacro); }

  MacroStorePort& port_;
  MacroKeyInfo slot_;
  MacroManager model_;
  kavo::win32::Win32KeyboardLayout keys_;
  MacroEditorWindow editor_;
  std::unique_ptr<MacroTimelineView> timeline_;
  kavo::win32::UniqueFont font_;
  std::unique_ptr<skinw::SkinListBox> list_;
  skinw::BitmapButton* selector_ = nullptr;
  skinw::BitmapButton* switch_ = nullptr;
  std::vector<skinw::BitmapButton*> buttons_;  // the seven that a recording or a key wait disables
  skin::MenuClickMemory& menuMemory_;
};

}  // namespace

int RunMacroManager(HINSTANCE instance, HWND owner, MacroStoreLibrary& library, skin::MenuClickMemory& menuMemory,
                    const MacroManagerOpening& opening) {
  MacroManagerWindow window(instance, library, menuMemory, opening);
  const HWND over = owner != nullptr ? owner : ::GetDesktopWindow();
  window.PlaceAt(skinw::CentredOverWindow(over, {art::kWidth, art::kHeight}));
  return window.RunModal(owner) == skinw::kEndOk ? kMacroManagerOk : kMacroManagerCancel;
}

}  // namespace kavo::option::win32
