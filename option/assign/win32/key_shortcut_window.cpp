#include "option/assign/win32/key_shortcut_window.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "artwork/key_shortcut_dialog.h"
#include "option/assign/key_shortcut_dialog.h"
#include "option/common/win32/keyboard_hook.h"
#include "platform/win32/win32_handles.h"
#include "settings/win32/win32_keyboard_layout.h"
#include "skin/layout.h"
#include "skin/win32/bitmap_edit.h"
#include "skin/win32/skin_dialog.h"

namespace kavo::option::win32 {

namespace {

namespace skinw = skin::win32;
namespace art = artwork::key_shortcut_dialog;

// The toggles in flag order; on screen Win stands left of Alt.
constexpr std::array<const char*, kShortcutModifierCount> kModifierLayouts = {art::kNone, art::kShift, art::kCtrl,
                                                                            art::kAlt, art::kWin};

// A disabled edit draws its text grey whatever its colours say. The key display is disabled only so that
// it never takes the focus, so it paints itself: the key's name centred, in its colours and its own font.
LRESULT CALLBACK PaintKeyDisplay(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR font) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const kavo::win32::PaintScope paint(window);
      if (paint.dc() == nullptr) return 0;
      RECT client{};
      ::GetClientRect(window, &client);
      const kavo::win32::UniqueBrush ground(::CreateSolidBrush(kKeyDisplayBackground));
      ::FillRect(paint.dc(), &client, ground.get());
      char text[64] = {};
      ::GetWindowTextA(window, text, sizeof text);
      const kavo::win32::SelectedObject selected(paint.dc(), reinterpret_cast<HFONT>(font));
      ::SetBkMode(paint.dc(), TRANSPARENT);
      ::SetTextColor(paint.dc(), kKeyDisplayText);
      ::DrawTextA(paint.dc(), text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      return 0;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(window, PaintKeyDisplay, 0);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

class KeyShortcutWindow : public skinw::SkinDialog {
 public:
  KeyShortcutWindow(HINSTANCE instance, KeyShortcutDialog& model, MacroKeyInfo& entry)
      : SkinDialog(instance, skinw::kDialogTemplate), model_(model), entry_(entry) {}

 protected:
  void OnBuild() override {
    const DialogPictures& pictures = kKeyShortcutPictures;
    SetPictures(skinw::LoadWindowPictures(instance(), {pictures.mask, pictures.background, pictures.normal,
                                                       pictures.hover, pictures.pressed, pictures.disabled}));
    ::SetWindowTextA(window(), kKeyShortcutTitle);
    if (const std::optional<skin::LayoutEntry> entry = skin::ParseLayout(art::kKeyDisplay)) {
      keyDisplay_ = skinw::BitmapEdit::Create(window(), entry->Bounds(), kKeyDisplayStyle, kDialogEditId);
    }
    if (keyDisplay_) {
      keyDisplay_->SetColours(kKeyDisplayText, kKeyDisplayBackground);
      // The keys come from the hook: the field only shows, and never takes the focus.
      ::EnableWindow(keyDisplay_->window(), FALSE);
      ::SetWindowSubclass(keyDisplay_->window(), PaintKeyDisplay, 0,
                          reinterpret_cast<DWORD_PTR>(keyDisplay_->font()));
    }
    AddButton(art::kButtonOk, [this] { Command(KeyShortcutCommand::kOk); });
    AddButton(art::kButtonCancel, [this] { Command(KeyShortcutCommand::kCancel); });
    AddButton(art::kButtonExit, [this] { Command(KeyShortcutCommand::kExit); });
    for (std::size_t i = 0; i < modifiers_.size(); ++i) {
      skinw::BitmapButton& toggle = AddButton(kModifierLayouts[i]);
      toggle.SetToggleMode(true);
      modifiers_[i] = &toggle;
      const auto modifier = static_cast<ShortcutModifier>(i);
      // The toggle has flipped itself before it tells us.
      OnClick(toggle, [this, modifier, &toggle] {
        model_.SetFlag(modifier, toggle.checked());
        ShowModifiers();
      });
    }
    // A hook that cannot be had leaves the dialog without capture: the key stays as it came.
    capture_.emplace(window());
    ShowKey();
    ShowModifiers();
  }

  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM) override {
    if (message != kWmKeyCaptured) return std::nullopt;
    // Presses and releases alike: the last key event wins.
    if (model_.OnKeyCaptured(static_cast<int>(wParam))) ShowKey();
    return 0;
  }

  void OnDestroy() override {
    capture_.reset();
    keyDisplay_.reset();
    modifiers_.fill(nullptr);
  }

 private:
  void Command(KeyShortcutCommand command) { End(model_.OnCommand(command, entry_)); }

  void ShowKey() const {
    if (keyDisplay_) ::SetWindowTextA(keyDisplay_->window(), model_.KeyText().c_str());
  }

  void ShowModifiers() const {
    for (std::size_t i = 0; i < modifiers_.size(); ++i) {
      if (modifiers_[i] == nullptr) continue;
      const ModifierToggleView view = model_.Toggle(static_cast<ShortcutModifier>(i));
      modifiers_[i]->SetChecked(view.checked);
      const HWND toggle = modifiers_[i]->window();
      if ((::IsWindowEnabled(toggle) != FALSE) != view.enabled) ::EnableWindow(toggle, view.enabled ? TRUE : FALSE);
    }
  }

  KeyShortcutDialog& model_;
  MacroKeyInfo& entry_;
  std::unique_ptr<skinw::BitmapEdit> keyDisplay_;
  std::array<skinw::BitmapButton*, kShortcutModifierCount> modifiers_{};  // owned by the frame
  std::optional<KeyboardCapture> capture_;
};

}  // namespace

bool RunKeyShortcut(HINSTANCE instance, HWND owner, MacroKeyInfo& entry) {
  kavo::win32::Win32KeyboardLayout layout;
  KeyShortcutDialog model(layout, entry);
  KeyShortcutWindow window(instance, model, entry);
  window.PlaceAt(skinw::CentredOverWindow(owner, {art::kWidth, art::kHeight}));
  return window.RunModal(owner) == kDialogOk;
}

}  // namespace kavo::option::win32
