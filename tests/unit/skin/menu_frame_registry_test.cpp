#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/menu_frame_registry.h"

namespace kavo::skin {
namespace {

// A frame that can only be moved, like the frame objects the hook keeps.
using Frame = std::unique_ptr<std::string>;
using Registry = MenuFrameRegistry<Frame>;

Frame Named(const char* name) { return std::make_unique<std::string>(name); }

struct BucketCase {
  std::uintptr_t handle;
  std::size_t bucket;
};

TEST(MenuFrameRegistryTest, PicksTheBucketByHandleOverSixteen) {
  const BucketCase cases[] = {{0x0, 0},           {0xF, 0},     {0x10, 1},     {0x1F, 1},
                              {16 * 999, 999},    {16 * 1000, 0}, {0x3006C, 294},  // 0x3006C / 16 = 12294
                              {UINTPTR_MAX, (UINTPTR_MAX / 16) % 1000}};
  for (const BucketCase& c : cases) EXPECT_EQ(Registry::BucketOf(c.handle), c.bucket) << std::hex << c.handle;
}

TEST(MenuFrameRegistryTest, KeepsWindowsThatShareABucketApart) {
  Registry registry;
  EXPECT_FALSE(registry.HoldsStorage());
  // Three handles in bucket 1 and one beside them.
  const std::uintptr_t first = 0x10, second = 0x10 + 16 * 1000, third = 0x1F, other = 0x20;
  ASSERT_EQ(Registry::BucketOf(first), Registry::BucketOf(second));
  ASSERT_EQ(Registry::BucketOf(first), Registry::BucketOf(third));
  EXPECT_TRUE(registry.Add(first, Named("menu")));
  EXPECT_TRUE(registry.Add(second, Named("submenu")));
  EXPECT_TRUE(registry.Add(third, Named("third")));
  EXPECT_TRUE(registry.Add(other, Named("other")));
  EXPECT_EQ(registry.size(), 4u);
  EXPECT_TRUE(registry.HoldsStorage());

  // Registering a window again keeps the frame it has.
  EXPECT_FALSE(registry.Add(second, Named("again")));
  ASSERT_NE(registry.Find(second), nullptr);
  EXPECT_EQ(**registry.Find(second), "submenu");
  EXPECT_EQ(registry.Find(0x30), nullptr);  // bucket of nothing
  EXPECT_EQ(registry.Find(0x10 + 16 * 2000), nullptr);  // right bucket, not there

  auto taken = registry.Remove(second);
  ASSERT_TRUE(taken.has_value());
  EXPECT_EQ(**taken, "submenu");
  EXPECT_EQ(registry.Find(second), nullptr);
  ASSERT_NE(registry.Find(first), nullptr);
  EXPECT_EQ(**registry.Find(first), "menu");
  ASSERT_NE(registry.Find(third), nullptr);
  EXPECT_EQ(**registry.Find(third), "third");
  EXPECT_FALSE(registry.Remove(second).has_value()) << "gone already";
  EXPECT_EQ(registry.size(), 3u);
}

TEST(MenuFrameRegistryTest, ReleasesItsStorageWhenTheLastWindowGoes) {
  Registry registry;
  EXPECT_FALSE(registry.Remove(0x40).has_value());
  EXPECT_FALSE(registry.HoldsStorage());
  registry.Add(0x40, Named("menu"));
  registry.Add(0x50, Named("submenu"));
  registry.Remove(0x40);
  EXPECT_TRUE(registry.HoldsStorage()) << "one window still wears its frame";
  registry.Remove(0x50);
  EXPECT_TRUE(registry.empty());
  EXPECT_FALSE(registry.HoldsStorage());
  // And it fills again after that.
  EXPECT_TRUE(registry.Add(0x50, Named("next")));
  ASSERT_NE(registry.Find(0x50), nullptr);
  EXPECT_EQ(**registry.Find(0x50), "next");
}

TEST(MenuFrameRegistryTest, TakeAllHandsOverEveryFrameAndEmpties) {
  Registry registry;
  EXPECT_TRUE(registry.TakeAll().empty());
  registry.Add(0x10, Named("a"));
  registry.Add(0x10 + 16 * 1000, Named("b"));
  registry.Add(0x4560, Named("c"));
  auto all = registry.TakeAll();
  std::vector<std::pair<std::uintptr_t, std::string>> seen;
  for (auto& [handle, frame] : all) seen.emplace_back(handle, *frame);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::pair<std::uintptr_t, std::string>>{
                      {0x10, "a"}, {0x10 + 16 * 1000, "b"}, {0x4560, "c"}}));
  EXPECT_TRUE(registry.empty());
  EXPECT_FALSE(registry.HoldsStorage());
  EXPECT_EQ(registry.Find(0x10), nullptr);
}

}  // namespace
}  // namespace kavo::skin
