// KavoSetup.exe as a new user meets it, in a Wine prefix made afresh for this suite: what a silent install
// leaves (files, the Run value, the Start menu's shortcut, the uninstall entry), the installed service
// started as the session starts it, upgrades that keep the user's settings, the running programs closed in
// order before files change, and what uninstalling leaves.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "outside/device-sim/wine/mouse_folder.h"
#include "platform/win32/win32_handles.h"
#include "tests/wine/programs.h"
#include "tests/wine/temp_folder.h"

namespace kavo::wine_test {
namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VELMAR Kavo";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kProductName[] = "VELMAR Kavo";
constexpr char kMonitorTitle[] = "VELMAR Kavo Mouse Monitor";
constexpr char kOptionTitle[] = "VELMAR Kavo Mouse Option";
constexpr char kServiceMutex[] = "VELMAR_Kavo_Mouse_Normal_Monitor";
constexpr DWORD kSetupTimeoutMs = 120000;
constexpr DWORD kReadTimeoutMs = 40000;  // start-up and the first full read of the mouse
constexpr DWORD kExitTimeoutMs = 30000;
const char* const kSimulatedFiles[] = {"Kelsor.dll", "kavo-sim.exe"};

std::string WindowsPath(std::string unixPath) {
  std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
  return "Z:" + unixPath;
}

const std::string& SetupPath() {
  static const std::string path = WindowsPath(KAVO_SETUP_PATH);
  return path;
}
const std::string& ProgramFolder() {
  static const std::string path = WindowsPath(KAVO_PROGRAM_FOLDER) + "\\";
  return path;
}

std::string KnownFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::string InstallFolder() { return KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\VELMAR Kavo\\"; }
std::string ShortcutPath() { return KnownFolder(CSIDL_PROGRAMS) + "\\Kavo Option.lnk"; }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}

// Every file below a folder (its path ends in a backslash) by relative path, with its bytes.
using FileTree = std::map<std::string, std::string>;
void CollectTree(const std::string& root, const std::string& relative, FileTree& tree) {
  for (const auto& name : TempFolder::List(root + relative)) {
    const std::string path = relative + name;
    if (IsFolder(root + path)) {
      CollectTree(root, path + "\\", tree);
    } else {
      tree[path] = ReadBytes(root + path).value_or("(unreadable)");
    }
  }
}
FileTree Tree(const std::string& root) {
  FileTree tree;
  CollectTree(root, "", tree);
  return tree;
}
std::vector<std::string> Names(const FileTree& tree) {
  std::vector<std::string> names;
  for (const auto& entry : tree) names.push_back(entry.first);
  return names;
}

std::optional<std::string> RegistryString(const char* key, const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(value);
}
std::optional<DWORD> RegistryNumber(const char* key, const char* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}
bool RegistryKeyExists(const char* key) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  ::RegCloseKey(opened);
  return true;
}

struct Shortcut {
  std::string target;
  std::string arguments;
  bool read = false;
};
Shortcut ReadShortcut(const std::string& path) {
  Shortcut shortcut;
  IShellLinkA* link = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
    return shortcut;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(file->Load(wide, STGM_READ))) {
      char text[MAX_PATH * 2] = {};
      shortcut.read = SUCCEEDED(link->GetPath(text, sizeof text, nullptr, 0));
      shortcut.target = text;
      char arguments[MAX_PATH] = {};
      link->GetArguments(arguments, sizeof arguments);
      shortcut.arguments = arguments;
    }
    file->Release();
  }
  link->Release();
  return shortcut;
}

bool SameFolderPath(std::string a, std::string b) {
  auto lower = [](std::string& text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!text.empty() && text.back() == '\\') text.pop_back();
  };
  lower(a);
  lower(b);
  return a == b;
}

// Processes whose program file's path holds this text, without regard to case.
std::vector<DWORD> ProcessesFrom(const char* fragment) {
  std::vector<DWORD> found;
  std::string wanted = fragment;
  CharLowerA(wanted.data());
  const HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (taken == INVALID_HANDLE_VALUE) return found;
  win32::UniqueKernelHandle snapshot(taken);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry)) {
    win32::UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!process) continue;
    char image[MAX_PATH * 2] = {};
    DWORD size = sizeof image;
    if (!::QueryFullProcessImageNameA(process.get(), 0, image, &size)) continue;
    CharLowerA(image);
    if (std::string(image, size).find(wanted) != std::string::npos) found.push_back(entry.th32ProcessID);
  }
  return found;
}

