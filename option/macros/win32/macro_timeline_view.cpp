#include "option/macros/win32/macro_timeline_view.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "artwork/macro_manager.h"
#include "settings/key_tables.h"
#include "skin/win32/picture_resources.h"
#include "platform/win32/solid_fill.h"
#include "platform/win32/window_class.h"
#include "skin/win32/skin_font.h"

namespace kavo::option::win32 {

namespace {

using kavo::win32::FillSolid;
using kavo::win32::SelectedObject;
using kavo::win32::UniqueBitmap;
using kavo::win32::UniqueDC;

constexpr char kViewClass[] = "KavoMacroTimeline";
constexpr int kScrollThickness = 16;

// The skin's dark panel, its accent blue and the amber that marks a bar still waiting for its key.
constexpr COLORREF kPanel = RGB(22, 24, 28);
constexpr COLORREF kRowLine = RGB(40, 43, 50);
constexpr COLORREF kText = RGB(224, 224, 224);
constexpr COLORREF kSelectedRow = RGB(44, 62, 84);
constexpr COLORREF kBar = RGB(45, 140, 220);
constexpr COLORREF kBarEnd = RGB(150, 205, 250);
constexpr COLORREF kUnset = RGB(230, 160, 40);

// The timeline's buttons, in the view's pixels.
constexpr skin::Rect kAddRect{4, 330, 34, 350};
constexpr skin::Rect kDeleteRect{34, 330, 64, 350};
constexpr skin::Rect kZoomInRect{457, 1, 479, 21};
constexpr skin::Rect kZoomOutRect{435, 1, 457, 21};
// Beside the add and delete buttons, which do nothing while it shows.
constexpr RECT kNoticeRect{70, 330, 480, 350};
constexpr char kPartialNotice[] = "View only: this macro has steps the timeline cannot hold. Edit it in the list.";

skin::win32::ButtonPictures LoadButtonPictures(int normal, int hover, int pressed, int disabled) {
  const HINSTANCE module = ::GetModuleHandleA(nullptr);
  return {skin::win32::LoadPicture(module, normal), skin::win32::LoadPicture(module, hover),
          skin::win32::LoadPicture(module, pressed), skin::win32::LoadPicture(module, disabled)};
}

void SetScroll(HWND bar, const TimelineScroll& scroll) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = scroll.range - 1;
  info.nPage = static_cast<UINT>(scroll.page);
  info.nPos = scroll.position;
  ::SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

}  // namespace

MacroTimelineView::MacroTimelineView(KeyboardLayout& keys) : keys_(keys) {}

MacroTimelineView::~MacroTimelineView() {
  capture_.reset();
  window_.reset();
}

std::unique_ptr<MacroTimelineView> MacroTimelineView::Create(HWND parent, const skin::Rect& bounds,
                                                             KeyboardLayout& keys) {
  if (!kavo::win32::RegisterWindowClass(kViewClass, kavo::win32::ControlWindowProc<MacroTimelineView>,
                                        ::LoadCursorA(nullptr, IDC_ARROW))) {
    return nullptr;
  }
  std::unique_ptr<MacroTimelineView> view(new MacroTimelineView(keys));
  const HWND window = ::CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_CLIPCHILDREN, bounds.left, bounds.top,
                                        bounds.Width(), bounds.Height(), parent, nullptr,
                                        ::GetModuleHandleA(nullptr), view.get());
  if (window == nullptr) return nullptr;
  return view;
}

MacroTimelineView::Button MacroTimelineView::MakeButton(const skin::Rect& rect, skin::win32::ButtonPictures pictures,
                                                        const char* helpText) const {
  Button button = skin::win32::BitmapButton::Create(window_.get(), rect);
  if (button) {
    button->SetPictures(std::move(pictures));
    button->SetHelpText(helpText);
  }
  return button;
}

