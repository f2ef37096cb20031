// Any bytes as the simulated mouse's memory file: loading either refuses them or gives a memory that saves
// back to the same bytes and answers any feature report within bounds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_checks.h"
#include "outside/device-sim/feature_answers.h"
#include "outside/device-sim/mouse_memory.h"

using kavo::fuzz::Check;
using kavo::fuzz::Terminated;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kavo::sim::MouseMemory memory;
  if (kavo::sim::LoadMemory(bytes, memory)) {
    const std::string saved = kavo::sim::SaveMemory(memory);
    kavo::sim::MouseMemory again;
    Check(kavo::sim::LoadMemory(saved, again));
    Check(kavo::sim::SaveMemory(again) == saved);
  } else {
    memory = kavo::sim::FactoryMemory();
  }
  // The tail of the input as reports of every length the host might send or ask for.
  for (std::size_t at = 0; at + 1 < size; at += 1 + data[at] % 24) {
    std::uint8_t report[32] = {};
    const std::size_t length = 1 + data[at] % 24;
    for (std::size_t i = 0; i < length && at + 1 + i < size; ++i) report[i] = data[at + 1 + i];
    kavo::sim::AnswerSetFeature(memory, report, length);
    kavo::sim::AnswerGetFeature(memory, report, length);
  }
  return 0;
}
