#include "skin/win32/skin_list_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "skin/list_input.h"
#include "skin/skin_messages.h"
#include "skin/win32/cut_picture.h"
#include "skin/win32/picture_resources.h"
#include "skin/win32/skin_font.h"
#include "platform/win32/solid_fill.h"

namespace kavo::skin::win32 {

using kavo::win32::FillSolid;
using kavo::win32::SelectedObject;
using kavo::win32::UniqueBitmap;
using kavo::win32::UniqueDC;
using kavo::win32::UniqueFont;
using kavo::win32::UniqueWindow;

namespace {

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
  return text;
}

std::optional<KeyStroke> StrokeOf(UINT message) {
  switch (message) {
    case WM_KEYDOWN: return KeyStroke::kPress;
    case WM_KEYUP: return KeyStroke::kRelease;
    case WM_CHAR: return KeyStroke::kCharacter;
    default: return std::nullopt;
  }
}

}  // namespace

InPlaceEditSlot& ProgramEditSlot() {
  static InPlaceEditSlot slot;
  return slot;
}

SkinListBox::SkinListBox()
    : pictureSource_([](int id) { return LoadPicture(::GetModuleHandleA(nullptr), id); }),
      edit_(rows_, ProgramEditSlot()) {}

std::unique_ptr<SkinListBox> SkinListBox::Create(HWND parent, const Rect& rect, DWORD style) {
  std::unique_ptr<SkinListBox> list(new SkinListBox());
  list->font_ = SkinFont(14, 6, FW_LIGHT);
  // The in-place edit is a child of the list: the list must not paint over it.
  const HWND window = ::CreateWindowExA(0, "LISTBOX", "", style | WS_CHILD | WS_CLIPCHILDREN, rect.left, rect.top,
                                        rect.Width(), rect.Height(), parent, nullptr, ::GetModuleHandleA(nullptr),
                                        nullptr);
  if (window == nullptr) return nullptr;
  list->window_.reset(window);
  list->owner_ = parent;
  SkinListBox* self = list.get();
  if (!::SetWindowSubclass(window, Procedure, 0, reinterpret_cast<DWORD_PTR>(self))) return nullptr;
  if (!list->parentMessages_.Attach(
          window, [self](UINT message, WPARAM wParam, LPARAM lParam) { return self->FromParent(message, wParam, lParam); },
          true)) {
    return nullptr;
  }
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(list->font_.get()), FALSE);
  ::SendMessageA(window, LB_SETITEMHEIGHT, 0, kListRowHeight);
  if ((style & LBS_NOINTEGRALHEIGHT) == 0) {
    // The list fitted its height to whole rows of the height it had when it was made; sized again, it fits
    // whole rows of 20.
    ::SetWindowPos(window, nullptr, 0, 0, rect.Width(), rect.Height() + 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(window, nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return list;
}

SkinListBox::~SkinListBox() { window_.reset(); }

void SkinListBox::SetColours(Colour background, Colour selectedBackground) {
  background_ = background;
  backgroundBrush_.reset(::CreateSolidBrush(background));
  selectedBackground_ = selectedBackground;
  if (window_) ::InvalidateRect(window_.get(), nullptr, TRUE);
}

void SkinListBox::SetTextColours(Colour text, Colour selectedText) {
  text_ = text;
  selectedText_ = selectedText;
  if (window_) ::InvalidateRect(window_.get(), nullptr, TRUE);
}

void SkinListBox::SetPictureSource(PictureSource source) {
  pictureSource_ = std::move(source);
  pictures_.clear();
  if (window_) ::InvalidateRect(window_.get(), nullptr, TRUE);
}

int SkinListBox::AddRow(std::uint32_t itemValue, std::string_view text) {
  if (!window_) return -1;
  const std::string copy(text);
  const LRESULT index = ::SendMessageA(window_.get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str()));
  if (index < 0) return -1;
  ::SendMessageA(window_.get(), LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(itemValue));
  return static_cast<int>(index);
}

int SkinListBox::InsertRow(int index, std::uint32_t itemValue, std::string_view text) {
  return rows_.Insert(index, ListRow{std::string(text), itemValue});
}

int SkinListBox::Count() const {
  if (!window_) return 0;
  const LRESULT count = ::SendMessageA(window_.get(), LB_GETCOUNT, 0, 0);
  return count > 0 ? static_cast<int>(count) : 0;
}

std::string SkinListBox::RowText(int index) const {
  if (index < 0 || index >= Count()) return {};
  const LRESULT length = ::SendMessageA(window_.get(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      ::SendMessageA(window_.get(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

std::uint32_t SkinListBox::RowValue(int index) const {
  if (index < 0 || index >= Count()) return 0;
  return static_cast<std::uint32_t>(::SendMessageA(window_.get(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int SkinListBox::Selected() const {
  if (!window_) return -1;
  const LRESULT selected = ::SendMessageA(window_.get(), LB_GETCURSEL, 0, 0);
  return selected >= 0 ? static_cast<int>(selected) : -1;
}

void SkinListBox::BoxRows::Select(int index) {
  if (list_.window_) ::SendMessageA(list_.window_.get(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int SkinListBox::BoxRows::Insert(int index, const ListRow& row) {
  if (!list_.window_) return -1;
  // -1 appends; the list refuses an index beyond its end.
  const WPARAM at = index >= list_.Count() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index);
  const LRESULT placed = ::SendMessageA(list_.window_.get(), LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(row.text.c_str()));
  if (placed < 0) return -1;
  ::SendMessageA(list_.window_.get(), LB_SETITEMDATA, static_cast<WPARAM>(placed), static_cast<LPARAM>(row.itemValue));
  return static_cast<int>(placed);
}

void SkinListBox::BoxRows::Delete(int index) {
  if (list_.window_) ::SendMessageA(list_.window_.get(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

bool SkinListBox::StartNewRow() { return Open(edit_.StartNewRow()); }

bool SkinListBox::RenameSelectedDigits() { return Open(edit_.RenameSelectedDigits(kListPictureWidth)); }

LRESULT CALLBACK SkinListBox::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR reference) {
  auto* self = reinterpret_cast<SkinListBox*>(reference);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, Procedure, 0);
    self->parentMessages_.Detach();
    static_cast<void>(self->window_.release());
    // An edit left open frees the program's slot; with the window gone no row is touched.
    self->edit_.Cancel();
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
}

LRESULT SkinListBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = window_.get();
  switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      ++measuring_;
      const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
      --measuring_;
      return result;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      if (arrowKeysOnly_ && !ArrowKeysOnlyPasses(*StrokeOf(message), static_cast<unsigned>(wParam))) return 0;
      break;
    case WM_MOUSEWHEEL: {
      const WheelScroll scroll = WheelLines(GET_WHEEL_DELTA_WPARAM(wParam));
      const WPARAM step = scroll.direction == WheelDirection::kLineDown ? SB_LINEDOWN : SB_LINEUP;
      // More lines than rows would only repeat a scroll that has reached the end.
      const int lines = std::min(scroll.lines, std::max(Count(), 1));
      for (int line = 0; line < lines; ++line) ::SendMessageA(window, WM_VSCROLL, step, 0);
      return 0;
    }
    case WM_RBUTTONDOWN:
      ::PostMessageA(owner_, kWmListContext, 0, 0);
      break;
    case WM_LBUTTONDBLCLK: {
      const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
      // The list told its owner (LBN_DBLCLK) from inside that call; an owner that destroyed the list there
      // took this object along with the window: nothing of it is touched then.
      if (!::IsWindow(window)) return result;
      const LRESULT hit = ::SendMessageA(window, LB_ITEMFROMPOINT, 0, lParam);
      // The high word is set when the point lies outside every row.
      const int row = HIWORD(hit) != 0 ? -1 : static_cast<int>(LOWORD(hit));
      Open(edit_.DoubleClick(row));
      return result;
    }
    case WM_SETFOCUS:
      if (editBox_ && reinterpret_cast<HWND>(wParam) == editBox_.get()) EndEdit(true);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

std::optional<LRESULT> SkinListBox::FromParent(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM: {
      auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measuring_ == 0 || measure.CtlType != ODT_LISTBOX) return std::nullopt;
      measure.itemHeight = kListRowHeight;
      return TRUE;
    }
    case WM_DRAWITEM:
      DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORLISTBOX:
      if (backgroundBrush_) return reinterpret_cast<LRESULT>(backgroundBrush_.get());
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

ListColours SkinListBox::Colours() const {
  ListColours colours;
  colours.background = background_.value_or(::GetSysColor(COLOR_WINDOW));
  colours.text = text_.value_or(::GetSysColor(COLOR_WINDOWTEXT));
  colours.selectedBackground = selectedBackground_.value_or(::GetSysColor(COLOR_HIGHLIGHT));
  colours.selectedText = selectedText_.value_or(::GetSysColor(COLOR_HIGHLIGHTTEXT));
  colours.disabledText = ::GetSysColor(COLOR_BTNSHADOW);
  return colours;
}

HBITMAP SkinListBox::Picture(int pictureId) {
  auto found = pictures_.find(pictureId);
  if (found == pictures_.end()) {
    found = pictures_.emplace(pictureId, pictureSource_ ? pictureSource_(pictureId) : UniqueBitmap()).first;
  }
  return found->second.get();
}

void SkinListBox::DrawRow(const DRAWITEMSTRUCT& draw) {
  if (draw.itemID == static_cast<UINT>(-1)) return;
  const HDC dc = draw.hDC;
  const int row = static_cast<int>(draw.itemID);
  const auto itemValue = static_cast<std::uint32_t>(draw.itemData);
  const RowPaint paint =
      PaintRow(Colours(), (draw.itemState & ODS_SELECTED) != 0, (draw.itemState & ODS_DISABLED) != 0);
  const int saved = ::SaveDC(dc);
  FillSolid(dc, draw.rcItem, paint.background);

  const Rect area{draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom};
  const RowPlacement place = PlaceRow(area, itemValue);
  if (place.picture) {
    const HBITMAP picture = Picture(static_cast<int>(RowPictureId(itemValue)));
    const Extent size = PictureSize(picture);
    const UniqueDC source(picture != nullptr ? ::CreateCompatibleDC(dc) : nullptr);
    if (source && size.width > 0 && size.height > 0) {
      const SelectedObject selected(source.get(), picture);
      ::GdiTransparentBlt(dc, place.picture->x, place.picture->y, size.width, size.height, source.get(), 0, 0,
                          size.width, size.height, kListPictureTransparent);
    }
  }

  const std::string text = RowText(row);
  RECT textArea{place.textLeft, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom};
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, paint.text);
  {
    const SelectedObject font(dc, font_.get());
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
                DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (saved != 0) ::RestoreDC(dc, saved);
}

bool SkinListBox::Open(const std::optional<EditBox>& box) {
  if (!box) return false;
  const HWND window = window_.get();
  ScrollIntoView(box->row);
  RECT rect{};
  if (window == nullptr ||
      ::SendMessageA(window, LB_GETITEMRECT, static_cast<WPARAM>(box->row), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
    edit_.Cancel();
    return false;
  }
  rect.left += box->indent;
  const DWORD style =
      WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_WANTRETURN | (box->digitsOnly ? ES_NUMBER : 0);
  editBox_.reset(::CreateWindowExA(0, "EDIT", box->text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, window, nullptr, ::GetModuleHandleA(nullptr), nullptr));
  if (!editBox_ || !::SetWindowSubclass(editBox_.get(), EditBoxProcedure, 0, reinterpret_cast<DWORD_PTR>(this))) {
    editBox_.reset();
    edit_.Cancel();
    return false;
  }
  const HWND edit = editBox_.get();
  ::SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  ::SendMessageA(edit, EM_LIMITTEXT, box->limit, 0);
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
  ::SetFocus(edit);
  return true;
}

void SkinListBox::ScrollIntoView(int row) {
  const HWND window = window_.get();
  RECT client{};
  ::GetClientRect(window, &client);
  const int visible = std::max(1, static_cast<int>(client.bottom / kListRowHeight));
  const int top = static_cast<int>(::SendMessageA(window, LB_GETTOPINDEX, 0, 0));
  if (row < top) {
    ::SendMessageA(window, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
  } else if (row >= top + visible) {
    ::SendMessageA(window, LB_SETTOPINDEX, static_cast<WPARAM>(row - visible + 1), 0);
  }
}

std::string SkinListBox::EditText() const { return editBox_ ? WindowText(editBox_.get()) : std::string(); }

void SkinListBox::EndEdit(bool confirmed) {
  if (!edit_.Editing()) return;
  std::optional<ListNotification> notification;
  if (confirmed) {
    notification = edit_.Confirm(EditText());
  } else {
    edit_.Cancel();
  }
  // Out of the member before it goes: the list may take the focus back while the box is destroyed, and
  // must then find no edit to end.
  UniqueWindow closing = std::move(editBox_);
  const bool focused = ::GetFocus() == closing.get();
  closing.reset();
  if (focused && window_) ::SetFocus(window_.get());
  if (notification) ::PostMessageA(owner_, notification->message, static_cast<WPARAM>(notification->row), 0);
}

LRESULT CALLBACK SkinListBox::EditBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR reference) {
  auto* self = reinterpret_cast<SkinListBox*>(reference);
  switch (message) {
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(window, EditBoxProcedure, 0);
      if (self->editBox_.get() == window) static_cast<void>(self->editBox_.release());
      break;
    case WM_GETDLGCODE:
      // Enter and Escape belong to the edit, not to a dialog's default buttons.
      return ::DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_CHAR:
      if (wParam == '\r' || wParam == '\n' || wParam == 0x1B) return 0;  // no beep from a one-line edit
      break;
    case WM_KEYUP:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        try {
          // Destroys this window: nothing of it is touched afterwards.
          self->EndEdit(wParam == VK_RETURN);
        } catch (...) {
        }
        return 0;
      }
      break;
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace kavo::skin::win32
