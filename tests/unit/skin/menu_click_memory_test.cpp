// The memory that keeps the click closing a popup menu over its own button from opening it again.
#include "skin/menu_click_memory.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kavo::skin {
namespace {

constexpr MenuClickMemory::WindowId kButton = 0x1234;
constexpr MenuClickMemory::WindowId kOtherButton = 0x5678;
constexpr MenuClickMemory::WindowId kMenuArea = 0x9abc;

TEST(MenuClickMemoryTest, TheClickThatClosedTheMenuOnItsButtonOnlyClosesItAndTheNextOpensIt) {
  MenuClickMemory memory;
  ASSERT_TRUE(memory.ClickOpens(kButton, 1000));
  EXPECT_EQ(memory.opener(), kButton);
  memory.MenuClosed(kButton, 5000, false);  // closed by a press on the button, which reaches it at once
  EXPECT_FALSE(memory.ClickOpens(kButton, 5030));
  EXPECT_EQ(memory.opener(), 0u);
  EXPECT_EQ(memory.underCursor(), 0u);
  EXPECT_TRUE(memory.ClickOpens(kButton, 5060));
  EXPECT_EQ(memory.opener(), kButton);
}

TEST(MenuClickMemoryTest, AMenuClosedOtherwiseLeavesTheNextClickOpeningIt) {
  constexpr std::uint32_t kClosed = 5000;
  constexpr std::uint32_t kAtOnce = kClosed + 30;
  constexpr std::uint32_t kLate = kClosed + MenuClickMemory::kClosingClickMs;
  struct Case {
    const char* what;
    MenuClickMemory::WindowId openedBy;
    MenuClickMemory::WindowId closedOver;
    bool chosen;
    MenuClickMemory::WindowId nextClick;
    std::uint32_t nextAt;
  };
  const Case cases[] = {
      {"chosen in the menu", kButton, kMenuArea, true, kButton, kAtOnce},
      // Return or an accelerator while the pointer still rests on the button: the next click is new.
      {"chosen with a key over the button", kButton, kButton, true, kButton, kAtOnce},
      {"closed outside every window", kButton, 0, false, kButton, kAtOnce},
      {"closed over the button, another button clicked", kButton, kButton, false, kOtherButton, kAtOnce},
      {"opened by another button, closed over this one", kOtherButton, kButton, false, kButton, kAtOnce},
      // Escape with the pointer on the button, or a closing press the system swallowed: the user's
      // next click comes later and must open the menu.
      {"closed over the button, clicked again later", kButton, kButton, false, kButton, kLate},
  };
  for (const Case& c : cases) {
    MenuClickMemory memory;
    ASSERT_TRUE(memory.ClickOpens(c.openedBy, 1000)) << c.what;
    memory.MenuClosed(c.closedOver, kClosed, c.chosen);
    EXPECT_TRUE(memory.ClickOpens(c.nextClick, c.nextAt)) << c.what;
    EXPECT_EQ(memory.opener(), c.nextClick) << c.what;
  }
}

TEST(MenuClickMemoryTest, TheClosingClickIsRecognisedAcrossTheTickCountWrapping) {
  MenuClickMemory memory;
  ASSERT_TRUE(memory.ClickOpens(kButton, 0xFFFFFF00u));
  memory.MenuClosed(kButton, 0xFFFFFFF0u, false);
  EXPECT_FALSE(memory.ClickOpens(kButton, 0x20u));
  EXPECT_TRUE(memory.ClickOpens(kButton, 0x30u));
}

}  // namespace
}  // namespace kavo::skin
