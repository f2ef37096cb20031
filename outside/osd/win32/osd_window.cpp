#include "outside/osd/win32/osd_window.h"

#include "outside/osd/notice_text.h"
#include "outside/osd/osd_messages.h"
#include "settings/ini_file.h"
#include "platform/win32/module_folder.h"
#include "settings/win32/win32_file_system.h"

namespace kavo::osd::win32 {
namespace {

constexpr char kClassName[] = "VELMAR Kavo OSD";
constexpr UINT_PTR kNoticeTimer = 1;
constexpr UINT kDismissedMessage = WM_APP + 1;

}  // namespace

OsdWindow::OsdWindow(HINSTANCE instance, const DisplaySettings& settings) : instance_(instance), board_(settings) {
  kavo::win32::RegisterWindowClass(kClassName, kavo::win32::ControlWindowProc<OsdWindow>);
  // A top-level window (never shown), not a message-only one: FindWindowA does not see those.
  window_.reset(::CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kOsdWindowTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, this));
}

LRESULT OsdWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      popup_ = std::make_unique<NoticePopup>(instance_, window, kDismissedMessage);
      return popup_->Created() ? 0 : -1;
    case kMsgOsdNotice:
      OnNotice(window, wParam);
      return 0;
    case kMsgOsdSettings:
      Carry(window, board_.SettingsChanged(DisplaySettingsFromMessage(static_cast<std::uint32_t>(lParam))));
      return 0;
    case WM_TIMER:
      if (wParam == kNoticeTimer) Carry(window, board_.TimeUp());
      return 0;
    case kDismissedMessage:
      Carry(window, board_.Dismissed());
      return 0;
    case WM_CLOSE:
      // The owner destroys the window, so it never holds a window that is gone.
      window_.reset();
      return 0;
    case WM_DESTROY:
      ::KillTimer(window, kNoticeTimer);
      popup_.reset();
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

void OsdWindow::OnNotice(HWND window, WPARAM reason) {
  // The service writes the text just before it posts, so the file is read afresh for every notice.
  kavo::win32::Win32FileSystem files;
  IniFile config(files, kavo::win32::ModuleFolder() + "config.ini");
  Carry(window, board_.Notice(ReadNoticeText(config, static_cast<unsigned>(reason))));
}

void OsdWindow::Carry(HWND window, const NoticeAction& action) {
  switch (action.kind) {
    case NoticeAction::Kind::Show:
      popup_->Show(action.text);
      // Setting the timer again restarts its time: a new notice gets its full duration.
      ::SetTimer(window, kNoticeTimer, static_cast<UINT>(action.durationMs), nullptr);
      break;
    case NoticeAction::Kind::Hide:
      ::KillTimer(window, kNoticeTimer);
      popup_->Hide();
      break;
    case NoticeAction::Kind::None:
      break;
  }
}

}  // namespace kavo::osd::win32
