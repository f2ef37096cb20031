#pragma once
// The registry in memory: keys by path, string values by name; keys can be made unopenable. The current
// user's keys opened or created, and the local machine's, in both views, opened for reading only.
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

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

class FakeRegistryReader final : public RegistryReader {
 public:
  // Values of valueBytes or more, terminator included, cannot be read, as with the real reader's buffer.
  explicit FakeRegistryReader(std::size_t valueBytes) : valueBytes_(valueBytes) {}
  std::unique_ptr<RegistryValues> OpenForReading(std::string_view path, RegistryView view) override;

  void BlockKey(const std::string& path, RegistryView view) { blocked_.insert({view, path}); }

  // view -> path -> (value name -> value); a key is there when its path is.
  std::map<RegistryView, std::map<std::string, std::map<std::string, std::string>>> keys;
  // Every key asked for, in order: "64 <path>" or "32 <path>".
  std::vector<std::string> opened;

 private:
  std::size_t valueBytes_;
  std::set<std::pair<RegistryView, std::string>> blocked_;
};

}  // namespace kavo::test
