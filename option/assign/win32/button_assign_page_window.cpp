#include "option/assign/win32/button_assign_page_window.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "artwork/button_assign_page.h"
#include "artwork/button_assign_page_left.h"
#include "option/assign/win32/key_shortcut_window.h"
#include "option/macros/win32/macro_manager_window.h"
#include "option/assign/win32/media_player_dialog_window.h"
#include "option/common/win32/option_windows.h"
#include "option/profiles/win32/profile_dialogs.h"
#include "option/common/win32/program_file_dialog.h"
#include "skin/layout.h"
#include "skin/menu_items.h"
#include "skin/skin_messages.h"
#include "skin/win32/cut_picture.h"
#include "skin/win32/menu_button.h"
#include "skin/win32/picture_resources.h"
#include "skin/win32/skin_font.h"
#include "skin/win32/skin_menu.h"

namespace kavo::option::win32 {

namespace skinw = skin::win32;
namespace art = artwork::button_assign_page;

namespace {

constexpr std::array<const char*, kButtonSlotCount> kSlotLayouts = {
    art::kB1, art::kB2, art::kB3, art::kB4, art::kB5, art::kB6, art::kB7,
    art::kB8, art::kB9, art::kB10, art::kB11, art::kB12, art::kB13, art::kB14};

static_assert(art::kMouseHover55 == art::kMouseHover0 + kHoverPictureCount - 1,
              "the hover pictures are numbered in a row");

// The normal layer's figure for groups 0 and 1, the Altlayer layer's for the rest.
constexpr int kHoverGroupsOnNormalFigure = 2;

std::string HelpOr(const std::string& text, const char* layout) { return text.empty() ? skin::LayoutText(layout) : text; }

std::unique_ptr<skinw::SkinMenu> MakeMenu(HFONT font, const std::vector<AssignMenuItem>& items) {
  auto menu = std::make_unique<skinw::SkinMenu>(font);
  for (const AssignMenuItem& item : items) {
    switch (item.kind) {
      case AssignMenuItemKind::kSeparator:
        menu->Append(skin::kMenuSeparatorCommand, "");
        break;
      case AssignMenuItemKind::kSubmenu:
        menu->AppendSubmenu(static_cast<unsigned>(item.commandId), item.text, MakeMenu(font, item.items),
                            item.highlighted ? 1 : 0);
        break;
      case AssignMenuItemKind::kCommand:
        menu->Append(static_cast<unsigned>(item.commandId), item.text, item.highlighted ? 1 : 0);
        break;
    }
  }
  menu->SetWidth(kAssignMenuWidth);
  return menu;
}

}  // namespace

// ---- the dialogs

std::optional<ShortcutChoice> Win32ButtonAssignDialogs::AskShortcut(std::uint8_t keyCode, std::uint8_t mask) {
  MacroKeyInfo entry{};
  entry.function = kFunctionKeyShortcut;
  entry.eventCount = 1;
  entry.events[0].key = keyCode;
  entry.events[0].action = mask;
  if (!RunKeyShortcut(instance_, Owner(), entry)) return std::nullopt;
  return ShortcutChoice{entry.events[0].key, entry.events[0].action};
}

std::optional<std::string> Win32ButtonAssignDialogs::AskProgramPath(const std::string& initialPath) {
  const HWND owner = Owner();
  Win32ProgramFileDialog files(owner);
  return RunProgramPath(instance_, owner, initialPath, files);
}

int Win32ButtonAssignDialogs::RunMacroManager(const MacroKeyInfo& scratch, bool newMacroMode, int preselectedSet) {
  MacroManagerOpening opening;
  opening.newMacroMode = newMacroMode;
  opening.preselectedSet = preselectedSet;
  opening.slot = scratch;
  return win32::RunMacroManager(instance_, Owner(), macros_, menuMemory_, opening);
}

std::optional<int> Win32ButtonAssignDialogs::AskMediaPlayer(int current) {
  return RunMediaPlayerDialog(instance_, Owner(), current, menuMemory_);
}

// ---- the page

ButtonAssignPageWindow::ButtonAssignPageWindow(HINSTANCE instance, ButtonAssignPage& page,
                                               skin::MenuClickMemory& menuMemory, const HelpLibrary& help,
                                               skin::Point topLeft)
    : SkinDialog(instance, kButtonAssignPageTemplate),
      page_(page),
      menuMemory_(menuMemory),
      help_(help),
      topLeft_(topLeft) {}

// The page and its picture controls go before the pictures they show.
ButtonAssignPageWindow::~ButtonAssignPageWindow() { End(skinw::kEndCancel); }

skinw::BitmapButton* ButtonAssignPageWindow::slotButton(int slot) const {
  return slot >= 0 && slot < kButtonSlotCount ? slots_[static_cast<std::size_t>(slot)] : nullptr;
}

HWND ButtonAssignPageWindow::hoverPicture(int index) const {
  return index >= 0 && index < kHoverPictureCount ? hoverWindows_[static_cast<std::size_t>(index)] : nullptr;
}

void ButtonAssignPageWindow::OnBuild() {
  SetPictures(skinw::LoadWindowPictures(instance(), art::kWindowPictures));
  PlaceAt(topLeft_);
  leftBackground_ = skinw::LoadPicture(instance(), artwork::button_assign_page_left::kBackgroundPicture);
  menuFont_ = skinw::SkinFont(kAssignMenuFontHeight, kAssignMenuFontWidth, kAssignMenuFontWeight, kAssignMenuFont);

  for (int slot = 0; slot < kButtonSlotCount; ++slot) {
    skinw::BitmapButton& button = AddButton(kSlotLayouts[static_cast<std::size_t>(slot)], [this, slot] { OpenMenu(slot); });
    button.SetNotifyValue(kFirstHoverNotify + slot);
    slots_[static_cast<std::size_t>(slot)] = &button;
  }
  // The slots change between their active and inactive pictures as their functions change.
  statePictures_ = {skinw::LoadPicture(instance(), art::kNormalPicture), skinw::LoadPicture(instance(), art::kHoverPicture),
                    skinw::LoadPicture(instance(), art::kPressedPicture),
                    skinw::LoadPicture(instance(), art::kDisabledPicture)};
  right_ = &AddButton(art::kRight, [this] {
    page_.OnOrientation(0);
    ShowOrientation();
  });
  left_ = &AddButton(art::kLeft, [this] {
    page_.OnOrientation(1);
    ShowOrientation();
  });
  macroManager_ = &AddButton(art::kMacroManager, [this] {
    page_.OnMacroManager();
    ShowView();
  });
  BuildHoverPictures();
  ReloadHelpTexts();
  ShowView();
}

void ButtonAssignPageWindow::BuildHoverPictures() {
  const skin::Rect normalFigure = skin::LayoutBounds(art::kMouseNormal);
  const skin::Rect altlayerFigure = skin::LayoutBounds(art::kMouseAltlayer);
  for (int index = 0; index < kHoverPictureCount; ++index) {
    const std::size_t at = static_cast<std::size_t>(index);
    const skin::Rect& place = index / kInputsPerLayer < kHoverGroupsOnNormalFigure ? normalFigure : altlayerFigure;
    hoverBitmaps_[at] = skinw::LoadPicture(instance(), art::kMouseHover0 + index);
    // A static picture lets the pointer through to the page: the figure drags the window like the rest.
    hoverWindows_[at] = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_BITMAP, place.left, place.top, place.Width(),
                                          place.Height(), window(), nullptr, instance(), nullptr);
    if (hoverWindows_[at] == nullptr) continue;
    // The control keeps the handle only; hoverBitmaps_ owns the picture and outlives the control.
    ::SendMessageA(hoverWindows_[at], STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hoverBitmaps_[at].get()));
  }
}

