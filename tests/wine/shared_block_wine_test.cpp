// The shared block and its mutex as two programs see them: named objects for the current user only, closed
// to processes of lower integrity, whole copies under the mutex, and a fetched record made safe however the
// block was written.
#include <gtest/gtest.h>
#include <aclapi.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "settings/bounded_text.h"
#include "settings/language.h"
#include "settings/win32/shared_block.h"

namespace kavo::wine_test {
namespace {

using win32::BlockMutex;
using win32::SharedBlock;

std::unique_ptr<SettingsRecord> SampleRecord() {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  ResetToDefaults(*record, kGerman);
  record->CurrentProfile = 3;
  record->SettingsChanged[2] = 1;
  record->ButtonChanged[4][13] = 1;
  CopyBounded(record->profiles[1].ProFileName, "Shooter");
  return record;
}

// The SIDs the object's access list admits; empty for a missing (null) list.
std::vector<std::vector<unsigned char>> AdmittedSids(HANDLE object) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  std::vector<std::vector<unsigned char>> sids;
  if (::GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                        &descriptor) != ERROR_SUCCESS) {
    return sids;
  }
  for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(dacl, i, &ace) || static_cast<ACE_HEADER*>(ace)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    auto* sid = reinterpret_cast<PSID>(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart);
    const auto* bytes = static_cast<const unsigned char*>(sid);
    sids.emplace_back(bytes, bytes + ::GetLengthSid(sid));
  }
  ::LocalFree(descriptor);
  return sids;
}

std::vector<unsigned char> CurrentUser() {
  HANDLE token = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
  win32::UniqueKernelHandle owner(token);
  unsigned char buffer[256];
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
  PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
  const auto* bytes = static_cast<const unsigned char*>(sid);
  return {bytes, bytes + ::GetLengthSid(sid)};
}

class SharedBlockWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BlockMutex::Created outcome;
    serviceMutex_ = BlockMutex::Create(outcome);
    ASSERT_EQ(outcome, BlockMutex::Created::New);
    serviceBlock_ = SharedBlock::Create();
    ASSERT_NE(serviceBlock_, nullptr);
    optionMutex_ = BlockMutex::Open();
    optionBlock_ = SharedBlock::Open();
    ASSERT_NE(optionMutex_, nullptr);
    ASSERT_NE(optionBlock_, nullptr);
  }

  std::unique_ptr<BlockMutex> serviceMutex_, optionMutex_;
  std::unique_ptr<SharedBlock> serviceBlock_, optionBlock_;
};

TEST_F(SharedBlockWineTest, ARecordPublishedOnOneSideIsFetchedWholeOnTheOther) {
  auto published = SampleRecord();
  ASSERT_TRUE(serviceBlock_->Publish(*serviceMutex_, *published));
  auto fetched = std::make_unique<SettingsRecord>();
  std::memset(fetched.get(), 0xEE, sizeof *fetched);
  ASSERT_TRUE(optionBlock_->Fetch(*optionMutex_, *fetched));
  EXPECT_EQ(std::memcmp(fetched.get(), published.get(), sizeof *published), 0);

  fetched->profiles[0].Sensitivity_X = 9;
  fetched->CurrentProfileChanged = 1;
  ASSERT_TRUE(optionBlock_->Publish(*optionMutex_, *fetched));
  auto back = std::make_unique<SettingsRecord>();
  ASSERT_TRUE(serviceBlock_->Fetch(*serviceMutex_, *back));
  EXPECT_EQ(std::memcmp(back.get(), fetched.get(), sizeof *back), 0);
}

TEST_F(SharedBlockWineTest, AHostileBlockIsMadeSafeOnFetch) {
  auto hostile = SampleRecord();
  hostile->CurrentProfile = 7;
  hostile->WindowsProfile = -9;
  hostile->profiles[2].buttons[5].eventCount = 60000;
  std::memset(hostile->profiles[4].GameFile1, 'x', sizeof hostile->profiles[4].GameFile1);
  ASSERT_TRUE(optionBlock_->Publish(*optionMutex_, *hostile));
  auto fetched = std::make_unique<SettingsRecord>();
  ASSERT_TRUE(serviceBlock_->Fetch(*serviceMutex_, *fetched));
  EXPECT_EQ(fetched->CurrentProfile, -1);
  EXPECT_EQ(fetched->WindowsProfile, -1);
  EXPECT_EQ(fetched->profiles[2].buttons[5].eventCount, kMaxMacroEvents);
  EXPECT_EQ(std::strlen(fetched->profiles[4].GameFile1), sizeof hostile->profiles[4].GameFile1 - 1);
  EXPECT_STREQ(fetched->profiles[1].ProFileName, "Shooter");
}

