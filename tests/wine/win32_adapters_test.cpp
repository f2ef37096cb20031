// The Win32 adapters against the real registry, file system and keyboard layout.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "settings/key_tables.h"
#include "platform/win32/module_folder.h"
#include "settings/win32/win32_file_system.h"
#include "settings/win32/win32_keyboard_layout.h"
#include "settings/win32/win32_registry.h"
#include "settings/windows_settings.h"
#include "tests/wine/control_panel_backup.h"
#include "tests/wine/no_sharing_holder.h"
#include "tests/wine/temp_folder.h"

namespace kavo::wine_test {
namespace {

// ---- registry

class Win32RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // only goes when no other run left keys in it
  }

  // Stores a value as it is, bypassing the adapter.
  void Store(const std::string& path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
  }

  static constexpr char kParent[] = "Software\\KavoTest";
  const std::string root_ = std::string(kParent) + "\\" + std::to_string(::GetCurrentProcessId());
  win32::Win32Registry registry_;
};

TEST_F(Win32RegistryTest, OpenOrCreateMakesMissingKeysAndOpensExistingOnes) {
  const std::string path = root_ + "\\Nested\\Deeper";
  auto created = registry_.OpenOrCreate(path);
  ASSERT_NE(created, nullptr);
  ASSERT_TRUE(created->WriteString("Value", "kept"));
  created.reset();

  HKEY raw = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &raw), ERROR_SUCCESS);
  ::RegCloseKey(raw);

  auto reopened = registry_.OpenOrCreate(path);
  ASSERT_NE(reopened, nullptr);
  std::string value;
  ASSERT_TRUE(reopened->ReadString("Value", value));
  EXPECT_EQ(value, "kept");
}

TEST_F(Win32RegistryTest, StringsRoundTripAsRegSz) {
  auto key = registry_.OpenOrCreate(root_);
  ASSERT_NE(key, nullptr);
  const std::string values[] = {"", "-1", "two words", std::string(79, 'x')};
  for (const auto& text : values) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(key->WriteString("Text", text));
    std::string read = "stale";
    ASSERT_TRUE(key->ReadString("Text", read));
    EXPECT_EQ(read, text);

    // The Control Panel values Windows itself reads are plain strings. (Under Wine the size cannot show
    // whether the terminator was stored: its ANSI query adds a missing one.)
    DWORD type = 0;
    EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, root_.c_str(), "Text", RRF_RT_ANY, &type, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  }
}

TEST_F(Win32RegistryTest, ReadsOnlyStringsThatFitEightyBytes) {
  struct Stored {
    const char* name;
    DWORD type;
    std::string bytes;  // as stored, terminator included where there is one
    std::optional<std::string> read;
  };
  const DWORD number = 42;
  // No case of 80 characters without a terminator: Wine's ANSI query wants room to add one, Windows not.
  const Stored cases[] = {
      {"79 characters and terminator", REG_SZ, std::string(79, 'a') + '\0', std::string(79, 'a')},
      {"79 characters, no terminator", REG_SZ, std::string(79, 'b'), std::string(79, 'b')},
      {"80 characters and terminator", REG_SZ, std::string(80, 'c') + '\0', std::nullopt},
      {"200 characters", REG_SZ, std::string(200, 'd') + '\0', std::nullopt},
      {"expandable string, not expanded", REG_EXPAND_SZ, std::string("%TEMP%\\x") + '\0', std::string("%TEMP%\\x")},
      {"number", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number), std::nullopt},
  };
  for (const auto& stored : cases) {
    Store(root_, stored.name, stored.type, stored.bytes.data(), static_cast<DWORD>(stored.bytes.size()));
  }
  auto key = registry_.OpenOrCreate(root_);
  ASSERT_NE(key, nullptr);
  for (const auto& stored : cases) {
    SCOPED_TRACE(stored.name);
    std::string read = "untouched";
    const bool ok = key->ReadString(stored.name, read);
    EXPECT_EQ(ok, stored.read.has_value());
    EXPECT_EQ(read, stored.read.value_or("untouched"));
  }
  std::string read;
  EXPECT_FALSE(key->ReadString("missing", read));
}

