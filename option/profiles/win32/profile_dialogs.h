#pragma once
// The two small dialogs that edit program paths: the profile edit dialog (a profile's name and the three
// games that switch to it) and the program path dialog (the program a Quicklaunch button starts). Both
// are skinned modal windows over the portable models, which decide everything.
#include <windows.h>

#include <optional>
#include <string>

#include "option/common/program_path_browse.h"
#include "settings/settings_record.h"

namespace kavo::option::win32 {

// The profile edit dialog over one profile record; true on OK (the record then holds the four texts).
bool RunProfileEdit(HINSTANCE instance, HWND owner, ProfileRecord& record, bool newProfile, ProgramFileDialog& files);
// The program path dialog starting with initial; the path text on OK, nothing on Cancel/Exit.
std::optional<std::string> RunProgramPath(HINSTANCE instance, HWND owner, const std::string& initial,
                                          ProgramFileDialog& files);

}  // namespace kavo::option::win32
