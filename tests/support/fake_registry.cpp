#include "tests/support/fake_registry.h"

namespace kavo::test {
namespace {

class FakeKey final : public RegistryKey {
 public:
  explicit FakeKey(std::map<std::string, std::string>& values) : values_(values) {}
  bool ReadString(std::string_view name, std::string& value) override {
    const auto found = values_.find(std::string(name));
    if (found == values_.end() || found->second.size() >= kRegistryValueBytes) return false;
    value = found->second;
    return true;
  }
  bool WriteString(std::string_view name, std::string_view value) override {
    values_[std::string(name)] = std::string(value);
    return true;
  }

 private:
  std::map<std::string, std::string>& values_;
};

}  // namespace

std::unique_ptr<RegistryKey> FakeRegistry::OpenOrCreate(std::string_view path) {
  const std::string key(path);
  if (blocked_.count(key)) return nullptr;
  return std::make_unique<FakeKey>(keys[key]);
}

}  // namespace kavo::test