// The active profile's pointer settings in the real "Control Panel" keys, put back afterwards.
TEST(WindowsSettingsInRegistry, ProfileGoesIntoControlPanelAndComesBack) {
  ControlPanelBackup backup;
  win32::Win32Registry registry;
  struct Case {
    const char* name;
    int doubleClick, wheelSpeed, wheelFlag, mouseSpeed, acceleration, accelerationFlag, tilt;
    const char* stored[7];  // DoubleClickSpeed, MouseSensitivity, MouseSpeed, MouseThreshold1, MouseThreshold2,
                            // WheelScrollLines, WheelScrollChars
  };
  const Case cases[] = {
      {"no acceleration", 500, 3, 0, 10, 0, 0, 3, {"500", "10", "0", "0", "0", "3", "3"}},
      {"acceleration row 5", 250, 10, 0, 20, 5, 1, 1, {"250", "20", "1", "9", "0", "10", "1"}},
      {"row 15, a page per notch", 900, 3, 1, 1, 15, 1, 100, {"900", "1", "2", "4", "9", "-1", "100"}},
  };
  const char* const names[7][2] = {
      {"Control Panel\\Mouse", "DoubleClickSpeed"}, {"Control Panel\\Mouse", "MouseSensitivity"},
      {"Control Panel\\Mouse", "MouseSpeed"},       {"Control Panel\\Mouse", "MouseThreshold1"},
      {"Control Panel\\Mouse", "MouseThreshold2"},  {"Control Panel\\Desktop", "WheelScrollLines"},
      {"Control Panel\\Desktop", "WheelScrollChars"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileRecord written = {};
    written.DbleClickSpeed = c.doubleClick;
    written.ScrollWheelSpeed = c.wheelSpeed;
    written.ScrollWheelFlag = c.wheelFlag;
    written.MouseSpeed = c.mouseSpeed;
    written.Acceleration = c.acceleration;
    written.AccelerationFlag = c.accelerationFlag;
    written.TiltSpeed = c.tilt;
    ASSERT_EQ(WriteWindowsSettings(registry, written), 1);
    for (int i = 0; i < 7; ++i) {
      char text[100] = {};
      DWORD size = sizeof text;
      ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, names[i][0], names[i][1], RRF_RT_REG_SZ, nullptr, text, &size),
                ERROR_SUCCESS)
          << names[i][1];
      EXPECT_STREQ(text, c.stored[i]) << names[i][1];
    }

    ProfileRecord read = {};
    ASSERT_EQ(ReadWindowsSettings(registry, read), 1);
    EXPECT_EQ(read.DbleClickSpeed, c.doubleClick);
    EXPECT_EQ(read.ScrollWheelSpeed, c.wheelSpeed);
    EXPECT_EQ(read.ScrollWheelFlag, c.wheelFlag);
    EXPECT_EQ(read.MouseSpeed, c.mouseSpeed);
    EXPECT_EQ(read.Acceleration, c.acceleration);
    EXPECT_EQ(read.AccelerationFlag, c.accelerationFlag);
    EXPECT_EQ(read.TiltSpeed, c.tilt);
  }
}

// ---- files

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder_.path().empty()) << "no temporary folder"; }

  TempFolder folder_;
  win32::Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, ReplaceStoresExactlyTheBytesAndLeavesNoTemporaryFile) {
  std::string big(3 << 20, '\0');  // more than one write chunk
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 + (i >> 12));
  const std::string contents[] = {
      big,
      "short\r\ntext\n",
      std::string("\0\xff\r\n\x1a", 5),
      "",
  };
  const std::string path = folder_.File("target.ini");
  for (const auto& content : contents) {
    SCOPED_TRACE(content.size());
    ASSERT_TRUE(files_.Replace(path, content));
    std::string read = "stale";
    ASSERT_TRUE(files_.Read(path, read));
    EXPECT_TRUE(read == content) << "read " << read.size() << " bytes";
    EXPECT_EQ(TempFolder::List(folder_.path()), std::vector<std::string>{"target.ini"});
  }
}

TEST_F(Win32FileSystemTest, ReplaceIntoMissingFolderFailsAndLeavesNothing) {
  EXPECT_FALSE(files_.Replace(folder_.File("missing\\target.ini"), "content"));
  EXPECT_TRUE(TempFolder::List(folder_.path()).empty());
}

// Another program holding the file without sharing: the replacement fails and takes nothing with it.
TEST_F(Win32FileSystemTest, FileHeldOpenKeepsItsContent) {
  const std::string path = folder_.File("held.ini");
  ASSERT_TRUE(files_.Replace(path, "old"));
  const HANDLE held =
      ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(files_.Replace(path, "new"));
  ::CloseHandle(held);
  std::string read;
  ASSERT_TRUE(files_.Read(path, read));
  EXPECT_EQ(read, "old");
  EXPECT_EQ(TempFolder::List(folder_.path()), std::vector<std::string>{"held.ini"});
}

// Another program reading the file (as the private-profile functions do, without delete sharing) only
// delays the replacement.
TEST_F(Win32FileSystemTest, AReaderForAMomentDelaysTheReplacement) {
  const std::string path = folder_.File("read.ini");
  ASSERT_TRUE(files_.Replace(path, "old"));
  const HANDLE reader = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  std::thread closer([reader] {
    ::Sleep(100);
    ::CloseHandle(reader);
  });
  EXPECT_TRUE(files_.Replace(path, "new"));
  closer.join();
  std::string read;
  ASSERT_TRUE(files_.Read(path, read));
  EXPECT_EQ(read, "new");
  EXPECT_EQ(TempFolder::List(folder_.path()), std::vector<std::string>{"read.ini"});
}

