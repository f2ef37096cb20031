#pragma once
// The version texts shown on the main window and passed to the update page.
#include <string>

namespace kavo::option {

constexpr char kSoftwareVersionText[] = "1.41";
constexpr char kUnknownVersionText[] = "N/A";

// FWVersion (100 x major + minor) as read at start: only 100..500 are believed.
std::string FirmwareTextAtStart(int version);
// After fresh data from the mouse the version has no upper limit.
std::string FirmwareTextAfterRead(int version);

}  // namespace kavo::option
