// kavo-sim.exe: drives the simulated mouse of its own folder from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "outside/device-sim/sim_commands.h"
#include "outside/device-sim/win32/shared_mouse.h"
#include "platform/win32/module_folder.h"

int main(int argc, char** argv) {
  using namespace kavo::sim;
  const std::vector<std::string> words(argv + 1, argv + argc);
  std::string error;
  const auto command = ParseSimCommand(words, error);
  if (!command) {
    std::fprintf(stderr, "kavo-sim: %s\n\n%s", error.c_str(), SimUsage().c_str());
    return 2;
  }
  const std::string folder = kavo::win32::ModuleFolder();
  const auto mouse = win32::SharedMouse::Open(folder);
  if (!mouse) {
    std::fprintf(stderr, "kavo-sim: cannot open the mouse's mutex and event (error %lu)\n", ::GetLastError());
    return 1;
  }
  SimOutcome outcome;
  if (!mouse->Access([&](MouseMemory& memory) { outcome = RunSimCommand(*command, memory); })) {
    std::fprintf(stderr, "kavo-sim: cannot reach the mouse memory %s\n",
                 win32::NamesForFolder(folder).memoryFile.c_str());
    return 1;
  }
  std::fputs(outcome.output.c_str(), stdout);
  if (!outcome.notice.empty()) std::fprintf(stderr, "kavo-sim: %s\n", outcome.notice.c_str());
  return 0;
}
