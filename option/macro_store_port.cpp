#include "option/macro_store_port.h"

#include "option/macro_store.h"

namespace kavo::option {

int StoreManagerPort::FindSet(std::string_view name) const {
  const MacroStore& store = library_.store();
  for (int i = 0; i < store.SetCount(); ++i) {
    if (SameName(store.Set(i)->name, name)) return i;
  }
  return -1;
}

}  // namespace kavo::option
