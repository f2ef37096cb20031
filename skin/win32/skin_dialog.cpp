#include "skin/win32/skin_dialog.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "skin/layout.h"
#include "skin/win32/cut_picture.h"
#include "skin/win32/picture_resources.h"
#include "skin/win32/window_region.h"

namespace kavo::skin::win32 {

using kavo::win32::SelectedObject;
using kavo::win32::UniqueBitmap;
using kavo::win32::UniqueDC;
using kavo::win32::UniqueHook;

namespace {

// Escape and Enter are taken away before the dialog manager sees them: it would turn them into IDCANCEL
// and IDOK. The dialog manager hands every message to the thread's message filter first (IsDialogMessage
// does so for modal and modeless windows alike), so one filter per thread serves every skinned window.
struct KeyFilter {
  UniqueHook hook;
  std::vector<HWND> windows;  // the thread's skinned windows
};

KeyFilter& ThreadKeyFilter() {
  thread_local KeyFilter filter;
  return filter;
}

bool InSkinnedWindow(HWND window) {
  const std::vector<HWND>& windows = ThreadKeyFilter().windows;
  while (window != nullptr) {
    if (std::find(windows.begin(), windows.end(), window) != windows.end()) return true;
    if ((::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) return false;
    window = ::GetParent(window);
  }
  return false;
}

LRESULT CALLBACK FilterKeys(int code, WPARAM wParam, LPARAM lParam) {
  // Only the dialog manager's turn: a menu's loop needs its Escape.
  if (code == MSGF_DIALOGBOX) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message != nullptr && message->message == WM_KEYDOWN &&
        (message->wParam == VK_ESCAPE || message->wParam == VK_RETURN) && InSkinnedWindow(message->hwnd)) {
      return TRUE;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void FilterKeysOf(HWND window) {
  KeyFilter& filter = ThreadKeyFilter();
  filter.windows.push_back(window);
  if (!filter.hook) filter.hook.reset(::SetWindowsHookExA(WH_MSGFILTER, FilterKeys, nullptr, ::GetCurrentThreadId()));
}

void StopFilteringKeysOf(HWND window) {
  KeyFilter& filter = ThreadKeyFilter();
  filter.windows.erase(std::remove(filter.windows.begin(), filter.windows.end(), window), filter.windows.end());
  if (filter.windows.empty()) filter.hook.reset();
}

// Messages whose answer a dialog procedure returns itself rather than through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG: return true;
    default: return false;
  }
}

}  // namespace

WindowPictures LoadWindowPictures(HINSTANCE module, const WindowPictureIds& ids) {
  WindowPictures pictures;
  const auto load = [module](int id) { return id != 0 ? LoadPicture(module, id) : UniqueBitmap(); };
  pictures.mask = load(ids.mask);
  pictures.background = load(ids.background);
  pictures.normal = load(ids.normal);
  pictures.hover = load(ids.hover);
  pictures.pressed = load(ids.pressed);
  pictures.disabled = load(ids.disabled);
  return pictures;
}

Point CentredOverWindow(HWND owner, Extent size) {
  RECT over{};
  if (owner == nullptr || !::GetWindowRect(owner, &over)) return {0, 0};
  return CentredOver(Rect{over.left, over.top, over.right, over.bottom}, size);
}

SkinDialog::SkinDialog(HINSTANCE instance, int templateId) : instance_(instance), templateId_(templateId) {}

// A window whose handlers (OnDestroy above all) must run ends in its own class's destructor with End. One still
// here is past them: it is cut loose first, so that its last messages reach nothing of the part already gone.
SkinDialog::~SkinDialog() {
  if (window_ == nullptr) return;
  const HWND window = window_;
  Destroyed();
  ::DestroyWindow(window);
}

INT_PTR SkinDialog::RunModal(HWND owner) {
  if (window_ != nullptr) return -1;
  modal_ = true;
  const INT_PTR code =
      ::DialogBoxParamA(instance_, MAKEINTRESOURCEA(templateId_), owner, DialogProc, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return code;
}

bool SkinDialog::Create(HWND parent) {
  if (window_ != nullptr) return false;
  modal_ = false;
  return ::CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void SkinDialog::End(INT_PTR code) {
  if (window_ == nullptr) return;
  if (modal_) {
    ::EndDialog(window_, code);
  } else {
    ::DestroyWindow(window_);
  }
}

void SkinDialog::PlaceAt(Point topLeft) {
  topLeft_ = topLeft;
  if (window_ != nullptr) {
    ::SetWindowPos(window_, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool SkinDialog::IsPage() const {
  return window_ != nullptr && (::GetWindowLongPtrA(window_, GWL_STYLE) & WS_CHILD) != 0;
}

void SkinDialog::SetPictures(WindowPictures pictures) {
  mask_ = std::move(pictures.mask);
  background_ = std::move(pictures.background);
  building_ = std::move(pictures);
  const Extent size = PictureSize(background_.get());
  if (window_ != nullptr && size.width > 0 && size.height > 0) {
    ::SetWindowPos(window_, nullptr, topLeft_.x, topLeft_.y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

StatePictureSources SkinDialog::StateSources() const {
  return {building_.normal.get(), building_.hover.get(), building_.pressed.get(), building_.disabled.get()};
}

BitmapButton& SkinDialog::AddButton(std::string_view layout, std::function<void()> onClick) {
  const std::optional<LayoutEntry> entry = ParseLayout(layout);
  std::unique_ptr<BitmapButton> button;
  if (entry && window_ != nullptr) button = BitmapButton::Create(window_, *entry);
  if (button) {
    button->SetPictures(StateSources(), entry->Bounds());
    if (!entry->text.empty()) button->SetHelpText(entry->text);
    button->SetChecked(entry->checked != 0);
  } else {
    button = BitmapButton::Windowless();
  }
  buttons_.push_back(Button{std::move(button), std::move(onClick)});
  return *buttons_.back().control;
}

void SkinDialog::OnClick(const BitmapButton& button, std::function<void()> onClick) {
  for (Button& known : buttons_) {
    if (known.control.get() == &button) {
      known.onClick = std::move(onClick);
      return;
    }
  }
}

INT_PTR CALLBACK SkinDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    SkinDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
      self = reinterpret_cast<SkinDialog*>(lParam);
      ::SetWindowLongPtrA(window, DWLP_USER, lParam);
      self->window_ = window;
    } else {
      self = reinterpret_cast<SkinDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    }
    if (self == nullptr || self->window_ != window) return FALSE;
    return self->Dispatch(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the dialog manager; only a failed allocation throws here.
    return FALSE;
  }
}

INT_PTR SkinDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    FilterKeysOf(window_);
    Build();
    return FALSE;  // no control takes the focus: none has a tab stop
  }
  if (message == WM_NCDESTROY) {
    Destroyed();
    return FALSE;
  }
  if (const std::optional<LRESULT> handled = OnMessage(message, wParam, lParam)) {
    return AnswersDirectly(message) ? static_cast<INT_PTR>(*handled) : Answer(message, *handled);
  }
  switch (message) {
    case WM_ERASEBKGND:
      // The paint covers everything; erasing first would only flicker.
      return Answer(message, TRUE);
    case WM_PAINT:
      Paint();
      return Answer(message, 0);
    case WM_LBUTTONDOWN:
      DragFrom(lParam);
      return Answer(message, 0);
    case WM_COMMAND:
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
        Clicked(reinterpret_cast<HWND>(lParam));
        return Answer(message, 0);
      }
      break;
    case WM_CLOSE:
      End(kEndCancel);
      return Answer(message, 0);
    case WM_DESTROY:
      OnDestroy();
      break;
    default:
      break;
  }
  return FALSE;
}

INT_PTR SkinDialog::Answer(UINT, LRESULT result) {
  ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
  return TRUE;
}

void SkinDialog::Build() {
  // A window run again builds afresh.
  buttons_.clear();
  OnBuild();
  // The controls have their cut-outs; the whole-window state pictures are no longer needed.
  building_ = WindowPictures();
  region_ = RegionFromMask(mask_.get());
  if (region_) ApplyWindowRegion(window_, region_.get());
}

void SkinDialog::Paint() {
  const kavo::win32::PaintScope paint(window_);
  if (paint.dc() == nullptr) return;
  RECT client{};
  ::GetClientRect(window_, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  // Background and texts are put together off screen and shown in one copy, so nothing flickers.
  const UniqueDC canvas(::CreateCompatibleDC(paint.dc()));
  const UniqueBitmap canvasPicture(::CreateCompatibleBitmap(paint.dc(), width, height));
  if (!canvas || !canvasPicture) return;
  const SelectedObject drawing(canvas.get(), canvasPicture.get());
  ::FillRect(canvas.get(), &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  if (background_) {
    const UniqueDC source(::CreateCompatibleDC(paint.dc()));
    if (source) {
      const SelectedObject selected(source.get(), background_.get());
      ::BitBlt(canvas.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
    }
  }
  PaintTexts(canvas.get());
  ::BitBlt(paint.dc(), 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
}

void SkinDialog::DragFrom(LPARAM clientPoint) const {
  POINT point{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
  ::ClientToScreen(window_, &point);
  // A press on the caption is what moves a window; a page moves the window it sits in.
  const HWND target = IsPage() ? ::GetAncestor(window_, GA_ROOT) : window_;
  ::PostMessageA(target, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

void SkinDialog::Clicked(HWND control) {
  for (const Button& button : buttons_) {
    if (button.control->window() != control) continue;
    if (!button.onClick) break;
    // A copy: the handler may add buttons or end the window.
    const std::function<void()> handler = button.onClick;
    handler();
    return;
  }
  OnButton(control);
}

void SkinDialog::Destroyed() {
  StopFilteringKeysOf(window_);
  ::SetWindowLongPtrA(window_, DWLP_USER, 0);
  mask_.reset();
  background_.reset();
  building_ = WindowPictures();
  region_.reset();
  window_ = nullptr;
}

}  // namespace kavo::skin::win32
