#include "outside/osd/notice_text.h"

#include "outside/osd/osd_messages.h"

namespace kavo::osd {
namespace {

bool IsBlank(unsigned char c) { return c <= ' ' || c == 0x7F; }

std::string Fallback(unsigned reason) {
  // The service sends this reason only after the mouse reported a low battery; a lost text must not
  // hide that.
  return reason == kOsdLowBatteryReason ? "Low Battery" : "VELMAR Kavo Mouse";
}

}  // namespace

std::string NoticeText(std::string_view stored, unsigned reason) {
  std::string text;
  bool pendingSpace = false;
  for (const char c : stored) {
    if (IsBlank(static_cast<unsigned char>(c))) {
      pendingSpace = !text.empty();
      continue;
    }
    if (pendingSpace) text += ' ';
    pendingSpace = false;
    text += c;
  }
  if (text.empty()) return Fallback(reason);
  if (text.size() > kMaxNoticeLength) {
    text.resize(kMaxNoticeLength - 3);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    text += "...";
  }
  return text;
}

std::string ReadNoticeText(PrivateProfileFile& config, unsigned reason) {
  return NoticeText(config.ReadString(kNoticeSection, kNoticeKey, ""), reason);
}

}  // namespace kavo::osd
