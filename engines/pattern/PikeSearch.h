#pragma once
// Breadth-first matching (a Pike VM): every alternative is followed at once,
// one code unit at a time, in the order of preference of a backtracking
// matcher, so the first match found is the one the system object finds.
// Time grows with text length times program size; nothing recurses.
#include <cstdint>
#include <string_view>
#include <vector>

#include "engines/pattern/RegexProgram.h"

namespace qova::regex {

class PikeSearch {
 public:
  PikeSearch(const Program& program, std::u16string_view text, bool multiline);

  // Finds the first match starting at or after from and stores its capture
  // slots (start and end of the match, then of each group; -1 for a group
  // that took no part) in slots. False when there is none.
  bool find(std::size_t from, std::vector<std::int32_t>& slots);

 private:
  struct ThreadList {
    std::vector<std::uint32_t> pcs;
    std::vector<std::int32_t> slots;  // slotCount per thread
    std::size_t size = 0;
  };
  struct Frame {
    bool restore;
    std::uint32_t target;  // instruction to explore, or slot to restore
    std::int32_t value;
  };

  void addThread(ThreadList& list, std::uint32_t pc, std::size_t pos, const std::int32_t* slots);
  std::size_t visitKey(std::uint32_t pc, std::size_t pos, const std::int32_t* slots) const;
  void newGeneration();
  std::size_t nextCandidate(std::size_t pos) const;

  const Program& program_;
  std::u16string_view text_;
  bool multiline_;
  std::size_t slotCount_;
  std::size_t loopBase_;
  std::size_t keysPerInst_;
  std::vector<std::uint32_t> visited_;
  std::uint32_t generation_ = 0;
  std::vector<Frame> stack_;
  std::vector<std::int32_t> work_;
  std::vector<std::int32_t> blank_;
  ThreadList current_;
  ThreadList next_;
};

}  // namespace qova::regex
