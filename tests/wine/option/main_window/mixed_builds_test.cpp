// A user who upgrades may run a 32-bit and a 64-bit program side by side: this build's KavoMonitor.exe (with
// its device library) and the other build's KavoOption.exe share one session's block, mutex and messages.
// The 64-bit suite runs a 32-bit configuration program against its service, the 32-bit suite the reverse.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "artwork/main_settings_page.h"
#include "artwork/main_window.h"
#include "tests/wine/option_session.h"
#include "tests/wine/program_file.h"

namespace kavo::wine_test {
namespace {

constexpr std::uint8_t kProfileUp = 17;

WORD Machine(const std::string& path) {
  const auto program = ProgramFile::Read(path);
  return program ? program->machine : 0;
}

class MixedBuildsTest : public OptionSessionTest {};

}  // namespace

TEST_F(MixedBuildsTest, TheOtherBuildsConfigurationProgramShowsAndAppliesThroughThisBuildsService) {
  const std::string peer = PeerProgramFolder();
  ASSERT_EQ(Machine(peer + "KavoOption.exe"), kPeerMachine)
      << "the other build's program folder " << peer << " has no KavoOption.exe of the other machine; build both "
      << "Windows presets first";
  ASSERT_NO_FATAL_FAILURE(PrepareFolder(kProfileUp));
  ASSERT_TRUE(folder().InstallConfigurationProgram(peer)) << "copying the other build's KavoOption.exe";
  ASSERT_EQ(Machine(folder().File("KavoMonitor.exe")), kOwnMachine);
  ASSERT_EQ(Machine(folder().File("Kelsor.dll")), kOwnMachine);
  ASSERT_EQ(Machine(folder().File("KavoOption.exe")), kPeerMachine);
  ASSERT_NO_FATAL_FAILURE(StartSystem());

  // The record the service published reaches the other build's program whole: the names, the active slot.
  EXPECT_TRUE(WaitFor([&] { return ShowsActiveSlot(0); }, kOptionReactionMs)) << "the five names, slot 1 active";

  // A change made there reaches the mouse through this build's service.
  ASSERT_EQ(MouseSensitivity(0), 5);
  ASSERT_NO_FATAL_FAILURE(ClickSlider(artwork::main_settings_page::kSensitivitySlider, 7, 1, 10));
  ASSERT_NO_FATAL_FAILURE(Click(artwork::main_window::kApply));
  EXPECT_TRUE(WaitFor([&] { return MouseSensitivity(0) == 7; }, kOptionReactionMs)) << "sensitivity 7 in the mouse";
  EXPECT_EQ(MouseSensitivity(1), 5) << "another profile changed";
  auto block = FetchBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->profiles[0].Sensitivity_X, 7);
  EXPECT_EQ(block->profiles[0].Sensitivity_Y, 7);
  EXPECT_STREQ(block->profiles[4].ProFileName, kSessionProfileNames[4]);

  // A change made on the mouse is announced to it and fetched from the block.
  const auto run = folder().Sim("click 1");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_TRUE(WaitFor([&] { return ShowsActiveSlot(1); }, kOptionReactionMs)) << "slot 2 active after the mouse's step";

  ASSERT_NO_FATAL_FAILURE(CloseWith(artwork::main_window::kOk));
  EXPECT_EQ(folder().ConfigInt("CurrentProfile", -1), 1);
  EXPECT_EQ(folder().DumpLine(0), "active 1");
}

}  // namespace kavo::wine_test