// Processes whose program file has this name, in any folder.
std::vector<DWORD> ProcessesNamed(const char* image) {
  std::vector<DWORD> found;
  const HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (taken == INVALID_HANDLE_VALUE) return found;
  win32::UniqueKernelHandle snapshot(taken);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry)) {
    if (::lstrcmpiA(entry.szExeFile, image) == 0) found.push_back(entry.th32ProcessID);
  }
  return found;
}

struct EndedProgram {
  win32::UniqueKernelHandle handle;
  bool Ended() const { return handle && ::WaitForSingleObject(handle.get(), 0) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle) ::GetExitCodeProcess(handle.get(), &code);
    return code;
  }
};
EndedProgram OwnerOf(HWND window) {
  return {win32::UniqueKernelHandle(
      ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, WindowProcess(window)))};
}

HWND FindTitled(const char* title) {
  const auto windows = TopLevelWindows(0, title);
  return windows.empty() ? nullptr : windows.front();
}

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_TRUE(Exists(SetupPath())) << SetupPath();
    ASSERT_FALSE(InstallFolder().rfind("\\Programs\\", 0) == 0) << "no local application data folder";
    CleanUp();
  }
  void TearDown() override {
    CleanUp();
    if (comStarted_) ::CoUninitialize();
  }

  // What a test leaves goes, whatever it left: the programs ended, the folder, shortcut and values removed.
  void CleanUp() {
    for (const char* title : {kMonitorTitle, kOptionTitle}) {
      if (HWND window = FindTitled(title)) {
        EndedProgram owner = OwnerOf(window);
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        if (owner.handle && ::WaitForSingleObject(owner.handle.get(), kExitTimeoutMs) != WAIT_OBJECT_0) {
          ADD_FAILURE() << title << " did not end when closed";
          ::TerminateProcess(owner.handle.get(), 9);
        }
      }
    }
    WaitForUninstallers();
    if (IsFolder(InstallFolder())) TempFolder::RemoveTree(InstallFolder());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kProductName);
    ::DeleteFileA(ShortcutPath().c_str());
  }

  // The setup run to its end; its exit code.
  static DWORD RunSetup(const std::string& switches) {
    ChildProcess setup = StartCommandLine("\"" + SetupPath() + "\" " + switches, "C:\\");
    EXPECT_TRUE(setup.handle) << "KavoSetup.exe did not start";
    EXPECT_TRUE(setup.WaitForExit(kSetupTimeoutMs)) << "KavoSetup.exe " << switches << " did not end";
    return setup.ExitCode();
  }

  // The uninstaller runs from a copy of itself in a folder "~nsu*.tmp" of the temporary folder (so that it
  // can remove its own file): waited for until that copy ended too.
  static void WaitForUninstallers() {
    const bool ended = WaitFor([] { return ProcessesFrom("\\~nsu").empty(); }, kSetupTimeoutMs, 100);
    EXPECT_TRUE(ended) << "the uninstaller did not end";
  }
  static DWORD RunQuietUninstall(const std::string& extraSwitches) {
    const auto command = RegistryString(kUninstallKey, "QuietUninstallString");
    EXPECT_TRUE(command) << "no quiet uninstall command";
    if (!command) return STILL_ACTIVE;
    ChildProcess uninstall = StartCommandLine(*command + extraSwitches, "C:\\");
    EXPECT_TRUE(uninstall.WaitForExit(kSetupTimeoutMs));
    // The copy was started before the first one ended; seen at least once, unless it was quicker still.
    WaitFor([] { return !ProcessesFrom("\\~nsu").empty() || !RegistryKeyExists(kUninstallKey); }, 5000, 20);
    WaitForUninstallers();
    return uninstall.ExitCode();
  }

  // The service as the session starts it: the Run value's command line, from another working folder.
  static ChildProcess StartAsTheSessionDoes() {
    const auto command = RegistryString(kRunKey, kProductName);
    EXPECT_TRUE(command) << "no Run value";
    return command ? StartCommandLine(*command, "C:\\") : ChildProcess{};
  }

  static int Setting(const char* key) {
    return static_cast<int>(
        ::GetPrivateProfileIntA("Setting", key, -1, (InstallFolder() + "config.ini").c_str()));
  }
  // "host-active N" of the installed simulated mouse; -1 when it cannot be read.
  static int HostActive() {
    const auto run = sim::wine_test::RunProgram(InstallFolder() + "kavo-sim.exe", "dump");
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("host-active ", 0) == 0) return std::atoi(line.c_str() + 12);
    }
    return -1;
  }
  static bool WaitForMouseRead() {
    return WaitFor([] { return Setting("Device") == 1 && HostActive() == 1; }, kReadTimeoutMs, 250);
  }
  static std::vector<std::string> ProfileFiles() {
    std::vector<std::string> names;
    for (const auto& name : TempFolder::List(InstallFolder() + "config\\")) {
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".vmp") == 0) names.push_back(name);
    }
    return names;
  }

  // The settings the service and the configuration program keep beside themselves.
  static FileTree SettingsFiles() {
    FileTree settings;
    for (const auto& [name, bytes] : Tree(InstallFolder())) {
      if (name == "config.ini" || name.rfind("config\\", 0) == 0) settings[name] = bytes;
    }
    return settings;
  }

  // Installed, run once so that the service wrote its files, with a sequence file of the user's.
  void InstallAndRunOnce() {
    ASSERT_EQ(RunSetup("/S /SIMULATED"), 0u);
    ChildProcess service = StartAsTheSessionDoes();
    ASSERT_TRUE(service.handle);
    ASSERT_TRUE(WaitForMouseRead()) << "the installed service did not read the simulated mouse";
    ASSERT_EQ(ProfileFiles().size(), 5u);
    ::PostMessageA(FindTitled(kMonitorTitle), WM_CLOSE, 0, 0);
    ASSERT_TRUE(service.WaitForExit(kExitTimeoutMs));
    ASSERT_TRUE(WriteBytes(InstallFolder() + "config\\Kavo_sequence.dat",
                           "[Sets]\r\nCount=1\r\nSet0=Mine\r\n[Mine]\r\nCount=0\r\n"));
  }

  bool comStarted_ = false;
};

