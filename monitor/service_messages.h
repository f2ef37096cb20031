#pragma once
// The service's own message, timer and window numbers; what it shares with the other programs is in
// the programs' contract included here.
#include "settings/program_messages.h"

namespace kavo::monitor {

constexpr unsigned kMsgTrayCallback = 1036;
constexpr unsigned kMsgScrollWebView = 1238;  // to the service itself: wParam count, lParam 1 left / 0 right
constexpr unsigned kMsgDeviceCommand = 1649;  // thread message of the device thread
constexpr unsigned kMsgPlayMacro = 1648;      // thread message of the macro thread
// The mouse messages the tray callback carries in lParam.
constexpr unsigned kTrayLeftDown = 0x0201, kTrayLeftDoubleClick = 0x0203, kTrayRightDown = 0x0204;
constexpr unsigned kTrayIconId = 102;

constexpr unsigned kMsgClose = 0x0010;  // WM_CLOSE

constexpr int kTimerGameCheck = 500;
constexpr int kTimerFirstRead = 502;
constexpr int kTimerForegroundSettle = 503;  // one look after a burst of foreground changes

// Events of the device library's presence class.
constexpr unsigned kEventClassPresence = 0x7F00;
enum PresenceEvent : unsigned { kPresenceIgnored = 0, kPresenceArrival = 1, kPresenceRemoval = 2 };

}  // namespace kavo::monitor
