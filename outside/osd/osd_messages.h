#pragma once
// What the service and the on-screen display agree on: the window it finds by title and the messages it posts.
namespace kavo::osd {

constexpr char kWindowTitle[] = "VELMAR Kavo Mouse OSD";
constexpr char kNoticeClassName[] = "VELMAR Kavo OSD Notice";
constexpr unsigned kNoticeMessage = 1324;    // show the notice text left in "config.ini"
constexpr unsigned kSettingsMessage = 1326;  // lParam: two 16-bit display settings
constexpr unsigned kLowBatteryReason = 50;   // wParam of the service's low-battery notice

}  // namespace kavo::osd
