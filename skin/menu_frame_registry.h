#pragma once
// The popup-menu windows that wear the skinned frame, each with its frame (what is needed to take the
// frame off again), found by window handle. A fixed table of 1000 buckets picked by handle / 16: handles
// are multiples of small powers of two, so the low bits say little. The bucket storage exists only while a
// window is registered; the hook that fills the table lives for the whole program.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace kavo::skin {

template <typename Frame>
class MenuFrameRegistry {
 public:
  static constexpr std::size_t kBuckets = 1000;
  static constexpr std::size_t BucketOf(std::uintptr_t handle) { return (handle / 16) % kBuckets; }

  // False, and the frame it has is kept, when the handle is registered already.
  bool Add(std::uintptr_t handle, Frame frame) {
    if (Find(handle) != nullptr) return false;
    if (buckets_.empty()) buckets_.resize(kBuckets);
    buckets_[BucketOf(handle)].emplace_back(handle, std::move(frame));
    ++size_;
    return true;
  }

  Frame* Find(std::uintptr_t handle) {
    if (buckets_.empty()) return nullptr;
    for (auto& entry : buckets_[BucketOf(handle)]) {
      if (entry.first == handle) return &entry.second;
    }
    return nullptr;
  }
  const Frame* Find(std::uintptr_t handle) const { return const_cast<MenuFrameRegistry*>(this)->Find(handle); }

  // Takes the handle's frame out; the last one out releases the storage.
  std::optional<Frame> Remove(std::uintptr_t handle) {
    if (buckets_.empty()) return std::nullopt;
    auto& bucket = buckets_[BucketOf(handle)];
    for (auto entry = bucket.begin(); entry != bucket.end(); ++entry) {
      if (entry->first != handle) continue;
      std::optional<Frame> frame(std::move(entry->second));
      bucket.erase(entry);
      if (--size_ == 0) ReleaseStorage();
      return frame;
    }
    return std::nullopt;
  }

  // Empties the table, handing over every handle with its frame.
  std::vector<std::pair<std::uintptr_t, Frame>> TakeAll() {
    std::vector<std::pair<std::uintptr_t, Frame>> all;
    all.reserve(size_);
    for (auto& bucket : buckets_) {
      for (auto& entry : bucket) all.emplace_back(entry.first, std::move(entry.second));
    }
    ReleaseStorage();
    return all;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  bool HoldsStorage() const { return !buckets_.empty(); }

 private:
  void ReleaseStorage() {
    std::vector<std::vector<std::pair<std::uintptr_t, Frame>>>().swap(buckets_);
    size_ = 0;
  }

  std::vector<std::vector<std::pair<std::uintptr_t, Frame>>> buckets_;
  std::size_t size_ = 0;
};

}  // namespace kavo::skin
