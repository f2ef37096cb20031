#pragma once
// Real input through the X server and screenshots of it, for the GUI scenarios under Xvfb. xdotool moves
// and clicks the X pointer and types keys exactly as a user's devices would, so Wine's own event handling
// is part of what is tested; ImageMagick's import takes the screenshots kept as artifacts. Both are Linux
// programs, which Wine starts from a Windows process like any other; each gesture runs as one shell
// command that leaves a file behind when it is done, since Wine cannot wait for a Linux process.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/module_folder.h"

namespace kavo::wine_test {

// The Linux path of a Windows path, or empty when Wine cannot tell (not under Wine).
inline std::string UnixPath(const std::string& windowsPath) {
  using ToUnix = char*(__cdecl*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return {};
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* unix = toUnix(wide.c_str());
  if (unix == nullptr) return {};
  std::string result = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return result;
}

class XSession {
 public:
  // Runs a shell command line (Linux) and waits until it has finished; false when it could not be started,
  // failed or took longer than the timeout.
  static bool Shell(std::string_view command, DWORD timeoutMs = 10000) {
    char folder[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, folder);
    static unsigned counter = 0;
    const std::string done =
        std::string(folder) + "kavo-x-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
    const std::string unixDone = UnixPath(done);
    if (unixDone.empty()) return false;
    ::DeleteFileA(done.c_str());
    std::string line = "Z:\\bin\\sh -c \"" + std::string(command) + " && echo ok > '" + unixDone + "' || echo failed > '" +
                       unixDone + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      return false;
    }
    // Wine starts a Linux program without a Windows process: it then gives no process handle and leaves
    // the thread handle holding whatever it held, which must not be closed (it may be another handle's
    // value, such as this program's standard output).
    if (process.hProcess != nullptr) {
      ::CloseHandle(process.hThread);
      ::CloseHandle(process.hProcess);
    }
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
      const std::string outcome = ReadSmallFile(done);
      if (outcome.size() >= 3) {  // "ok\n" or "failed\n", once written whole
        ::DeleteFileA(done.c_str());
        return outcome.rfind("ok", 0) == 0;
      }
      ::Sleep(20);
    }
    return false;
  }

  // xdotool with its command chain, e.g. "mousemove 10 20 click 1".
  static bool XDo(std::string_view commands) { return Shell("xdotool " + std::string(commands)); }

  static bool MoveTo(int x, int y) {
    if (!XDo("mousemove " + std::to_string(x) + " " + std::to_string(y))) return false;
    // Wine learns of the move from its X events; wait until the Windows side sees it.
    for (int i = 0; i < 100; ++i) {
      POINT now;
      if (::GetCursorPos(&now) && now.x == x && now.y == y) return true;
      ::Sleep(10);
    }
    return false;
  }
  static bool ClickAt(int x, int y, int button = 1) {
    return MoveTo(x, y) && XDo("click " + std::to_string(button));
  }

  // The whole screen as a PNG, named under the artifacts folder next to the test program's folder
  // (build/<preset>/artifacts/<name>.png); the Linux path of the file, or empty when it failed.
  static std::string Screenshot(std::string_view name) {
    const std::string folder = ArtifactsFolder();
    if (folder.empty()) return {};
    const std::string file = UnixPath(folder + std::string(name) + ".png");
    if (file.empty() || !Shell("import -window root '" + file + "'", 20000)) return {};
    return file;
  }

  static std::string ArtifactsFolder() {
    std::string path = win32::ModuleFolder();  // the program's folder, ending in a backslash
    if (path.empty()) return {};
    path.pop_back();
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) return {};
    path.resize(slash);  // its parent
    path += "\\artifacts\\";
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
  }

 private:
  static std::string ReadSmallFile(const std::string& path) {
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char buffer[16] = {};
    DWORD read = 0;
    ::ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    ::CloseHandle(file);
    return std::string(buffer, read);
  }
};

}  // namespace kavo::wine_test