TEST_F(SharedBlockWineTest, OnlyOneServiceOwnsTheBlockMutex) {
  BlockMutex::Created outcome;
  EXPECT_EQ(BlockMutex::Create(outcome), nullptr);
  EXPECT_EQ(outcome, BlockMutex::Created::AlreadyExisted);
}

TEST_F(SharedBlockWineTest, TheObjectsAdmitTheCurrentUserAndTheSystemOnly) {
  const auto user = CurrentUser();
  unsigned char systemSid[SECURITY_MAX_SID_SIZE];
  DWORD systemSize = sizeof systemSid;
  ASSERT_TRUE(::CreateWellKnownSid(WinLocalSystemSid, nullptr, systemSid, &systemSize));
  const std::vector<unsigned char> system(systemSid, systemSid + systemSize);
  win32::UniqueKernelHandle mapping(::OpenFileMappingA(READ_CONTROL, FALSE, win32::kSharedBlockName));
  ASSERT_TRUE(mapping);
  for (HANDLE object : {mapping.get(), serviceMutex_->handle()}) {
    const auto sids = AdmittedSids(object);
    ASSERT_EQ(sids.size(), 2u) << "a null access list would admit everyone";
    EXPECT_EQ(sids[0], user);
    EXPECT_EQ(sids[1], system);
  }
}

// An object's mandatory label: the integrity level and the policy; level 0 when it has none.
struct MandatoryLabel {
  DWORD level = 0;
  DWORD policy = 0;
};

MandatoryLabel LabelOf(HANDLE object) {
  PACL sacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  MandatoryLabel label;
  if (::GetSecurityInfo(object, SE_KERNEL_OBJECT, LABEL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, &sacl,
                        &descriptor) != ERROR_SUCCESS) {
    return label;
  }
  for (DWORD i = 0; sacl && i < sacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(sacl, i, &ace) || static_cast<ACE_HEADER*>(ace)->AceType != SYSTEM_MANDATORY_LABEL_ACE_TYPE) continue;
    auto* entry = static_cast<SYSTEM_MANDATORY_LABEL_ACE*>(ace);
    const PSID sid = reinterpret_cast<PSID>(&entry->SidStart);
    label.level = *::GetSidSubAuthority(sid, *::GetSidSubAuthorityCount(sid) - 1);
    label.policy = entry->Mask;
  }
  ::LocalFree(descriptor);
  return label;
}

DWORD OwnIntegrityLevel() {
  HANDLE token = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
  win32::UniqueKernelHandle owner(token);
  unsigned char buffer[256];
  DWORD size = 0;
  if (!::GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size)) return 0;
  const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
  return *::GetSidSubAuthority(sid, *::GetSidSubAuthorityCount(sid) - 1);
}

TEST_F(SharedBlockWineTest, TheObjectsAreClosedToProcessesOfLowerIntegrity) {
  // The recorded macros in the block are the user's keystrokes: a sandboxed process of the same user must
  // not read them. Never above medium, so that the configuration program, run with the user's ordinary
  // rights, opens what an elevated service made.
  const DWORD own = OwnIntegrityLevel();
  ASSERT_NE(own, 0u) << "this process has no integrity level";
  const DWORD expected = std::min<DWORD>(own, SECURITY_MANDATORY_MEDIUM_RID);
  win32::UniqueKernelHandle mapping(::OpenFileMappingA(READ_CONTROL, FALSE, win32::kSharedBlockName));
  ASSERT_TRUE(mapping);
  for (HANDLE object : {mapping.get(), serviceMutex_->handle()}) {
    const MandatoryLabel label = LabelOf(object);
    EXPECT_EQ(label.level, expected);
    EXPECT_EQ(label.policy, static_cast<DWORD>(SYSTEM_MANDATORY_LABEL_NO_WRITE_UP | SYSTEM_MANDATORY_LABEL_NO_READ_UP));
  }
}

TEST_F(SharedBlockWineTest, ACopyWaitsForTheOtherSidesCopy) {
  std::atomic<bool> fetched{false};
  std::thread service;
  {
    win32::MutexLock hold(optionMutex_->handle(), INFINITE);
    ASSERT_TRUE(hold);
    service = std::thread([&] {
      auto record = std::make_unique<SettingsRecord>();
      fetched = serviceBlock_->Fetch(*serviceMutex_, *record);
    });
    ::Sleep(200);
    EXPECT_FALSE(fetched) << "the copy waits while the other side holds the mutex";
  }
  service.join();
  EXPECT_TRUE(fetched);
}

TEST(SharedBlockAbsentTest, NothingToOpenWithoutAService) {
  EXPECT_EQ(BlockMutex::Open(), nullptr);
  EXPECT_EQ(SharedBlock::Open(), nullptr);
}

}  // namespace
}  // namespace kavo::wine_test
