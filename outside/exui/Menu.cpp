#include "outside/exui/Menu.h"

#include <map>
#include <memory>
#include <mutex>

namespace qova::exui {
namespace {

struct MenuTable {
  std::mutex guard;
  std::map<int32_t, std::unique_ptr<Menu>> menus;
  int32_t nextHandle = 1;
  int32_t nextItem = 1001;
};

MenuTable& table() {
  static MenuTable instance;
  return instance;
}

}  // namespace

int32_t createMenu(Menu menu) {
  std::lock_guard lock(table().guard);
  menu.handle = table().nextHandle++;
  const int32_t handle = menu.handle;
  table().menus[handle] = std::make_unique<Menu>(std::move(menu));
  return handle;
}

Menu* findMenu(int32_t handle) {
  std::lock_guard lock(table().guard);
  auto found = table().menus.find(handle);
  return found == table().menus.end() ? nullptr : found->second.get();
}

int32_t nextMenuItemId() {
  std::lock_guard lock(table().guard);
  return table().nextItem++;
}

}  // namespace qova::exui
