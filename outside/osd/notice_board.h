#pragma once
// What the display does on each event: show a notice (replacing the one showing and starting its time
// anew), hide it when its time is up or it was clicked, and keep the current display settings.
#include <string>

#include "outside/osd/display_settings.h"

namespace kavo::osd {

constexpr char kSettingsAppliedText[] = "Settings applied";

struct NoticeAction {
  enum class Kind { None, Show, Hide };
  Kind kind = Kind::None;
  std::string text;     // Show only
  int durationMs = 0;   // Show only: hide after this time
};

class NoticeBoard {
 public:
  explicit NoticeBoard(DisplaySettings settings = {}) : settings_(settings) {}

  NoticeAction Notice(std::string text);
  NoticeAction SettingsChanged(const DisplaySettings& settings);
  NoticeAction TimeUp() { return Hide(); }
  NoticeAction Dismissed() { return Hide(); }

  const DisplaySettings& settings() const { return settings_; }
  bool showing() const { return showing_; }

 private:
  NoticeAction Hide();

  DisplaySettings settings_;
  bool showing_ = false;
};

}  // namespace kavo::osd
