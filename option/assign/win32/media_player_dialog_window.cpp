#include "option/assign/win32/media_player_dialog_window.h"

#include <memory>
#include <optional>

#include "artwork/media_player_dialog.h"
#include "option/assign/media_player_dialog.h"
#include "skin/menu_click_memory.h"
#include "platform/win32/win32_handles.h"
#include "skin/layout.h"
#include "skin/win32/bitmap_button.h"
#include "skin/win32/menu_button.h"
#include "skin/win32/skin_dialog.h"
#include "skin/win32/skin_font.h"
#include "skin/win32/skin_menu.h"

namespace kavo::option::win32 {

namespace {

namespace skinw = skin::win32;
namespace art = artwork::media_player_dialog;

// The picture set of the player button cut again from its own pictures, so that it can be swapped in
// and out while the menu is open.
skinw::ButtonPictures Copy(const skinw::ButtonPictures& pictures, const skin::Rect& size) {
  return skinw::CutButtonPictures(skinw::StatePictureSources{pictures.normal.get(), pictures.hover.get(),
                                                             pictures.pressed.get(), pictures.disabled.get()},
                                  size);
}

class MediaPlayerWindow final : public skinw::SkinDialog {
 public:
  MediaPlayerWindow(HINSTANCE instance, int playerIndex, skin::MenuClickMemory& menuMemory)
      : SkinDialog(instance, skinw::kDialogTemplate), model_(playerIndex), menuMemory_(menuMemory) {}

  const MediaPlayerDialog& model() const { return model_; }

 protected:
  void OnBuild() override {
    SetPictures(skinw::LoadWindowPictures(instance(), art::kWindowPictures));
    AddButton(art::kButtonOk, [this] { End(MediaPlayerDialog::EndCode(MediaPlayerButton::kOk)); });
    AddButton(art::kButtonCancel, [this] { End(MediaPlayerDialog::EndCode(MediaPlayerButton::kCancel)); });
    AddButton(art::kButtonExit, [this] { End(MediaPlayerDialog::EndCode(MediaPlayerButton::kExit)); });
    player_ = &AddButton(art::kButtonPlay, [this] { OpenMenu(); });

    // The button at rest, and the same button lit while its menu is open.
    const skin::Rect bounds = skin::LayoutBounds(art::kButtonPlay);
    const skinw::StatePictureSources sources = StateSources();
    buttonSize_ = skin::Rect{0, 0, bounds.Width(), bounds.Height()};
    restLook_ = skinw::CutButtonPictures(sources, bounds);
    menuLook_ = skinw::CutButtonPictures(
        skinw::StatePictureSources{sources.hover, sources.hover, sources.pressed, sources.disabled}, bounds);
    ShowChoice();
  }

  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    // The menu posts its choice as a command without a control.
    if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 0) {
      if (model_.OnMenuCommand(LOWORD(wParam))) ShowChoice();
      return 0;
    }
    return std::nullopt;
  }

  void OnDestroy() override { player_ = nullptr; }

 private:
  void ShowChoice() {
    if (player_ == nullptr) return;
    const MediaPlayerCaption caption = model_.Caption();
    player_->SetCaption(caption.text);
    player_->SetTrademark(caption.trademark);
    ::InvalidateRect(player_->window(), nullptr, FALSE);
    ::UpdateWindow(player_->window());
  }

  void OpenMenu() {
    if (player_ == nullptr) return;
    const HWND button = player_->window();
    RECT place{};
    ::GetWindowRect(button, &place);
    const kavo::win32::UniqueFont font =
        skinw::SkinFont(kMediaPlayerMenuFontHeight, kMediaPlayerMenuFontWidth, FW_NORMAL, "Arial");
    // The choice arrives as a posted command once this click has been handled.
    const bool opened = skinw::OpenMenuFromButton(menuMemory_, button, window(), POINT{place.left + 1, place.bottom - 1},
                                                  [&] {
                                                    player_->SetPictures(Copy(menuLook_, buttonSize_));
                                                    auto menu = std::make_unique<skinw::SkinMenu>(font.get());
                                                    for (const MediaPlayerEntry& entry : kMediaPlayers) {
                                                      menu->Append(entry.commandId, entry.name, kMediaPlayerMenuHighlight,
                                                                   kMediaPlayerMenuTrademark);
                                                    }
                                                    menu->SetWidth(kMediaPlayerMenuWidth);
                                                    return menu;
                                                  });
    // The dialog may have been closed while the menu was open.
    if (opened && player_ != nullptr) player_->SetPictures(Copy(restLook_, buttonSize_));
  }

  MediaPlayerDialog model_;
  skin::MenuClickMemory& menuMemory_;
  skinw::BitmapButton* player_ = nullptr;
  skin::Rect buttonSize_;
  skinw::ButtonPictures restLook_;
  skinw::ButtonPictures menuLook_;
};

}  // namespace

std::optional<int> RunMediaPlayerDialog(HINSTANCE instance, HWND owner, int playerIndex,
                                        skin::MenuClickMemory& menuMemory) {
  MediaPlayerWindow window(instance, playerIndex, menuMemory);
  window.PlaceAt(skinw::CentredOverWindow(owner, {art::kWidth, art::kHeight}));
  const INT_PTR code = window.RunModal(owner);
  return window.model().Result(static_cast<int>(code));
}

}  // namespace kavo::option::win32
