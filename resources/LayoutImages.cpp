#include "resources/LayoutImages.h"

#include "resources/LayoutImageData.h"

namespace qova {

exui::Bytes layoutImage(std::string_view name) {
  for (const EmbeddedFile& file : embeddedLayoutImages())
    if (name == file.name) return exui::Bytes(file.bytes, file.bytes + file.size);
  return {};
}

std::vector<exui::Bytes> layoutImages(const std::vector<std::string>& names) {
  std::vector<exui::Bytes> pictures;
  for (const std::string& name : names) pictures.push_back(layoutImage(name));
  return pictures;
}

std::vector<std::string> layoutImageNames() {
  std::vector<std::string> names;
  for (const EmbeddedFile& file : embeddedLayoutImages()) names.emplace_back(file.name);
  return names;
}

}  // namespace qova