void ButtonAssignPageWindow::OpenMenu(int slot) {
  skinw::BitmapButton* button = slotButton(slot);
  if (button == nullptr || menuOpen_ || !page_.HasMenu(slot)) return;
  const HWND control = button->window();
  button->SetChecked(true);
  ::UpdateWindow(control);
  RECT place{};
  ::GetWindowRect(control, &place);
  // The choice arrives as a posted command once the menu is gone.
  menuOpen_ = true;
  const bool opened = skinw::OpenMenuFromButton(menuMemory_, control, window(), POINT{place.left + 1, place.bottom},
                                                [&]() -> std::unique_ptr<skinw::SkinMenu> {
                                                  const std::vector<AssignMenuItem> items = page_.OpenMenu(slot);
                                                  return items.empty() ? nullptr : MakeMenu(menuFont_.get(), items);
                                                });
  menuOpen_ = false;
  button->SetChecked(false);
  // The click that closed this button's menu only closes it.
  if (!opened) return;
  ::UpdateWindow(control);
  ::SetFocus(window());
}

std::optional<LRESULT> ButtonAssignPageWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // The menu posts its choice as a command without a control.
      if (lParam == 0 && HIWORD(wParam) == 0) {
        page_.OnCommand(LOWORD(wParam));
        ShowView();
        return 0;
      }
      return std::nullopt;
    case skin::kWmHoverNotify:
      page_.OnHoverNotify(wParam != 0, static_cast<int>(lParam));
      ShowHover();
      return 0;
    default:
      return std::nullopt;
  }
}

