#include "option/macro_store_port.h"

#include "option/macro_store.h"

namespace kavo::option {

int StoreManagerPort::FindSet(std::string_view name) const { return library_.store().FindSet(name); }

}  // namespace kavo::option
