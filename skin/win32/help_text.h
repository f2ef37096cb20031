#pragma once
// The help line's side of the controls: the one program-wide help text and the window that shows it
// (the main window of the program), told with WM_HELPTEXT. User-interface thread only.
#include <windows.h>

#include <string>
#include <string_view>

namespace kavo::skin::win32 {

// The window that receives WM_HELPTEXT; none until the program's main window exists.
void SetHelpLineWindow(HWND window);
HWND HelpLineWindow();

// A button entered (its text) or left (empty text), with WM_HELPTEXT 1 or 0 posted.
void EnterHelpText(std::string_view text);
void LeaveHelpText();
// An edit or a slider under the mouse: takes the help line over unless it shows this text already.
void OfferHelpText(std::string_view text);

const std::string& CurrentHelpText();

}  // namespace kavo::skin::win32
