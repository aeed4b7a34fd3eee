#pragma once
// Depth-first matching with an explicit stack, for the patterns that a
// breadth-first matcher cannot follow: back references and look-aheads.
// Like the system object it may take exponential time on hostile patterns,
// so a budget of steps bounds each search.
#include <cstdint>
#include <string_view>
#include <vector>

#include "engines/pattern/RegexProgram.h"

namespace qova::regex {

class BacktrackSearch {
 public:
  enum class Outcome { Found, NotFound, TooComplex };

  // stepBudget: steps allowed over the life of this object (0: the default
  // for the text's length); maxFrames: how deep the stack of choices and
  // undo records may grow before the search counts as too complex.
  BacktrackSearch(const Program& program, std::u16string_view text, bool multiline, bool ignoreCase,
                  std::uint64_t stepBudget = 0, std::size_t maxFrames = kDefaultMaxFrames);

  static constexpr std::size_t kDefaultMaxFrames = std::size_t{1} << 27;

  // Like PikeSearch::find; TooComplex when the budget ran out first, with
  // the start position being tried then in *stoppedAt when given.
  Outcome find(std::size_t from, std::vector<std::int32_t>& slots, std::size_t* stoppedAt = nullptr);

 private:
  // GreedyRun and LazyRun stand for the choices of a whole repetition of
  // one code unit ("a*", ".*?"), so such loops keep the stack small.
  enum class FrameKind : std::uint8_t { Choice, Restore, Barrier, GreedyRun, LazyRun };
  struct Frame {
    FrameKind kind;
    std::uint32_t target;  // Choice, runs: instruction to go on with; Restore: slot; Barrier: the Look
    std::int32_t value;    // Choice, Barrier, runs: position; Restore: the old value
    std::uint32_t extra = 0;  // GreedyRun: the lowest position; LazyRun: the repeated instruction
  };

  bool startRun(std::uint32_t pc, const Inst& split, std::size_t& pos, std::uint32_t& next);

  Outcome matchAt(std::size_t start);
  void setSlot(std::size_t slot, std::int32_t value);
  bool backrefAt(std::uint32_t group, std::size_t& pos) const;
  void keepLookAheadCaptures(std::size_t barrier);
  void undoDownTo(std::size_t barrier);

  const Program& program_;
  std::u16string_view text_;
  bool multiline_;
  bool ignoreCase_;
  std::uint64_t stepsLeft_;
  std::size_t maxFrames_;
  std::vector<std::int32_t> slots_;
  std::vector<Frame> stack_;
  std::vector<std::size_t> barriers_;
};

}  // namespace qova::regex
