#pragma once
// The macro manager's view of the program's macro library: the store it edits in place and the sequence
// file that OK saves to and anything else reloads from.
#include <string_view>

#include "option/macro_library.h"
#include "option/macro_manager_ports.h"

namespace kavo::option {

class StoreManagerPort final : public MacroStorePort {
 public:
  explicit StoreManagerPort(MacroStoreLibrary& library) : library_(library) {}

  int SetCount() const override { return library_.store().SetCount(); }
  MacroSet* SetAt(int index) override { return library_.store().Set(index); }
  int FindSet(std::string_view name) const override;
  // The manager has already refused empty, reserved, duplicate and surplus names; the store refuses them
  // again.
  void AppendSet(std::string_view name) override { library_.store().AddSet(name); }
  void DeleteSet(int index) override { library_.store().RemoveSet(index); }
  // A failed save keeps the previous file whole; the manager has nothing better to offer than that.
  void Save() override { library_.SaveFile(); }
  void Clear() override { library_.Clear(); }
  void Load() override { library_.Load(); }

 private:
  MacroStoreLibrary& library_;
};

}  // namespace kavo::option