void MacroTimelineView::CreateControls() {
  const HINSTANCE module = ::GetModuleHandleA(nullptr);
  const int rowsBottom = kRowTop + kTimelineRows * kRowHeight;
  rowBar_ = ::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, kBarLeft + kBarWidth + 4,
                              kRowTop, kScrollThickness, rowsBottom - kRowTop, window_.get(), nullptr, module, nullptr);
  timeBar_ = ::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, kBarLeft, rowsBottom + 2,
                               kBarWidth, kScrollThickness, window_.get(), nullptr, module, nullptr);
  namespace art = kavo::artwork::macro_manager;
  add_ = MakeButton(kAddRect,
                    LoadButtonPictures(art::kTimelineAddNormal, art::kTimelineAddHover, art::kTimelineAddPressed,
                                       art::kTimelineAddDisabled),
                    "Add a key stroke; press the key next");
  delete_ = MakeButton(kDeleteRect,
                       LoadButtonPictures(art::kTimelineDeleteNormal, art::kTimelineDeleteHover,
                                          art::kTimelineDeletePressed, art::kTimelineDeleteDisabled),
                       "Delete the selected key stroke");
  zoomIn_ = MakeButton(kZoomInRect,
                       LoadButtonPictures(art::kTimelineZoomInNormal, art::kTimelineZoomInHover,
                                          art::kTimelineZoomInPressed, art::kTimelineZoomInDisabled),
                       "Zoom in");
  zoomOut_ = MakeButton(kZoomOutRect,
                        LoadButtonPictures(art::kTimelineZoomOutNormal, art::kTimelineZoomOutHover,
                                           art::kTimelineZoomOutPressed, art::kTimelineZoomOutDisabled),
                        "Zoom out");
  font_ = skin::win32::SkinFont(14, 5);
}

void MacroTimelineView::Show(Macro* macro) {
  if (capture_) {
    // A new macro ends a wait for a key: the bar that waited is gone with the old bars.
    capture_.reset();
    if (window_) ::EnableWindow(window_.get(), TRUE);
    if (busy_) busy_(false);
  }
  macro_ = macro;
  timeline_.Load(macro);
  Refresh();
}

void MacroTimelineView::WriteBack() {
  if (macro_ != nullptr) timeline_.WriteBack(*macro_);
}

void MacroTimelineView::Refresh() {
  if (!window_) return;
  if (rowBar_ != nullptr) SetScroll(rowBar_, timeline_.RowScroll());
  if (timeBar_ != nullptr) SetScroll(timeBar_, timeline_.TimeScroll());
  ::InvalidateRect(window_.get(), nullptr, FALSE);
}

int MacroTimelineView::VisibleRowAt(int y) const {
  if (y < kRowTop) return -1;
  const int row = (y - kRowTop) / kRowHeight;
  return row < kTimelineRows ? row : -1;
}

void MacroTimelineView::OnLeftButtonDown(int x, int y) {
  const int row = VisibleRowAt(y);
  if (row < 0) return;
  if (timeline_.BeginDrag(row, x - kBarLeft, kBarWidth)) ::SetCapture(window_.get());
  Refresh();
}

void MacroTimelineView::OnCommand(HWND control) {
  if (control == nullptr) return;
  if (control == addButton()) {
    if (!timeline_.Add()) return;
    // The next key names the new bar; until it arrives the manager and the view take no input.
    capture_ = std::make_unique<KeyboardCapture>(window_.get());
    if (busy_) busy_(true);
    ::EnableWindow(window_.get(), FALSE);
  } else if (control == deleteButton()) {
    timeline_.DeleteSelected();
  } else if (control == zoomInButton()) {
    timeline_.ZoomIn();
  } else if (control == zoomOutButton()) {
    timeline_.ZoomOut();
  }
  Refresh();
}

void MacroTimelineView::OnKeyCaptured(WPARAM virtualKey) {
  const KeyLookup key = VirtualKeyToDeviceKey(keys_, static_cast<int>(virtualKey));
  if (!timeline_.SetCapturedKey(key.found, key.code)) return;
  capture_.reset();
  ::EnableWindow(window_.get(), TRUE);
  if (busy_) busy_(false);
  Refresh();
}

