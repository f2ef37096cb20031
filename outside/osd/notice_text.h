#pragma once
// The text of a notice: what the service left in "config.ini", made fit for one line on screen.
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/private_profile.h"

namespace kavo::osd {

constexpr std::size_t kMaxNoticeLength = 64;
constexpr char kNoticeSection[] = "OSDData";
constexpr char kNoticeKey[] = "Message";

// Control characters become spaces, runs of blanks one space, no blanks at the ends; a longer text is
// cut to kMaxNoticeLength characters ending in "...". An empty result falls back to a text for reason
// (the wParam of the notice message).
std::string NoticeText(std::string_view stored, unsigned reason);
std::string ReadNoticeText(PrivateProfileFile& config, unsigned reason);

}  // namespace kavo::osd
