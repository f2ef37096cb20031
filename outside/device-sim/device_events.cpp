#include "outside/device-sim/device_events.h"

#include <algorithm>

namespace kavo::sim {
namespace {

void Push(MouseMemory& memory, const PendingMessage& message) {
  if (memory.pendingCount == kPendingCapacity) {
    std::copy(memory.pending.begin() + 1, memory.pending.end(), memory.pending.begin());
    --memory.pendingCount;
  }
  memory.pending[memory.pendingCount++] = message;
}

}  // namespace

void QueueEvent(MouseMemory& memory, std::uint16_t eventClass, std::uint16_t data) {
  if (!memory.listener.registered || !memory.plugged) return;
  Push(memory, PendingMessage{MessageKind::kEvent, eventClass, data});
}

void QueuePresence(MouseMemory& memory, bool arrived) {
  if (!memory.listener.registered) return;
  Push(memory, PendingMessage{MessageKind::kPresence, 0, static_cast<std::uint16_t>(arrived ? 1 : 0)});
}

void RegisterListener(MouseMemory& memory, std::uint32_t process, std::uint64_t window, std::uint32_t eventMessage,
                      std::uint32_t presenceMessage) {
  memory.listener = Listener{true, process, window, eventMessage, presenceMessage};
  memory.pendingCount = 0;
  memory.pending = {};
}

bool UnregisterListener(MouseMemory& memory, std::uint32_t process) {
  if (!memory.listener.registered || memory.listener.process != process) return false;
  memory.listener = Listener{};
  memory.pendingCount = 0;
  memory.pending = {};
  return true;
}

std::vector<PendingMessage> TakePending(MouseMemory& memory) {
  std::vector<PendingMessage> messages(memory.pending.begin(), memory.pending.begin() + memory.pendingCount);
  memory.pendingCount = 0;
  memory.pending = {};
  return messages;
}

}  // namespace kavo::sim