void ButtonAssignPageWindow::OnDestroy() {
  // The pictures' controls go with the page; forget them before the pictures go.
  for (HWND& picture : hoverWindows_) picture = nullptr;
  for (skinw::BitmapButton*& slot : slots_) slot = nullptr;
  right_ = left_ = macroManager_ = nullptr;
}

void ButtonAssignPageWindow::PaintTexts(HDC dc) {
  // The base paints the right-handed background; the left-handed one replaces it whole.
  if (shownBackground_ != 1 || !leftBackground_) return;
  const kavo::win32::UniqueDC source(::CreateCompatibleDC(dc));
  if (!source) return;
  const kavo::win32::SelectedObject selected(source.get(), leftBackground_.get());
  ::BitBlt(dc, 0, 0, art::kWidth, art::kHeight, source.get(), 0, 0, SRCCOPY);
}

void ButtonAssignPageWindow::Refresh() {
  page_.Refresh();
  ShowView();
}

void ButtonAssignPageWindow::ShowView() {
  if (window() == nullptr) return;
  for (int slot = 0; slot < kButtonSlotCount; ++slot) ShowSlot(slot);
  ShowOrientation();
  ShowHover();
}

void ButtonAssignPageWindow::ShowSlot(int slot) {
  skinw::BitmapButton* button = slotButton(slot);
  if (button == nullptr) return;
  const std::size_t at = static_cast<std::size_t>(slot);
  const AssignSlotView& view = page_.View().slots[at];
  const int active = view.active ? 1 : 0;
  if (slotActive_[at] != active + 1) {
    const skin::Rect rect = skin::LayoutBounds(kSlotLayouts[at]);
    const HBITMAP disabled = statePictures_[3].get();
    const skinw::StatePictureSources sources =
        view.active ? skinw::StatePictureSources{statePictures_[0].get(), statePictures_[1].get(),
                                                 statePictures_[2].get(), disabled}
                    : skinw::StatePictureSources{disabled, disabled, disabled, disabled};
    button->SetPictures(sources, rect);
    slotActive_[at] = active + 1;
  }
  button->SetCaption(view.label);
  button->SetTooltipText(view.tooltip);
  ::InvalidateRect(button->window(), nullptr, FALSE);
  ::UpdateWindow(button->window());
}

void ButtonAssignPageWindow::ShowOrientation() {
  const ButtonAssignView& view = page_.View();
  if (right_ != nullptr) right_->SetChecked(view.rightPressed);
  if (left_ != nullptr) left_->SetChecked(view.leftPressed);
  if (shownBackground_ == view.background || window() == nullptr) return;
  shownBackground_ = view.background;
  // Both figures change; the controls over them repaint themselves.
  ::InvalidateRect(window(), nullptr, FALSE);
}

void ButtonAssignPageWindow::ShowHover() {
  const int wanted = page_.View().hoverPicture;
  if (wanted == shownHover_) return;
  if (HWND old = hoverPicture(shownHover_); old != nullptr) ::ShowWindow(old, SW_HIDE);
  if (HWND now = hoverPicture(wanted); now != nullptr) ::ShowWindow(now, SW_SHOWNA);
  shownHover_ = wanted;
}

void ButtonAssignPageWindow::ReloadHelpTexts() {
  const std::string normal = help_.Text(kNormalSlotHelp);
  const std::string altlayer = help_.Text(kAltlayerSlotHelp);
  for (int slot = 0; slot < kButtonSlotCount; ++slot) {
    skinw::BitmapButton* button = slotButton(slot);
    if (button == nullptr) continue;
    const char* layout = kSlotLayouts[static_cast<std::size_t>(slot)];
    button->SetHelpText(HelpOr(slot < kInputsPerLayer ? normal : altlayer, layout));
  }
  if (right_ != nullptr) right_->SetHelpText(HelpOr(help_.Text(kRightHandedHelp), art::kRight));
  if (left_ != nullptr) left_->SetHelpText(HelpOr(help_.Text(kLeftHandedHelp), art::kLeft));
  if (macroManager_ != nullptr) macroManager_->SetHelpText(HelpOr(help_.Text(kMacroManagerHelp), art::kMacroManager));
}

}  // namespace kavo::option::win32
