#include "skin/win32/gallery/gallery_window.h"

#include <array>
#include <string>

#include "artwork/gallery.h"
#include "skin/layout.h"
#include "skin/menu_items.h"
#include "skin/skin_messages.h"
#include "skin/win32/skin_font.h"
#include "skin/win32/help_text.h"
#include "skin/win32/skin_menu.h"
#include "skin/win32/skin_message_box.h"

namespace kavo::skin::gallery {
namespace {

namespace art = artwork::gallery;
using win32::MessageBoxLook;

// Hover notifications carry the button's place in this list (1-based), so the log can name it.
constexpr std::array<const char*, 10> kButtonNames = {"",       "PUSH_ONE", "PUSH_TWO", "TOGGLE", "TOGGLE_DISABLED",
                                                      "MENU",   "SHOW_A",   "SHOW_B",   "SHOW_C", "BUTTON_EXIT"};
constexpr int kSliderNotify = 20;
constexpr int kEditId = 4010;
constexpr unsigned kMenuFirst = 9001, kMenuSecond = 9002, kMenuThird = 9003, kMenuMore = 9010, kMenuInner = 9011;

constexpr COLORREF kListBackground = RGB(18, 19, 23);
constexpr COLORREF kAccent = RGB(53, 160, 222);
constexpr COLORREF kWhite = RGB(255, 255, 255);

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

GalleryWindow::GalleryWindow(HINSTANCE instance, GalleryLog& log)
    : SkinDialog(instance, win32::kDialogTemplate), log_(log) {}

void GalleryWindow::OnBuild() {
  ::SetWindowTextA(window(), "Kavo skin gallery");
  // The gallery is the main window: its help line shows what the controls announce.
  win32::SetHelpLineWindow(window());
  SetPictures(win32::LoadWindowPictures(instance(), art::kWindowPictures));
  PlaceAt(Point{60, 60});
  textFont_ = win32::SkinFont(14, 6);
  menuFont_ = win32::SkinFont(14, 6);

  const auto button = [this](const char* layout, int notify, std::function<void()> onClick) -> win32::BitmapButton& {
    win32::BitmapButton& made = AddButton(layout, std::move(onClick));
    made.SetNotifyValue(notify);
    made.SetHandCursor(true);
    return made;
  };
  button(art::kPushOne, 1, [this] { log_.Line("command PUSH_ONE"); });
  button(art::kPushTwo, 2, [this] { log_.Line("command PUSH_TWO"); });
  win32::BitmapButton& toggle = button(art::kToggle, 3, {});
  toggle.SetToggleMode(true);
  OnClick(toggle, [this, &toggle] { log_.Line(std::string("command TOGGLE checked ") + (toggle.checked() ? "1" : "0")); });
  win32::BitmapButton& disabled = button(art::kToggleDisabled, 4, [this] { log_.Line("command TOGGLE_DISABLED"); });
  disabled.SetToggleMode(true);
  disabled.SetChecked(true);
  ::EnableWindow(disabled.window(), FALSE);
  menuButton_ = &button(art::kMenu, 5, [this] { ShowMenu(); });
  button(art::kShowA, 6, [this] {
    // Box A's picture carries its own question (the Reset question), so it takes no text.
    ShowMessageBox(MessageBoxLook::kA, "A", "");
  });
  button(art::kShowB, 7, [this] { ShowMessageBox(MessageBoxLook::kB, "B", "Box B: a question. OK or Cancel?"); });
  button(art::kShowC, 8, [this] {
    ShowMessageBox(MessageBoxLook::kC, "C", "Box C: a warning that wraps over more than one line of text.");
  });
  button(art::kButtonExit, 9, [this] { End(win32::kEndCancel); });

  slider_ = win32::CclickHSlider::Create(window(), LayoutBounds(art::kSlider), instance(), art::kThumbPicture, kSliderNotify);
  if (slider_) {
    slider_->SetBackground(background());
    slider_->SetRange(1, 10);
    slider_->SetRounding(true);
    slider_->SetValue(1);
    slider_->SetHelpText(LayoutText(art::kSlider));
  }

  Rect editArea = LayoutBounds(art::kEdit);
  editArea.left += 2, editArea.top += 2, editArea.right -= 2, editArea.bottom -= 1;
  edit_ = win32::BitmapEdit::Create(window(), editArea, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, kEditId);
  if (edit_) {
    edit_->SetNumeric(true);
    edit_->SetHelpText(LayoutText(art::kEdit));
    ::SendMessageA(edit_->window(), WM_SETFONT, reinterpret_cast<WPARAM>(edit_->font()), TRUE);
  }

  // Inside the frame the artwork draws around the list.
  Rect listArea = LayoutBounds(art::kList);
  listArea.left += 1, listArea.top += 1, listArea.right -= 1, listArea.bottom -= 1;
  list_ = win32::SkinListBox::Create(window(), listArea);
  if (list_) {
    list_->SetColours(kListBackground, kAccent);
    list_->SetTextColours(kWhite, kWhite);
    list_->AddRow(art::kKeyRowPicture, "Fire burst");
    list_->AddRow(art::kClockRowPicture, "Delay 50 ms");
    list_->AddRow(art::kKeyRowPicture, "Reload");
    list_->AddRow(1, "Reserved picture column");
    list_->AddRow(0, "Plain row");
    list_->EnableRenameByDoubleClick(true);
  }
  log_.Line("ready");
}

void GalleryWindow::PaintTexts(HDC dc) {
  const kavo::win32::SelectedObject font(dc, textFont_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kWhite);
  RECT help = ToRect(LayoutBounds(art::kHelpLine));
  help.left += 8;
  const std::string& text = win32::CurrentHelpText();
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &help, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (slider_) {
    RECT value = ToRect(LayoutBounds(art::kSliderValue));
    const std::string number = std::to_string(slider_->value());
    ::DrawTextA(dc, number.c_str(), static_cast<int>(number.size()), &value, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

std::optional<LRESULT> GalleryWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kWmHoverNotify: {
      const auto index = static_cast<std::size_t>(lParam);
      const char* name = index < kButtonNames.size() ? kButtonNames[index] : "?";
      log_.Line(std::string("hover ") + name + (wParam == 1 ? " entered" : " left"));
      return 0;
    }
    case kWmHelpText:
      log_.Line("help " + std::to_string(wParam) + " " + win32::CurrentHelpText());
      Redraw(art::kHelpLine);
      return 0;
    case kWmSliderPos: {
      RECT thumb{}, track{};
      if (slider_) {
        ::GetWindowRect(slider_->thumb().window(), &thumb);
        ::GetWindowRect(slider_->window(), &track);
      }
      log_.Line("slider " + std::to_string(static_cast<int>(wParam)) + " thumb " +
                std::to_string(thumb.left - track.left));
      Redraw(art::kSliderValue);
      return 0;
    }
    case kWmEditChanged:
      log_.Line("edit " + std::to_string(wParam) + " " + (edit_ ? edit_->Text() : std::string()));
      return 0;
    case kWmListNewRow:
    case kWmListRenamed: {
      const int row = static_cast<int>(wParam);
      log_.Line(std::string(message == kWmListNewRow ? "list new " : "list renamed ") + std::to_string(row) + " " +
                (list_ ? list_->RowText(row) : std::string()));
      return 0;
    }
    case kWmListContext:
      // The right button asks for a new row, named in place.
      log_.Line("list context");
      if (list_) list_->StartNewRow();
      return 0;
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) >= kMenuFirst && LOWORD(wParam) <= kMenuInner) {
        log_.Line("menu " + std::to_string(LOWORD(wParam)));
        return 0;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

void GalleryWindow::ShowMenu() {
  win32::SkinMenu menu(menuFont_.get());
  menu.Append(kMenuFirst, "First item");
  menu.Append(kMenuSecond, "Second item, highlighted", 1);
  menu.Append(kMenuSeparatorCommand, "");
  menu.Append(kMenuThird, "Kavo", 0, 1);
  auto more = std::make_unique<win32::SkinMenu>(menuFont_.get());
  more->Append(kMenuInner, "Inside the submenu");
  menu.AppendSubmenu(kMenuMore, "More", std::move(more));
  RECT under{};
  ::GetWindowRect(menuButton_->window(), &under);
  log_.Line("menu shown");
  menu.Show(window(), POINT{under.left, under.bottom});
}

void GalleryWindow::ShowMessageBox(MessageBoxLook look, const char* variant, const char* text) {
  win32::SkinMessageBox box(instance(), look);
  box.SetText(text);
  RECT self{};
  ::GetWindowRect(window(), &self);
  box.PlaceAt(Point{self.left + 160, self.top + 80});
  log_.Line(std::string("box ") + variant + " shown");
  const INT_PTR result = box.RunModal(window());
  log_.Line(std::string("box ") + variant + " result " + std::to_string(result));
}

void GalleryWindow::Redraw(const char* layout) const {
  const RECT area = ToRect(LayoutBounds(layout));
  ::InvalidateRect(window(), &area, FALSE);
}

}  // namespace kavo::skin::gallery
