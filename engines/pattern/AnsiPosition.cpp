#include "engines/pattern/AnsiPosition.h"

#include <algorithm>
#include <climits>

namespace qova {
namespace {

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int ansiPositionOf(std::string_view subject, std::string_view text, long firstIndex, bool ignoreCase) {
  const std::size_t start = firstIndex > 1 ? static_cast<std::size_t>(firstIndex - 1) : 0;
  if (start >= subject.size()) return -2;
  if (text.empty()) return 0;
  const std::string_view rest = subject.substr(start);
  std::size_t found;
  if (ignoreCase) {
    auto it = std::search(rest.begin(), rest.end(), text.begin(), text.end(),
                          [](char a, char b) { return foldAscii(a) == foldAscii(b); });
    found = it == rest.end() ? std::string_view::npos : static_cast<std::size_t>(it - rest.begin());
  } else {
    found = rest.find(text);
  }
  if (found == std::string_view::npos || start + found > INT_MAX) return -2;
  return static_cast<int>(start + found);
}

}  // namespace qova
