#pragma once
// The program-wide help text that the main window's help line shows while the mouse rests on a control.
// Buttons set it when the mouse enters and clear it when it leaves; edits and sliders only take it over
// when it is not theirs already, and leave it standing when the mouse goes, until another control
// replaces it.
#include <string>
#include <string_view>

namespace kavo::skin {

class HelpLine {
 public:
  void Enter(std::string_view text) { text_ = text; }
  void Leave() { text_.clear(); }
  // True when the text changed: the help line must be told to show it.
  bool Offer(std::string_view text) {
    if (text_ == text) return false;
    text_ = text;
    return true;
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace kavo::skin
