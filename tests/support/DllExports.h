#pragma once
// Binding a test's function table to a DLL's exports by name.
#include <windows.h>

namespace qova::test {

// Points `slot` at the export `name` of `module` (null when either is
// missing) and clears `complete` when it could not be bound.
template <typename Fn>
void bindExport(HMODULE module, Fn& slot, const char* name, bool& complete) {
  slot = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
  if (!slot) complete = false;
}

}  // namespace qova::test
