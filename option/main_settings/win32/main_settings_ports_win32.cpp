#include "option/main_settings/win32/main_settings_ports_win32.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "artwork/message_box_a.h"
#include "settings/language.h"
#include "skin/win32/skin_message_box.h"

namespace kavo::option::win32 {

bool SkinConfirmation::Confirm() {
  skin::win32::SkinMessageBox box(module_, skin::win32::MessageBoxLook::kA);
  const HWND root = owner_ != nullptr ? ::GetAncestor(owner_, GA_ROOT) : nullptr;
  box.PlaceAt(skin::win32::CentredOverWindow(root, {artwork::message_box_a::kWidth, artwork::message_box_a::kHeight}));
  return box.RunModal(root) == skin::win32::kEndOk;
}

int Win32SystemLanguage::LanguageNumber() const { return LanguageNumberFromLangId(::GetSystemDefaultLangID()); }

void Win32DoubleClickTimer::SetDoubleClickTime(int milliseconds) {
  ::SetDoubleClickTime(static_cast<UINT>(milliseconds));
}

int Win32DoubleClickTimer::DoubleClickTime() const { return static_cast<int>(::GetDoubleClickTime()); }


Win32DoubleClickMedia::~Win32DoubleClickMedia() {
  // A child destroyed with its area is no window any more; another window may have its handle by now.
  if (animation_ && !::IsWindow(animation_.get())) AreaGone();
}

bool Win32DoubleClickMedia::OpenAnimation(const std::string& path) {
  if (area_ == nullptr) return false;
  if (!animation_) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_ANIMATE_CLASS};
    ::InitCommonControlsEx(&controls);
    RECT client{};
    ::GetClientRect(area_, &client);
    // The timer style plays on this thread: the control's stop notice arrives like any other message.
    animation_.reset(::CreateWindowExA(0, ANIMATE_CLASSA, "", WS_CHILD | WS_VISIBLE | ACS_TIMER, 0, 0,
                                       client.right, client.bottom, area_, nullptr,
                                       reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(area_, GWLP_HINSTANCE)),
                                       nullptr));
    if (!animation_) return false;
  }
  return ::SendMessageA(animation_.get(), ACM_OPENA, 0, reinterpret_cast<LPARAM>(path.c_str())) != FALSE;
}

void Win32DoubleClickMedia::PlayAnimationOnce() {
  if (animation_) ::SendMessageA(animation_.get(), ACM_PLAY, 1, MAKELPARAM(0, 0xFFFF));
}

void Win32DoubleClickMedia::RewindAnimation() {
  // Playing from frame 0 to frame 0 only shows the first frame.
  if (animation_) ::SendMessageA(animation_.get(), ACM_PLAY, 1, MAKELPARAM(0, 0));
}

void Win32DoubleClickMedia::PlaySound(const std::string& path) {
  ::PlaySoundA(path.c_str(), nullptr, SND_ASYNC | SND_NODEFAULT | SND_NOSTOP | SND_FILENAME);
}

}  // namespace kavo::option::win32
