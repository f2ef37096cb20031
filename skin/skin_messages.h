#pragma once
// Window messages the skinned controls post to their parents and to the main window. The numbers are
// fixed: pages and dialogs of the configuration program match on them.
namespace kavo::skin {

constexpr unsigned kWmSliderPos = 1094;     // wParam new value, lParam notify value
constexpr unsigned kWmEditChanged = 1116;   // wParam 0 after a text change, 13 after Enter is released
constexpr unsigned kWmHoverNotify = 1124;   // wParam 1 entered / 0 left, lParam notify value
constexpr unsigned kWmHelpText = 1125;      // wParam 1 entered / 0 left
constexpr unsigned kWmListNewRow = 1524;    // wParam row index
constexpr unsigned kWmListRenamed = 1526;   // wParam row index
constexpr unsigned kWmListContext = 1724;   // right button pressed on a list

// The wParam of kWmEditChanged after Enter is released in an edit.
constexpr unsigned kEditChangedEnter = 13;

}  // namespace kavo::skin
