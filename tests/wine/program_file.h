#pragma once
// What a program file says of itself, read from the file as data so that a test of either build can look at
// the programs of both: the machine it was built for, the names it exports and its manifest.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace kavo::wine_test {

struct ProgramFile {
  WORD machine = 0;
  std::vector<std::string> exports;

  // Empty when the file is missing or is no intact PE image (every offset checked against the file).
  static std::optional<ProgramFile> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Reader reader{bytes};
    IMAGE_DOS_HEADER dos{};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    if (!reader.At(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0 ||
        !reader.At(dos.e_lfanew, signature) || signature != IMAGE_NT_SIGNATURE ||
        !reader.At(dos.e_lfanew + sizeof signature, header)) {
      return std::nullopt;
    }
    ProgramFile program;
    program.machine = header.Machine;
    const std::size_t optional = dos.e_lfanew + sizeof signature + sizeof header;
    WORD magic = 0;
    if (!reader.At(optional, magic)) return std::nullopt;
    // The data directories follow the optional header's fields, whose size differs between the two formats.
    std::size_t directories = 0;
    DWORD directoryCount = 0;
    std::size_t countField = 0;
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
      directories = optional + offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory);
      countField = optional + offsetof(IMAGE_OPTIONAL_HEADER32, NumberOfRvaAndSizes);
    } else if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
      directories = optional + offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory);
      countField = optional + offsetof(IMAGE_OPTIONAL_HEADER64, NumberOfRvaAndSizes);
    } else {
      return std::nullopt;
    }
    if (!reader.At(countField, directoryCount)) return std::nullopt;
    reader.sections = optional + header.SizeOfOptionalHeader;
    reader.sectionCount = header.NumberOfSections;
    IMAGE_DATA_DIRECTORY exportDirectory{};
    if (directoryCount > IMAGE_DIRECTORY_ENTRY_EXPORT &&
        reader.At(directories + IMAGE_DIRECTORY_ENTRY_EXPORT * sizeof exportDirectory, exportDirectory) &&
        exportDirectory.VirtualAddress != 0) {
      IMAGE_EXPORT_DIRECTORY table{};
      if (!reader.AtAddress(exportDirectory.VirtualAddress, table)) return std::nullopt;
      for (DWORD i = 0; i < table.NumberOfNames; ++i) {
        DWORD name = 0;
        std::string text;
        if (!reader.AtAddress(table.AddressOfNames + i * sizeof name, name) || !reader.TextAt(name, text)) {
          return std::nullopt;
        }
        program.exports.push_back(text);
      }
    }
    return program;
  }

 private:
  struct Reader {
    const std::vector<char>& bytes;
    std::size_t sections = 0;
    WORD sectionCount = 0;

    template <typename T>
    bool At(std::size_t offset, T& value) const {
      if (offset > bytes.size() || bytes.size() - offset < sizeof value) return false;
      std::memcpy(&value, bytes.data() + offset, sizeof value);
      return true;
    }
    // The file offset of an address of the loaded image, through the section that holds it.
    std::optional<std::size_t> Offset(DWORD address) const {
      for (WORD i = 0; i < sectionCount; ++i) {
        IMAGE_SECTION_HEADER section{};
        if (!At(sections + i * sizeof section, section)) return std::nullopt;
        if (address >= section.VirtualAddress && address - section.VirtualAddress < section.SizeOfRawData) {
          return section.PointerToRawData + (address - section.VirtualAddress);
        }
      }
      return std::nullopt;
    }
    template <typename T>
    bool AtAddress(DWORD address, T& value) const {
      const auto offset = Offset(address);
      return offset && At(*offset, value);
    }
    bool TextAt(DWORD address, std::string& text) const {
      const auto offset = Offset(address);
      if (!offset || *offset >= bytes.size()) return false;
      const char* start = bytes.data() + *offset;
      const void* end = std::memchr(start, '\0', bytes.size() - *offset);
      if (end == nullptr) return false;
      text.assign(start, static_cast<const char*>(end));
      return true;
    }
  };
};

// The program's own manifest (resource 1 of type RT_MANIFEST), read without running or binding it; empty
// when there is none.
inline std::string ProgramManifest(const std::string& path) {
  const win32::UniqueModule image(
      ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!image) return {};
  std::string text;
  if (const HRSRC found = ::FindResourceA(image.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    const HGLOBAL loaded = ::LoadResource(image.get(), found);
    const DWORD size = ::SizeofResource(image.get(), found);
    if (const void* data = loaded ? ::LockResource(loaded) : nullptr) {
      text.assign(static_cast<const char*>(data), size);
    }
  }
  return text;
}

#ifdef _WIN64
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kPeerMachine = IMAGE_FILE_MACHINE_I386;
#else
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kPeerMachine = IMAGE_FILE_MACHINE_AMD64;
#endif

// The other build's program folder, as Wine names a host path (its drive Z: is the host's root).
inline std::string PeerProgramFolder() {
  std::string folder = std::string("Z:") + KAVO_PEER_PROGRAM_FOLDER;
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace kavo::wine_test
