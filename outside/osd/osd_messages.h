#pragma once
// The on-screen display's side of the programs' contract: its title and the messages the service posts it
// come from there; its notice windows' class is its own.
#include "settings/program_messages.h"

namespace kavo::osd {

constexpr char kNoticeClassName[] = "VELMAR Kavo OSD Notice";

}  // namespace kavo::osd
