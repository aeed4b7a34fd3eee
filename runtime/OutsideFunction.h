#pragma once
// Functions of outside libraries, bound by name at their first call.
//
// A library is looked up in the program's folder and the system folders only,
// never in the current directory or on PATH, so that a DLL planted there
// cannot be loaded into the program. A library or export that cannot be found
// at that first call is the program's one fatal error: a message box naming
// both, then the process ends with exit code -1.
#include <utility>

namespace qova {

// The address of `function` in `library`; never returns when either is missing.
void* bindOutsideFunction(const char* library, const char* function);

// The loaded module of `library`, or null when it cannot be loaded (no message).
void* loadOutsideLibrary(const char* library);

// Shows the run-time error box for a missing library or export and ends the process with -1.
[[noreturn]] void failMissingExport(const char* library, const char* function);

// Restricts the DLL search of the whole process to the program's and the system folders.
void restrictLibrarySearchPath();

// A function of type Fn (a function pointer type) in an outside library.
template <typename Fn>
class OutsideFunction {
 public:
  constexpr OutsideFunction(const char* library, const char* function)
      : library_(library), function_(function) {}

  Fn get() const {
    if (!address_) address_ = reinterpret_cast<Fn>(bindOutsideFunction(library_, function_));
    return address_;
  }

  template <typename... Args>
  decltype(auto) operator()(Args&&... args) const {
    return get()(std::forward<Args>(args)...);
  }

 private:
  const char* library_;
  const char* function_;
  mutable Fn address_ = nullptr;
};

}  // namespace qova
