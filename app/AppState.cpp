#include "app/AppState.h"

#include <memory>

namespace qova {
namespace {
std::unique_ptr<AppState>& statePointer() {
  static std::unique_ptr<AppState> state;
  return state;
}
}  // namespace

AppState& app() {
  auto& state = statePointer();
  if (!state) state = std::make_unique<AppState>();
  return *state;
}

void endProcess(int exitCode) {
  statePointer().reset();
  ::ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace qova