void MacroTimelineView::OnScroll(int bar, WPARAM wParam) {
  const TimelineScroll scroll = bar == SB_VERT ? timeline_.RowScroll() : timeline_.TimeScroll();
  const int line = bar == SB_VERT ? 1 : std::max(1, scroll.page / 10);
  int position = scroll.position;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= scroll.page; break;
    case SB_PAGEDOWN: position += scroll.page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(bar == SB_VERT ? rowBar_ : timeBar_, SB_CTL, &info);
      position = info.nTrackPos;
      break;
    }
    default: return;
  }
  if (bar == SB_VERT) {
    timeline_.ScrollRowsTo(position);
  } else {
    timeline_.ScrollTimeTo(position);
  }
  Refresh();
}

void MacroTimelineView::Paint(HDC dc, int width, int height) {
  const RECT all{0, 0, width, height};
  FillSolid(dc, all, kPanel);
  SelectedObject font(dc, font_.get());
  ::SetBkMode(dc, TRANSPARENT);
  for (const TimelineRow& row : timeline_.Rows(kBarWidth)) {
    const int top = kRowTop + (row.bar - timeline_.topRow()) * kRowHeight;
    const RECT line{0, top + kRowHeight - 1, kBarLeft + kBarWidth, top + kRowHeight};
    FillSolid(dc, line, kRowLine);
    if (row.selected) {
      const RECT label{0, top, kLabelWidth, top + kRowHeight - 1};
      FillSolid(dc, label, kSelectedRow);
    }
    const bool unset = row.key == kKeyUnset;
    const std::string name = unset ? std::string("?") : DeviceKeyName(keys_, row.key);
    ::SetTextColor(dc, unset ? kUnset : kText);
    RECT text{4, top, kLabelWidth - 2, top + kRowHeight - 1};
    ::DrawTextA(dc, name.c_str(), static_cast<int>(name.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (!row.barShown) continue;
    const int left = kBarLeft + row.left;
    const int right = kBarLeft + std::max(row.right, row.left + 1);
    const RECT bar{left, top + 3, right, top + kRowHeight - 4};
    FillSolid(dc, bar, unset ? kUnset : kBar);
    // End marks only where the bar really ends, so a cut end reads as running on.
    if (row.pressInside) FillSolid(dc, RECT{left, top + 1, left + 2, top + kRowHeight - 2}, kBarEnd);
    if (row.releaseInside) FillSolid(dc, RECT{right - 2, top + 1, right, top + kRowHeight - 2}, kBarEnd);
  }
  if (!timeline_.representsWhole()) {
    ::SetTextColor(dc, kUnset);
    RECT notice = kNoticeRect;
    ::DrawTextA(dc, kPartialNotice, -1, &notice, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
}

LRESULT MacroTimelineView::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      window_.reset(window);
      CreateControls();
      Refresh();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const kavo::win32::PaintScope paint(window);
      const HDC screen = paint.dc();
      RECT client{};
      ::GetClientRect(window, &client);
      // Drawn off-screen and copied in one block, like the skinned windows, so dragging does not flicker.
      const UniqueDC memory(::CreateCompatibleDC(screen));
      const UniqueBitmap canvas(::CreateCompatibleBitmap(screen, client.right, client.bottom));
      if (memory && canvas) {
        SelectedObject selected(memory.get(), canvas.get());
        Paint(memory.get(), client.right, client.bottom);
        ::BitBlt(screen, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      ::GetClientRect(window, &client);
      Paint(reinterpret_cast<HDC>(wParam), client.right, client.bottom);
      return 0;
    }
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (timeline_.dragging() && timeline_.DragTo(GET_X_LPARAM(lParam) - kBarLeft)) Refresh();
      return 0;
    case WM_LBUTTONUP:
      if (timeline_.dragging()) {
        timeline_.DragTo(GET_X_LPARAM(lParam) - kBarLeft);
        timeline_.EndDrag();
        ::ReleaseCapture();
        Refresh();
      }
      return 0;
    case WM_CAPTURECHANGED:
      timeline_.EndDrag();
      return 0;
    case WM_COMMAND:
      OnCommand(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_VSCROLL:
      OnScroll(SB_VERT, wParam);
      return 0;
    case WM_HSCROLL:
      OnScroll(SB_HORZ, wParam);
      return 0;
    case kWmKeyCaptured:
      OnKeyCaptured(wParam);
      return 0;
    case WM_DESTROY:
      capture_.reset();
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace kavo::option::win32
