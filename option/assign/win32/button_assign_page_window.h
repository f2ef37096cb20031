#pragma once
// ButtonAssignPageWindow: the button assignment page of the configuration program, a child skinned dialog
// in the main window's page area. It builds the fourteen slot buttons, the orientation buttons, "Macro
// Manager" and the hover pictures, carries every click to ButtonAssignPage and shows the page's view; the
// function menu of a slot is a SkinMenu built from the page's menu tree. The decisions are the page's.
//
//   skin::MenuClickMemory menus;
//   Win32ButtonAssignDialogs dialogs(instance, macros, menus);
//   ButtonAssignPage page(working, layout, storePort, dialogs);
//   ButtonAssignPageWindow window(instance, page, menus, help, {12, 140});
//   window.Create(mainWindow);
//   dialogs.SetOwner(mainWindow);
//   window.Refresh();
//
// User-interface thread only.
#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "option/assign/button_assign_page.h"
#include "option/macros/macro_library.h"
#include "option/common/help_library.h"
#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/menu_click_memory.h"
#include "skin/win32/bitmap_button.h"
#include "skin/win32/skin_dialog.h"

namespace kavo::option::win32 {

// Tooltip strings of the language library.
constexpr int kNormalSlotHelp = 1035;
constexpr int kAltlayerSlotHelp = 1036;
constexpr int kRightHandedHelp = 1038;
constexpr int kLeftHandedHelp = 1039;
constexpr int kMacroManagerHelp = 1041;

// The page's dialogs: the key shortcut dialog, the program path dialog with the system's file dialog,
// the macro manager over the program's macro library and the media player dialog, each modal over the
// owner (the active window until one is set).
class Win32ButtonAssignDialogs : public ButtonAssignDialogs {
 public:
  // menuMemory is the one the page's own menus use: the dialogs' menus share it.
  Win32ButtonAssignDialogs(HINSTANCE instance, MacroStoreLibrary& macros, skin::MenuClickMemory& menuMemory)
      : instance_(instance), macros_(macros), menuMemory_(menuMemory) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  std::optional<ShortcutChoice> AskShortcut(std::uint8_t keyCode, std::uint8_t mask) override;
  std::optional<std::string> AskProgramPath(const std::string& initialPath) override;
  int RunMacroManager(const MacroKeyInfo& scratch, bool newMacroMode, int preselectedSet) override;
  std::optional<int> AskMediaPlayer(int current) override;

 private:
  HWND Owner() const { return owner_ != nullptr ? owner_ : ::GetActiveWindow(); }

  HINSTANCE instance_;
  MacroStoreLibrary& macros_;
  skin::MenuClickMemory& menuMemory_;
  HWND owner_ = nullptr;
};

class ButtonAssignPageWindow : public skin::win32::SkinDialog {
 public:
  // topLeft is the page's place in its parent's client area; menuMemory is shared with the page's dialogs.
  ButtonAssignPageWindow(HINSTANCE instance, ButtonAssignPage& page, skin::MenuClickMemory& menuMemory,
                         const HelpLibrary& help, skin::Point topLeft);
  ~ButtonAssignPageWindow() override;

  // page.Refresh(), then every control shows page.View().
  void Refresh();
  // The controls' help texts from the help library; the layout's text where the library has none.
  void ReloadHelpTexts();

  // For the tests and the main window: the controls as built (null before Create).
  skin::win32::BitmapButton* slotButton(int slot) const;
  skin::win32::BitmapButton* rightButton() const { return right_; }
  skin::win32::BitmapButton* leftButton() const { return left_; }
  skin::win32::BitmapButton* macroManagerButton() const { return macroManager_; }
  HWND hoverPicture(int index) const;
  // The background now shown: 0 right-handed, 1 left-handed.
  int shownBackground() const { return shownBackground_; }

 protected:
  void OnBuild() override;
  void PaintTexts(HDC dc) override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  void BuildHoverPictures();
  void OpenMenu(int slot);
  void ShowView();
  void ShowOrientation();
  void ShowHover();
  void ShowSlot(int slot);

  ButtonAssignPage& page_;
  skin::MenuClickMemory& menuMemory_;
  const HelpLibrary& help_;
  skin::Point topLeft_;
  std::array<skin::win32::BitmapButton*, kButtonSlotCount> slots_{};
  skin::win32::BitmapButton* right_ = nullptr;
  skin::win32::BitmapButton* left_ = nullptr;
  skin::win32::BitmapButton* macroManager_ = nullptr;
  // normal, hover, pressed, disabled: the slots' pictures are cut from them whenever a slot changes between
  // active and inactive.
  std::array<kavo::win32::UniqueBitmap, 4> statePictures_;
  std::array<int, kButtonSlotCount> slotActive_{};  // 0 not yet shown, 1 inactive, 2 active
  kavo::win32::UniqueBitmap leftBackground_;
  kavo::win32::UniqueFont menuFont_;
  std::array<kavo::win32::UniqueBitmap, kHoverPictureCount> hoverBitmaps_;
  std::array<HWND, kHoverPictureCount> hoverWindows_{};  // children of the page: the page destroys them
  int shownHover_ = -1;
  int shownBackground_ = 0;
  bool menuOpen_ = false;
};

}  // namespace kavo::option::win32
