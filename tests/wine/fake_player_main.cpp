// kavo-fake-player.exe: a test-only program that the media player tests copy under a player's name into a
// registered place, to see that the service starts it. It writes its command line into "<its own path>.started"
// and ends. The file is written under another name and then renamed, so a test that sees it reads it whole.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH + 1] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  const std::string marker = std::string(path, length) + ".started";
  const std::string partial = marker + ".partial";
  const HANDLE file =
      ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const std::string commandLine = ::GetCommandLineA();
  DWORD written = 0;
  const bool whole = ::WriteFile(file, commandLine.data(), static_cast<DWORD>(commandLine.size()), &written, nullptr) &&
                     written == commandLine.size();
  ::CloseHandle(file);
  return whole && ::MoveFileExA(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
