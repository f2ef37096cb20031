#pragma once
// The settings files of the program folder over the real Windows adapters, as both programs use them.
#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "platform/win32/module_folder.h"
#include "settings/win32/win32_file_system.h"
#include "settings/win32/win32_registry.h"

namespace kavo::win32 {

struct Win32Settings {
  Win32FileSystem files;
  Win32Registry registry;
  IniFileAccess profiles{files};
  SettingsFiles settings{ModuleFolder(), profiles, files, registry};
};

}  // namespace kavo::win32
