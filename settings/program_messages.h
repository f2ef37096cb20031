#pragma once
// The contract between the programs: the window titles by which each finds the others and the messages
// that cross from one process to another. Messages a program only sends to itself stay with that program.
namespace kavo {

// Top-level windows, found by exact title.
constexpr char kMonitorWindowTitle[] = "VELMAR Kavo Mouse Monitor";
constexpr char kOptionWindowTitle[] = "VELMAR Kavo Mouse Option";
constexpr char kOsdWindowTitle[] = "VELMAR Kavo Mouse OSD";
// The notice programs besides the on-screen display; the configuration program posts them 1224 and the
// service closes them with itself.
constexpr const char* kNoticeProgramTitles[] = {"VELMAR Kavo Mouse Pop3", "VELMAR Kavo Mouse CPU RAM",
                                                "VELMAR Kavo Mouse OSD SKYPE"};

// To the service window.
constexpr unsigned kMsgApplyRecord = 1224;  // from the configuration program (wParam 1 after a reset); also posted to the notice programs
constexpr unsigned kMsgFetchRecord = 1226;
constexpr unsigned kMsgFetchAndApplyPointer = 1227;
constexpr unsigned kMsgIgnoredByService[] = {1228, 1229, 1274};
constexpr unsigned kMsgDeviceEvent = 1325;     // from the device library: class in wParam, data in lParam
constexpr unsigned kMsgDevicePresence = 1326;  // from the device library: wParam 1 arrival, 0 removal
constexpr unsigned kMsgDeviceBusy = 1327;      // from the device library, answered and otherwise ignored
constexpr unsigned kCmdConfiguration = 6001;   // the tray menu's open command; also from a second start with "1"
constexpr unsigned kCmdExit = 6002;

// To the configuration program.
constexpr unsigned kMsgFreshData = 1254;
constexpr unsigned kMsgProfileChanged = 1255;
constexpr unsigned kMsgEnableApply = 1256;
constexpr unsigned kMsgResolutionChanged = 1257;
constexpr unsigned kMsgOptionAccepted = 1258;  // accepted and ignored

// To the on-screen display.
constexpr unsigned kMsgOsdNotice = 1324;    // show the notice text left in "config.ini"; wParam the reason
constexpr unsigned kMsgOsdSettings = 1326;  // lParam: two 16-bit display settings
constexpr unsigned kOsdLowBatteryReason = 50;

}  // namespace kavo
