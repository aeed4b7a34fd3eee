#include "engines/pattern/CaseFolding.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <vector>

namespace qova::regex {
namespace {

struct CasePair {
  char16_t code;
  char16_t canonical;
};

constexpr CasePair kCasePairs[] = {
#include "engines/pattern/CaseFoldingTable.inc"
};

// Canonical forms by code unit, in blocks of 256 so that the many blocks
// without any cased letter (CJK among them) cost one null pointer each.
class CaseTables {
 public:
  CaseTables() {
    for (const CasePair& pair : kCasePairs) {
      block(pair.code)[pair.code & 0xFF] = pair.canonical;
      groups_[pair.canonical].push_back(pair.code);
    }
    for (auto& [canonical, members] : groups_) {
      members.push_back(canonical);
      std::sort(members.begin(), members.end());
    }
    for (unsigned i = 0; i < identity_.size(); ++i) identity_[i] = static_cast<char16_t>(i);
    for (const auto& entry : groups_) list_.push_back(entry.second);
  }

  const std::vector<std::vector<char16_t>>& list() const { return list_; }

  char16_t canonical(char16_t c) const {
    const auto& b = blocks_[c >> 8];
    if (!b) return c;
    const char16_t mapped = (*b)[c & 0xFF];
    return mapped ? mapped : c;
  }

  std::span<const char16_t> equivalents(char16_t c) const {
    auto found = groups_.find(canonical(c));
    // Characters without case stand for themselves alone.
    if (found == groups_.end()) return {&identity_[c], 1};
    return found->second;
  }

 private:
  using Block = std::array<char16_t, 256>;

  Block& block(char16_t c) {
    auto& b = blocks_[c >> 8];
    if (!b) b = std::make_unique<Block>(Block{});
    return *b;
  }

  std::array<std::unique_ptr<Block>, 256> blocks_{};
  std::map<char16_t, std::vector<char16_t>> groups_;
  std::array<char16_t, 0x10000> identity_{};
  std::vector<std::vector<char16_t>> list_;
};

const CaseTables& tables() {
  static const CaseTables instance;
  return instance;
}

}  // namespace

char16_t canonicalCase(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  return tables().canonical(c);
}

std::span<const char16_t> caseEquivalents(char16_t c) { return tables().equivalents(c); }

const std::vector<std::vector<char16_t>>& caseGroups() { return tables().list(); }

}  // namespace qova::regex
