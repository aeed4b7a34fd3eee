#include "outside/exui/PropertyTable.h"

namespace qova::exui {

std::optional<PropertyInfo> propertyInfo(int32_t id) {
  using K = ExuiValueKind;
  switch (id) {
    case kExuiPropCaption:
    case kExuiPropSkinName:
    case kExuiPropText:
      return PropertyInfo{K::Text, {}};
    case kExuiPropStateImages:
    case kExuiPropCloseImages:
    case kExuiPropListImages:
    case kExuiPropStateImages2x:
    case kExuiPropCloseImages2x:
      return PropertyInfo{K::ImageSet, {}};
    case kExuiPropBackground:
      return PropertyInfo{K::Picture, {}};
    case kExuiPropChecked:
    case kExuiPropValue:
    case kExuiPropMinimum:
    case kExuiPropReadOnly:
    case kExuiPropWindowRole:
    case kExuiPropTextColour:
    case kExuiPropDpi:
      return PropertyInfo{K::Integer, {0}};
    case kExuiPropMaximum:
      return PropertyInfo{K::Integer, {100}};
    case kExuiPropBandHeight:
      return PropertyInfo{K::Integer, {30}};
    case kExuiPropBackgroundMargins:
      return PropertyInfo{K::Integers, {6, 34, 6, 6}};
    case kExuiPropItemSize:
      return PropertyInfo{K::Integers, {200, 150}};
    case kExuiPropImageSize:
      return PropertyInfo{K::Integers, {184, 104}};
    default:
      return std::nullopt;
  }
}

int32_t integerProperty(const PropertySet& set, int32_t id) {
  const auto info = propertyInfo(id);
  const int32_t fallback = info && !info->defaults.empty() ? info->defaults.front() : 0;
  return set.integer(id, fallback);
}

std::vector<int32_t> integersProperty(const PropertySet& set, int32_t id) {
  const auto info = propertyInfo(id);
  return set.integers(id, info ? info->defaults : std::vector<int32_t>{});
}

}  // namespace qova::exui
