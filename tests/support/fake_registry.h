#pragma once
// The registry in memory: keys by path, string values by name; keys can be made unopenable.
#include <map>
#include <set>
#include <string>

#include "settings/registry.h"

namespace kavo::test {

class FakeRegistry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenOrCreate(std::string_view path) override;

  void BlockKey(const std::string& path) { blocked_.insert(path); }

  // path -> (value name -> value)
  std::map<std::string, std::map<std::string, std::string>> keys;

 private:
  std::set<std::string> blocked_;
};

}  // namespace kavo::test