// ---------------------------------------------------------------------------------------------------------
// Install

TEST_F(InstallerTest, ASilentInstallPutsEveryFileAndEntryInPlace) {
  struct Case {
    const char* switches;
    bool simulated;
    bool started;
  };
  const Case cases[] = {{"/S", false, false}, {"/S /SIMULATED", true, false}, {"/S /START /SIMULATED", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.switches);
    CleanUp();
    ASSERT_EQ(RunSetup(c.switches), 0u);
    const std::string folder = InstallFolder();

    // The shipped folder, with the simulated mouse only when it was asked for, and the uninstaller.
    FileTree expected = Tree(ProgramFolder());
    expected.erase("Kelsor.mouse");  // a mouse's memory left by someone who tried the folder
    if (!c.simulated) {
      for (const char* name : kSimulatedFiles) expected.erase(name);
    }
    FileTree installed = Tree(folder);
    ASSERT_TRUE(installed.count("Uninstall.exe")) << "no uninstaller";
    installed.erase("Uninstall.exe");
    if (c.started) {
      // The started service may already have written its settings and the simulated mouse its memory.
      for (auto it = installed.begin(); it != installed.end();) {
        const bool written = it->first == "config.ini" || it->first == "Kelsor.mouse" || it->first.rfind("config\\", 0) == 0;
        it = written ? installed.erase(it) : std::next(it);
      }
    }
    EXPECT_EQ(Names(installed), Names(expected));
    for (const auto& [name, bytes] : expected) {
      EXPECT_TRUE(installed.count(name) && installed[name] == bytes) << name << " differs from the shipped one";
    }
    EXPECT_TRUE(IsFolder(folder + "config")) << "no settings folder";

    EXPECT_EQ(RegistryString(kRunKey, kProductName).value_or("(none)"), "\"" + folder + "KavoMonitor.exe\"");
    const Shortcut shortcut = ReadShortcut(ShortcutPath());
    ASSERT_TRUE(shortcut.read) << "no shortcut " << ShortcutPath();
    EXPECT_TRUE(SameFolderPath(shortcut.target, folder + "KavoMonitor.exe")) << shortcut.target;
    EXPECT_EQ(shortcut.arguments, "1");

    EXPECT_EQ(RegistryString(kUninstallKey, "DisplayName").value_or(""), kProductName);
    EXPECT_EQ(RegistryString(kUninstallKey, "Publisher").value_or(""), "VELMAR");
    EXPECT_EQ(RegistryString(kUninstallKey, "DisplayVersion").value_or(""), KAVO_VERSION);
    EXPECT_EQ(RegistryString(kUninstallKey, "DisplayIcon").value_or(""), "\"" + folder + "KavoMonitor.exe\",0");
    EXPECT_EQ(RegistryString(kUninstallKey, "QuietUninstallString").value_or(""),
              "\"" + folder + "Uninstall.exe\" /S");
    EXPECT_EQ(RegistryString(kUninstallKey, "UninstallString").value_or(""), "\"" + folder + "Uninstall.exe\"");
    EXPECT_TRUE(SameFolderPath(RegistryString(kUninstallKey, "InstallLocation").value_or(""), folder));
    std::size_t shippedBytes = 0;
    for (const auto& entry : expected) shippedBytes += entry.second.size();
    const DWORD sizeKb = RegistryNumber(kUninstallKey, "EstimatedSize").value_or(0);
    EXPECT_GE(sizeKb, shippedBytes / 1024) << "the size is in kilobytes and counts every file";
    EXPECT_LE(sizeKb, shippedBytes / 1024 + 1024);

    if (c.started) {
      EXPECT_TRUE(WaitFor([] { return FindTitled(kMonitorTitle) != nullptr; }, 15000, 100))
          << "/START did not start the service";
    } else {
      ::Sleep(1500);
      EXPECT_EQ(FindTitled(kMonitorTitle), nullptr) << "a silent install started the service unasked";
    }
  }
}

