// skin-gallery.exe: the skinned control toolkit on one window, for looking at and for the GUI tests, which
// drive it with real input and follow it through its log (--log PATH). Not part of the product.
#include <windows.h>

#include <cstring>
#include <string>

#include "skin/win32/gallery/gallery_log.h"
#include "skin/win32/gallery/gallery_window.h"
#include "skin/win32/menu_frame_hook.h"

namespace {

// The path after "--log", with its quotes taken off; empty without one.
std::string LogPath(const char* commandLine) {
  const char* at = std::strstr(commandLine, "--log");
  if (at == nullptr) return {};
  at += 5;
  while (*at == ' ') ++at;
  std::string path;
  if (*at == '"') {
    for (++at; *at != '\0' && *at != '"'; ++at) path += *at;
  } else {
    for (; *at != '\0' && *at != ' '; ++at) path += *at;
  }
  return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  kavo::skin::win32::MenuFrameHook menuFrames;
  kavo::skin::gallery::GalleryLog log(LogPath(commandLine));
  kavo::skin::gallery::GalleryWindow gallery(instance, log);
  return static_cast<int>(gallery.RunModal(nullptr));
}
