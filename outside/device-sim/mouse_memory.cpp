#include "outside/device-sim/mouse_memory.h"

#include <memory>

namespace kavo::sim {
namespace {

constexpr char kMagic[4] = {'K', 'V', 'S', 'M'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kChecksumSize = 4;
constexpr std::uint8_t kLastSlot = kButtonSlotCount - 1;

class Writer {
 public:
  void U8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
  void U16(std::uint16_t value) { Little(value, 2); }
  void U32(std::uint32_t value) { Little(value, 4); }
  void U64(std::uint64_t value) { Little(value, 8); }
  std::string& bytes() { return bytes_; }

 private:
  void Little(std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) U8(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  std::string bytes_;
};

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  std::uint8_t U8() { return static_cast<std::uint8_t>(Little(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Little(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Little(4)); }
  std::uint64_t U64() { return Little(8); }
  bool overrun() const { return overrun_; }
  std::size_t position() const { return position_; }

 private:
  std::uint64_t Little(int width) {
    if (bytes_.size() - position_ < static_cast<std::size_t>(width)) {
      overrun_ = true;
      return 0;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < width; ++i) {
      value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(bytes_[position_ + i])) << (8 * i);
    }
    position_ += width;
    return value;
  }
  std::string_view bytes_;
  std::size_t position_ = 0;
  bool overrun_ = false;
};

void WritePayload(Writer& out, const MouseMemory& memory) {
  for (const ProfileMemory& profile : memory.profiles) {
    for (std::uint8_t value : profile.settings) out.U8(value);
    for (std::uint8_t code : profile.buttons) out.U8(code);
  }
  out.U8(memory.activeProfile);
  out.U8(memory.firmware);
  out.U16(memory.productId);
  out.U8(memory.hostActive);
  out.U32(memory.resetRequests);
  out.U8(memory.plugged ? 1 : 0);
  out.U32(memory.attachment);
  out.U8(memory.selection.profile);
  out.U8(memory.selection.kind);
  out.U8(memory.status);
  out.U32(memory.faults.busy);
  out.U32(memory.faults.fail);
  out.U32(memory.faults.badChecksum);
  for (const HeldInput& held : memory.held) {
    out.U8(held.slot);
    out.U8(held.function);
  }
  out.U8(memory.listener.registered ? 1 : 0);
  out.U32(memory.listener.process);
  out.U64(memory.listener.window);
  out.U32(memory.listener.eventMessage);
  out.U32(memory.listener.presenceMessage);
  out.U8(memory.pendingCount);
  // Every place of the queue is written so that the payload has one fixed size.
  for (const PendingMessage& message : memory.pending) {
    out.U8(static_cast<std::uint8_t>(message.kind));
    out.U16(message.eventClass);
    out.U16(message.data);
  }
}

std::size_t PayloadSize() {
  Writer probe;
  WritePayload(probe, MouseMemory{});
  return probe.bytes().size();
}

bool ReadBool(Reader& in, bool& value) {
  const std::uint8_t byte = in.U8();
  value = byte == 1;
  return byte <= 1;
}

bool IsHeldSlot(std::uint8_t slot) { return slot <= kLastSlot || slot == kHeldForWheel || slot == kNotHeld; }

bool ReadPayload(Reader& in, MouseMemory& memory) {
  bool valid = true;
  for (ProfileMemory& profile : memory.profiles) {
    for (std::uint8_t& value : profile.settings) value = in.U8();
    for (std::uint8_t& code : profile.buttons) code = in.U8();
  }
  memory.activeProfile = in.U8();
  valid &= memory.activeProfile < kProfileCount;
  memory.firmware = in.U8();
  memory.productId = in.U16();
  memory.hostActive = in.U8();
  valid &= memory.hostActive <= 1;
  memory.resetRequests = in.U32();
  valid &= ReadBool(in, memory.plugged);
  memory.attachment = in.U32();
  memory.selection.profile = in.U8();
  memory.selection.kind = in.U8();
  valid &= memory.selection.profile < kProfileCount;
  valid &= memory.selection.kind == kSelectNothing || memory.selection.kind == kSelectSettings ||
           memory.selection.kind == kSelectButtons;
  memory.status = in.U8();
  memory.faults.busy = in.U32();
  memory.faults.fail = in.U32();
  memory.faults.badChecksum = in.U32();
  for (HeldInput& held : memory.held) {
    held.slot = in.U8();
    held.function = in.U8();
    valid &= IsHeldSlot(held.slot);
  }
  valid &= ReadBool(in, memory.listener.registered);
  memory.listener.process = in.U32();
  memory.listener.window = in.U64();
  memory.listener.eventMessage = in.U32();
  memory.listener.presenceMessage = in.U32();
  memory.pendingCount = in.U8();
  valid &= memory.pendingCount <= kPendingCapacity;
  for (std::size_t i = 0; i < memory.pending.size(); ++i) {
    PendingMessage& message = memory.pending[i];
    const std::uint8_t kind = in.U8();
    message.kind = static_cast<MessageKind>(kind);
    message.eventClass = in.U16();
    message.data = in.U16();
    if (i < memory.pendingCount) {
      valid &= kind == static_cast<std::uint8_t>(MessageKind::kEvent) ||
               kind == static_cast<std::uint8_t>(MessageKind::kPresence);
    }
  }
  return valid && !in.overrun();
}

}  // namespace

MouseMemory FactoryMemory() {
  MouseMemory memory;
  ResetProfiles(memory);
  memory.firmware = 141;
  memory.productId = 0x2CF6;
  memory.plugged = true;
  memory.attachment = 1;
  memory.status = 1;
  return memory;
}

void ResetProfiles(MouseMemory& memory) {
  // The defaults are the host's profile defaults, so a reset mouse and a reset record agree.
  auto defaults = std::make_unique<ProfileRecord>();
  for (int p = 0; p < kProfileCount; ++p) {
    ResetProfile(*defaults, p);
    ProfileMemory& profile = memory.profiles[p];
    const std::int32_t values[kDeviceSettingCount] = {
        defaults->XYSynchronous, defaults->Sensitivity_X, defaults->Sensitivity_Y, defaults->Cpi_X,
        defaults->Cpi_Y,         defaults->LightSwitch,   defaults->LightType,     defaults->Orientation};
    for (int s = 0; s < kDeviceSettingCount; ++s) profile.settings[s] = static_cast<std::uint8_t>(values[s]);
    for (int b = 0; b < kButtonSlotCount; ++b) profile.buttons[b] = defaults->buttons[b].function;
  }
  memory.activeProfile = 0;
}

std::uint32_t MemoryFileChecksum(std::string_view bytes) {
  std::uint32_t hash = 2166136261u;
  for (char c : bytes) {
    hash ^= static_cast<std::uint8_t>(c);
    hash *= 16777619u;
  }
  return hash;
}

std::string SaveMemory(const MouseMemory& memory) {
  Writer payload;
  WritePayload(payload, memory);
  Writer file;
  for (char c : kMagic) file.U8(static_cast<std::uint8_t>(c));
  file.U16(kVersion);
  file.U16(0);
  file.U32(static_cast<std::uint32_t>(payload.bytes().size()));
  file.bytes() += payload.bytes();
  file.U32(MemoryFileChecksum(file.bytes()));
  return std::move(file.bytes());
}

bool LoadMemory(std::string_view bytes, MouseMemory& memory) {
  static const std::size_t kPayloadSize = PayloadSize();
  memory = FactoryMemory();
  if (bytes.size() != kHeaderSize + kPayloadSize + kChecksumSize) return false;
  if (bytes.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic)) return false;
  Reader header(bytes.substr(sizeof kMagic, kHeaderSize - sizeof kMagic));
  if (header.U16() != kVersion) return false;
  header.U16();
  if (header.U32() != kPayloadSize) return false;
  const std::string_view sealed = bytes.substr(0, bytes.size() - kChecksumSize);
  Reader trailer(bytes.substr(sealed.size()));
  if (trailer.U32() != MemoryFileChecksum(sealed)) return false;

  MouseMemory loaded;
  Reader payload(bytes.substr(kHeaderSize, kPayloadSize));
  if (!ReadPayload(payload, loaded) || payload.position() != kPayloadSize) return false;
  memory = loaded;
  return true;
}

}  // namespace kavo::sim