TEST_F(Win32FileSystemTest, AMissingFileIsToldApartFromOneThatCannotBeRead) {
  const std::string path = folder_.File("held.ini");
  ASSERT_TRUE(files_.Replace(path, "[Setting]\r\nA=1\r\n"));
  std::string read;
  EXPECT_TRUE(files_.Read(folder_.File("absent.ini"), read) == FileRead::kMissing);
  EXPECT_TRUE(files_.Read(folder_.File("absent\\in folder.ini"), read) == FileRead::kMissing);
  {
    NoSharingHolder holder(path);
    ASSERT_TRUE(holder.holds());
    const DWORD start = ::GetTickCount();
    EXPECT_TRUE(files_.Read(path, read) == FileRead::kUnreadable);
    EXPECT_GE(::GetTickCount() - start, 250u) << "a held file is waited for before it counts as unreadable";
  }
  ASSERT_TRUE(files_.Read(path, read) == FileRead::kRead);
  EXPECT_EQ(read, "[Setting]\r\nA=1\r\n");
}

TEST_F(Win32FileSystemTest, AFileHeldForAMomentIsReadOnceItIsFree) {
  const std::string path = folder_.File("held.ini");
  ASSERT_TRUE(files_.Replace(path, "content"));
  NoSharingHolder holder(path);
  ASSERT_TRUE(holder.holds());
  holder.ReleaseAfter(100);
  std::string read;
  EXPECT_TRUE(files_.Read(path, read) == FileRead::kRead);
  EXPECT_EQ(read, "content");
}

TEST_F(Win32FileSystemTest, MissingFilesAreNeitherReadNorRemoved) {
  const std::string path = folder_.File("file.ini");
  std::string read = "untouched";
  EXPECT_FALSE(files_.Read(path, read));
  EXPECT_FALSE(files_.IsReadable(path));
  EXPECT_FALSE(files_.Remove(path));

  ASSERT_TRUE(files_.Replace(path, "x"));
  EXPECT_TRUE(files_.IsReadable(path));
  EXPECT_TRUE(files_.Remove(path));
  EXPECT_FALSE(files_.IsReadable(path));
  EXPECT_FALSE(files_.Read(path, read));
}

TEST(ModuleFolderTest, IsTheFolderOfThisProgram) {
  const std::string folder = win32::ModuleFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  win32::Win32FileSystem files;
  EXPECT_TRUE(files.IsReadable(folder + "settings_wine_tests.exe"));
}

// ---- keyboard layout (Wine under Xvfb gives the US layout)

TEST(Win32KeyboardLayoutTest, UsLayoutKeys) {
  win32::Win32KeyboardLayout layout;
  struct Key {
    int virtualKey;
    int scanCode;
    std::optional<char> character;
  };
  const Key keys[] = {
      {'A', 30, 'a'}, {'Q', 16, 'q'},   {'Z', 44, 'z'},           {'1', 2, '1'},
      {'0', 11, '0'}, {VK_OEM_MINUS, 12, '-'}, {VK_SPACE, 57, ' '}, {VK_F1, 59, std::nullopt},
  };
  for (const auto& key : keys) {
    SCOPED_TRACE(key.virtualKey);
    EXPECT_EQ(layout.ScanCodeOfVirtualKey(key.virtualKey), key.scanCode);
    EXPECT_EQ(layout.VirtualKeyOfScanCode(key.scanCode), key.virtualKey);
    EXPECT_EQ(layout.CharacterOfKey(key.virtualKey, key.scanCode), key.character);
  }
  // Left and right are told apart.
  EXPECT_EQ(layout.VirtualKeyOfScanCode(42), VK_LSHIFT);
  EXPECT_EQ(layout.VirtualKeyOfScanCode(54), VK_RSHIFT);
}

TEST(Win32KeyboardLayoutTest, KeyTablesFollowTheLayout) {
  win32::Win32KeyboardLayout layout;
  EXPECT_EQ(DeviceKeyName(layout, 20), "Q");
  const KeyLookup a = VirtualKeyToDeviceKey(layout, 'A');
  EXPECT_TRUE(a.found);
  EXPECT_EQ(a.code, 4);
  // On the US layout every key sits where the table puts it, both ways.
  for (const auto& row : kKeyCodeTable) {
    SCOPED_TRACE("device key " + std::to_string(row.deviceKey));
    const KeyLookup virtualKey = DeviceKeyToVirtualKey(layout, row.deviceKey);
    EXPECT_TRUE(virtualKey.found);
    EXPECT_EQ(virtualKey.code, row.virtualKey);
    const KeyLookup deviceKey = VirtualKeyToDeviceKey(layout, row.virtualKey);
    EXPECT_TRUE(deviceKey.found);
    EXPECT_EQ(deviceKey.code, row.deviceKey);
  }
}

}  // namespace
}  // namespace kavo::wine_test
