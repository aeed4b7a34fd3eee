#pragma once
// What kind of value each property id holds and its default, as the
// contract's property table lists them. Platform-free.
#include <optional>
#include <vector>

#include "outside/exui/ExuiFormat.h"

namespace qova::exui {

struct PropertyInfo {
  ExuiValueKind kind = ExuiValueKind::Integer;
  std::vector<int32_t> defaults;  // Integer and Integers properties
};

// Nothing for an id the library does not know.
std::optional<PropertyInfo> propertyInfo(int32_t id);

// The property's Integer value, or its default (0 for unknown ids).
int32_t integerProperty(const PropertySet& set, int32_t id);
// The property's Integers values, or its defaults (empty for unknown ids).
std::vector<int32_t> integersProperty(const PropertySet& set, int32_t id);

}  // namespace qova::exui