TEST_F(InstallerTest, TheInstalledServiceStartsFromTheRunCommandLine) {
  struct Case {
    const char* switches;
    bool simulated;
  };
  for (const Case& c : {Case{"/S /SIMULATED", true}, Case{"/S", false}}) {
    SCOPED_TRACE(c.switches);
    CleanUp();
    ASSERT_EQ(RunSetup(c.switches), 0u);
    ChildProcess service = StartAsTheSessionDoes();
    ASSERT_TRUE(service.handle);
    if (c.simulated) {
      ASSERT_TRUE(WaitForMouseRead()) << "the simulated mouse was not read";
      EXPECT_EQ(ProfileFiles().size(), 5u) << "the five profiles read from the mouse were not saved";
    } else {
      // Without a device library the service runs as with no mouse attached, and says nothing.
      ASSERT_TRUE(WaitFor([] { return Setting("Device") == 0; }, kReadTimeoutMs, 250));
      ::Sleep(2000);
      EXPECT_TRUE(service.Running());
      for (HWND window : TopLevelWindows(service.id, "")) {
        EXPECT_FALSE(::IsWindowVisible(window)) << "the service showed a window without the device library";
      }
    }
    ::PostMessageA(FindTitled(kMonitorTitle), WM_CLOSE, 0, 0);
    EXPECT_TRUE(service.WaitForExit(kExitTimeoutMs));
    EXPECT_EQ(service.ExitCode(), 0u);
  }
}

// ---------------------------------------------------------------------------------------------------------
// Upgrade

TEST_F(InstallerTest, AnUpgradeKeepsTheSettingsByteForByteAndReplacesThePrograms) {
  InstallAndRunOnce();
  const std::string folder = InstallFolder();
  // The user's own changes to every settings file.
  for (const auto& [name, bytes] : SettingsFiles()) {
    ASSERT_TRUE(WriteBytes(folder + name, bytes + "; changed by the user\r\n")) << name;
  }
  const FileTree settings = SettingsFiles();
  ASSERT_EQ(settings.size(), 7u) << "config.ini, five profiles and the sequence file";
  // An older version's programs: changed, and one help library missing.
  ASSERT_TRUE(WriteBytes(folder + "KavoOption.exe", "an older configuration program"));
  ASSERT_TRUE(::DeleteFileA((folder + "help\\German_help.dll").c_str()));

  // The earlier choice of the simulated mouse holds without the switch.
  ASSERT_EQ(RunSetup("/S"), 0u);
  EXPECT_EQ(SettingsFiles(), settings);
  FileTree installed = Tree(folder);
  for (const auto& [name, bytes] : Tree(ProgramFolder())) {
    if (name == "Kelsor.mouse") continue;
    EXPECT_TRUE(installed.count(name) && installed[name] == bytes) << name << " was not replaced";
  }
}

