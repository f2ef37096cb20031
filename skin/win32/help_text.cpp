#include "skin/win32/help_text.h"

#include "skin/help_line.h"
#include "skin/skin_messages.h"

namespace kavo::skin::win32 {
namespace {

HelpLine& Line() {
  static HelpLine line;
  return line;
}
HWND& Window() {
  static HWND window = nullptr;
  return window;
}
void Post(bool entered) {
  if (Window() != nullptr) ::PostMessageA(Window(), kWmHelpText, entered ? 1 : 0, 0);
}

}  // namespace

void SetHelpLineWindow(HWND window) { Window() = window; }
HWND HelpLineWindow() { return Window(); }

void EnterHelpText(std::string_view text) {
  Line().Enter(text);
  Post(true);
}

void LeaveHelpText() {
  Line().Leave();
  Post(false);
}

void OfferHelpText(std::string_view text) {
  if (Line().Offer(text)) Post(true);
}

const std::string& CurrentHelpText() { return Line().text(); }

}  // namespace kavo::skin::win32
