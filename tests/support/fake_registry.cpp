#include "tests/support/fake_registry.h"

namespace kavo::test {
namespace {

bool ReadBounded(const std::map<std::string, std::string>& values, std::string_view name, std::size_t valueBytes,
                 std::string& value) {
  const auto found = values.find(std::string(name));
  if (found == values.end() || found->second.size() >= valueBytes) return false;
  value = found->second;
  return true;
}

class FakeKey final : public RegistryKey {
 public:
  explicit FakeKey(std::map<std::string, std::string>& values) : values_(values) {}
  bool ReadString(std::string_view name, std::string& value) override {
    return ReadBounded(values_, name, kRegistryValueBytes, value);
  }
  bool WriteString(std::string_view name, std::string_view value) override {
    values_[std::string(name)] = std::string(value);
    return true;
  }

 private:
  std::map<std::string, std::string>& values_;
};

class FakeReadOnlyKey final : public RegistryValues {
 public:
  FakeReadOnlyKey(const std::map<std::string, std::string>& values, std::size_t valueBytes)
      : values_(values), valueBytes_(valueBytes) {}
  bool ReadString(std::string_view name, std::string& value) override {
    return ReadBounded(values_, name, valueBytes_, value);
  }

 private:
  const std::map<std::string, std::string>& values_;
  std::size_t valueBytes_;
};

}  // namespace

std::unique_ptr<RegistryValues> FakeRegistryReader::OpenForReading(std::string_view path, RegistryView view) {
  const std::string key(path);
  opened.push_back((view == RegistryView::Programs64Bit ? "64 " : "32 ") + key);
  if (blocked_.count({view, key})) return nullptr;
  const auto& inView = keys[view];
  const auto found = inView.find(key);
  if (found == inView.end()) return nullptr;
  return std::make_unique<FakeReadOnlyKey>(found->second, valueBytes_);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenOrCreate(std::string_view path) {
  const std::string key(path);
  if (blocked_.count(key)) return nullptr;
  return std::make_unique<FakeKey>(keys[key]);
}

}  // namespace kavo::test
