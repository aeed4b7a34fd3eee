#include "outside/aplayer/EngineTable.h"

#include <map>
#include <mutex>

namespace qova::aplayer {
namespace {

struct Table {
  std::mutex mutex;
  std::map<int32_t, std::unique_ptr<PlayerEngine>> engines;
  int32_t lastNumber = 0;
};

// Never destroyed: engines still alive at process exit are left to the
// system rather than torn down under the loader lock.
Table& table() {
  static Table* instance = new Table;
  return *instance;
}

}  // namespace

int32_t addEngine(std::unique_ptr<PlayerEngine> engine) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  // Numbers count up, so that the number of a destroyed engine stays unknown for a long time.
  for (int attempts = 0; attempts < 1'000'000; ++attempts) {
    t.lastNumber = t.lastNumber == INT32_MAX ? 1 : t.lastNumber + 1;
    if (!t.engines.contains(t.lastNumber)) {
      t.engines.emplace(t.lastNumber, std::move(engine));
      return t.lastNumber;
    }
  }
  return 0;
}

PlayerEngine* findEngine(int32_t number) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  auto found = t.engines.find(number);
  return found == t.engines.end() ? nullptr : found->second.get();
}

std::unique_ptr<PlayerEngine> removeEngine(int32_t number) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  auto found = t.engines.find(number);
  if (found == t.engines.end()) return nullptr;
  std::unique_ptr<PlayerEngine> engine = std::move(found->second);
  t.engines.erase(found);
  return engine;
}

}  // namespace qova::aplayer
