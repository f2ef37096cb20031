#pragma once
// A macro store for the button assignment tests, seen through the port the page and the macro manager use,
// counting the saves and reloads that closing the manager asks for.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "option/macros/macro_manager_ports.h"
#include "option/macros/macro_store.h"
#include "settings/bounded_text.h"

namespace kavo::test {

using option::Macro;
using option::MacroSet;
using option::MacroStore;
using option::MacroStorePort;
using option::SameName;

class CountingStorePort final : public MacroStorePort {
 public:
  int SetCount() const override { return store.SetCount(); }
  MacroSet* SetAt(int index) override { return store.Set(index); }
  int FindSet(std::string_view name) const override {
    for (int i = 0; i < store.SetCount(); ++i) {
      if (SameName(store.Set(i)->name, name)) return i;
    }
    return -1;
  }
  void AppendSet(std::string_view name) override { store.AddSet(name); }
  void DeleteSet(int index) override { store.RemoveSet(index); }
  void Save() override { ++saves; }
  void Clear() override { ++clears; }
  void Load() override { ++loads; }

  // A set with these macro names, each macro given a recognisable repeat count and events.
  int AddSet(std::string_view name, const std::vector<std::string>& macros) {
    MacroSet& set = store.AppendSet(name);
    for (const std::string& macroName : macros) {
      auto macro = std::make_unique<Macro>();
      CopyBounded(macro->name, macroName);
      set.macros.push_back(std::move(macro));
    }
    return store.SetCount() - 1;
  }

  MacroStore store;
  int saves = 0;
  int clears = 0;
  int loads = 0;
};

}  // namespace kavo::test
