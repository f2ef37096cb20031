#pragma once
// Message, timer and window numbers by which the service and the programs around it meet.
namespace kavo {

// Accepted by the service window.
constexpr unsigned kMsgApplyRecord = 1224;        // sent by the configuration program; wParam 1 after a reset
constexpr unsigned kMsgFetchRecord = 1226;
constexpr unsigned kMsgFetchAndApplyPointer = 1227;
constexpr unsigned kMsgIgnored[] = {1228, 1229, 1274};
constexpr unsigned kMsgTrayCallback = 1036;
constexpr unsigned kMsgScrollWebView = 1238;      // to the service itself: wParam count, lParam 1 left / 0 right
constexpr unsigned kMsgDeviceEvent = 1325;        // from the device library: class in wParam, data in lParam
constexpr unsigned kMsgDevicePresence = 1326;     // from the device library: wParam 1 arrival, 0 removal
constexpr unsigned kMsgDeviceCommand = 1649;      // thread message of the device thread
constexpr unsigned kMsgPlayMacro = 1648;          // thread message of the macro thread
constexpr unsigned kCmdConfiguration = 6001;
constexpr unsigned kCmdExit = 6002;
// The mouse messages the tray callback carries in lParam.
constexpr unsigned kTrayLeftDown = 0x0201, kTrayLeftDoubleClick = 0x0203, kTrayRightDown = 0x0204;
constexpr unsigned kTrayIconId = 102;

constexpr unsigned kMsgClose = 0x0010;  // WM_CLOSE

// Posted to the configuration program.
constexpr unsigned kMsgFreshData = 1254;
constexpr unsigned kMsgProfileChanged = 1255;
constexpr unsigned kMsgResolutionChanged = 1257;

// Posted to the on-screen display.
constexpr unsigned kMsgOsdNotice = 1324;
constexpr unsigned kMsgOsdSettings = 1326;

constexpr int kTimerGameCheck = 500;
constexpr int kTimerFirstRead = 502;
constexpr int kTimerForegroundSettle = 503;  // the service's own: one look after a burst of foreground changes

constexpr char kMonitorWindowTitle[] = "VELMAR Kavo Mouse Monitor";
constexpr char kOptionWindowTitle[] = "VELMAR Kavo Mouse Option";
constexpr char kOsdWindowTitle[] = "VELMAR Kavo Mouse OSD";
// The outside notice windows, closed with the service.
constexpr const char* kNoticeWindowTitles[] = {kOsdWindowTitle, "VELMAR Kavo Mouse Pop3", "VELMAR Kavo Mouse CPU RAM",
                                              "VELMAR Kavo Mouse OSD SKYPE"};

// Events of the device library's presence class.
constexpr unsigned kEventClassPresence = 0x7F00;
enum PresenceEvent : unsigned { kPresenceIgnored = 0, kPresenceArrival = 1, kPresenceRemoval = 2 };

}  // namespace kavo