// The service and the configuration program run while the setup or the uninstaller starts: both end
// before any file changes, the service having let go of the mouse, and its files are whole.
TEST_F(InstallerTest, AnUpgradeAndAnUninstallCloseTheRunningProgramsFirst) {
  struct Case {
    const char* name;
    bool upgrade;
  };
  for (const Case& c : {Case{"upgrade", true}, Case{"uninstall", false}}) {
    SCOPED_TRACE(c.name);
    CleanUp();
    InstallAndRunOnce();
    ChildProcess service = StartAsTheSessionDoes();
    ASSERT_TRUE(WaitForMouseRead());
    // The Start menu's shortcut while the service runs: the configuration program opens.
    const Shortcut shortcut = ReadShortcut(ShortcutPath());
    ChildProcess second = StartCommandLine("\"" + shortcut.target + "\" " + shortcut.arguments, "C:\\");
    ASSERT_TRUE(second.WaitForExit(10000));
    ASSERT_TRUE(WaitFor([] { return FindTitled(kOptionTitle) != nullptr; }, 20000, 100))
        << "the shortcut did not open the configuration program";
    EndedProgram option = OwnerOf(FindTitled(kOptionTitle));
    ASSERT_TRUE(option.handle);
    ::Sleep(1000);  // let it settle on the service's record

    const DWORD code = c.upgrade ? RunSetup("/S") : RunQuietUninstall("");
    EXPECT_EQ(code, 0u);
    ASSERT_TRUE(service.WaitForExit(0)) << "the service still runs";
    EXPECT_TRUE(option.Ended()) << "the configuration program still runs";
    EXPECT_EQ(service.ExitCode(), 0u) << "the service was not closed as it should be";
    EXPECT_EQ(option.ExitCode(), 0u) << "the configuration program was not closed as it should be";
    EXPECT_EQ(ProcessesNamed("KavoOSD.exe").size(), 0u) << "the display outlived the service";

    const std::string folder = InstallFolder();
    const int device = Setting("Device");
    EXPECT_TRUE(device == 0 || device == 1) << "config.ini is not whole";
    EXPECT_GE(Setting("CurrentProfile"), 0);
    ASSERT_EQ(ProfileFiles().size(), 5u);
    for (const auto& name : ProfileFiles()) {
      const std::string bytes = ReadBytes(folder + "config\\" + name).value_or("");
      EXPECT_TRUE(bytes.size() > 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0) << name << " is cut short";
    }
    if (c.upgrade) {
      EXPECT_EQ(HostActive(), 0) << "the mouse was not told the host software ended";
    }
  }
}

// A service that does not end when asked (here: its single-instance mutex held by the test, with no window
// to close) is waited for a bounded time and never killed; the silent setup then gives up with exit code 2
// and changes nothing.
TEST_F(InstallerTest, AServiceThatDoesNotEndStopsTheSetupWithNothingChanged) {
  ASSERT_EQ(RunSetup("/S"), 0u);
  const std::string program = InstallFolder() + "KavoOption.exe";
  ASSERT_TRUE(WriteBytes(program, "an older configuration program"));
  {
    win32::UniqueKernelHandle held(::CreateMutexA(nullptr, FALSE, kServiceMutex));
    ASSERT_TRUE(held);
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(RunSetup("/S"), 2u);
    EXPECT_GE(::GetTickCount() - start, 20000u) << "the setup did not wait for the service to end";
  }
  EXPECT_EQ(ReadBytes(program).value_or(""), "an older configuration program") << "a program was replaced";
  // Once it ends, the setup goes through.
  EXPECT_EQ(RunSetup("/S"), 0u);
  EXPECT_EQ(ReadBytes(program), ReadBytes(ProgramFolder() + "KavoOption.exe"));
}

// ---------------------------------------------------------------------------------------------------------
// Uninstall

TEST_F(InstallerTest, UninstallRemovesEverythingButTheSettingsUnlessAskedTo) {
  struct Case {
    const char* switches;
    bool keepsSettings;
  };
  for (const Case& c : {Case{"", true}, Case{" /REMOVESETTINGS", false}}) {
    SCOPED_TRACE(c.keepsSettings ? "settings kept" : "settings removed");
    CleanUp();
    InstallAndRunOnce();
    const FileTree settings = SettingsFiles();
    ASSERT_EQ(settings.size(), 7u);

    EXPECT_EQ(RunQuietUninstall(c.switches), 0u);
    EXPECT_FALSE(RegistryString(kRunKey, kProductName)) << "the Run value is left";
    EXPECT_FALSE(RegistryKeyExists(kUninstallKey)) << "the uninstall entry is left";
    EXPECT_FALSE(Exists(ShortcutPath())) << "the shortcut is left";
    if (c.keepsSettings) {
      EXPECT_EQ(Tree(InstallFolder()), settings) << "more than the settings is left, or they changed";
      auto left = TempFolder::List(InstallFolder());
      std::sort(left.begin(), left.end());
      EXPECT_EQ(left, (std::vector<std::string>{"config", "config.ini"}));
    } else {
      EXPECT_FALSE(Exists(InstallFolder())) << "the folder is left";
    }
  }
}

}  // namespace
}  // namespace kavo::wine_test
