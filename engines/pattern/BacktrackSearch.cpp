#include "engines/pattern/BacktrackSearch.h"

#include <algorithm>

#include "engines/pattern/CaseFolding.h"

namespace qova::regex {
namespace {

constexpr std::uint64_t kBaseSteps = 20'000'000;
constexpr std::uint64_t kStepsPerCodeUnit = 64;

}  // namespace

BacktrackSearch::BacktrackSearch(const Program& program, std::u16string_view text, bool multiline,
                                 bool ignoreCase, std::uint64_t stepBudget, std::size_t maxFrames)
    : program_(program),
      text_(text),
      multiline_(multiline),
      ignoreCase_(ignoreCase),
      stepsLeft_(stepBudget ? stepBudget : kBaseSteps + kStepsPerCodeUnit * text.size()),
      maxFrames_(maxFrames) {}

void BacktrackSearch::setSlot(std::size_t slot, std::int32_t value) {
  stack_.push_back({FrameKind::Restore, static_cast<std::uint32_t>(slot), slots_[slot]});
  slots_[slot] = value;
}

// A group that has not finished (or never took part) matches the empty text.
bool BacktrackSearch::backrefAt(std::uint32_t group, std::size_t& pos) const {
  const std::int32_t start = slots_[2 * group];
  const std::int32_t end = slots_[2 * group + 1];
  if (start < 0 || end < 0) return true;
  const auto length = static_cast<std::size_t>(end - start);
  if (length > text_.size() - pos) return false;
  for (std::size_t i = 0; i < length; ++i) {
    const char16_t a = text_[static_cast<std::size_t>(start) + i];
    const char16_t b = text_[pos + i];
    if (a != b && !(ignoreCase_ && canonicalCase(a) == canonicalCase(b))) return false;
  }
  pos += length;
  return true;
}

// A look-ahead that matched is never re-entered: its choices go, the
// captures it made stay (with their undo records).
void BacktrackSearch::keepLookAheadCaptures(std::size_t barrier) {
  std::size_t kept = barrier;
  for (std::size_t i = barrier + 1; i < stack_.size(); ++i)
    if (stack_[i].kind == FrameKind::Restore) stack_[kept++] = stack_[i];
  stack_.resize(kept);
}

void BacktrackSearch::undoDownTo(std::size_t barrier) {
  while (stack_.size() > barrier) {
    const Frame frame = stack_.back();
    stack_.pop_back();
    if (frame.kind == FrameKind::Restore) slots_[frame.target] = frame.value;
  }
}

// A Split that heads a loop over one consuming instruction ("x*", "x*?"
// with x a character, a class or "."): the whole loop becomes one frame.
bool BacktrackSearch::startRun(std::uint32_t pc, const Inst& split, std::size_t& pos, std::uint32_t& next) {
  const auto& code = program_.code;
  if (pc + 2 >= code.size()) return false;
  const Inst& body = code[pc + 1];
  const Inst& back = code[pc + 2];
  const bool consuming = body.op == Op::Char || body.op == Op::CharFold || body.op == Op::Any || body.op == Op::Set;
  if (!consuming || back.op != Op::Jump || back.a != pc) return false;
  const std::uint32_t exit = pc + 3;
  if (split.a == pc + 1 && split.b == exit) {
    std::size_t end = pos;
    while (end < text_.size() && consumes(program_, body, text_[end])) ++end;
    stepsLeft_ -= std::min<std::uint64_t>(stepsLeft_, end - pos);
    if (end > pos)
      stack_.push_back({FrameKind::GreedyRun, exit, static_cast<std::int32_t>(end), static_cast<std::uint32_t>(pos)});
    pos = end;
    next = exit;
    return true;
  }
  if (split.a == exit && split.b == pc + 1) {
    stack_.push_back({FrameKind::LazyRun, exit, static_cast<std::int32_t>(pos), pc + 1});
    next = exit;
    return true;
  }
  return false;
}

BacktrackSearch::Outcome BacktrackSearch::matchAt(std::size_t start) {
  slots_.assign(program_.slotCount(), -1);
  stack_.clear();
  barriers_.clear();
  const std::size_t loopBase = program_.captureSlots();
  std::uint32_t pc = 0;
  std::size_t pos = start;
  for (;;) {
    if (stepsLeft_ == 0 || stack_.size() > maxFrames_) return Outcome::TooComplex;
    --stepsLeft_;
    const Inst& inst = program_.code[pc];
    bool ok = true;
    switch (inst.op) {
      case Op::Char:
      case Op::CharFold:
      case Op::Any:
      case Op::Set:
        ok = pos < text_.size() && consumes(program_, inst, text_[pos]);
        if (ok) ++pos;
        break;
      case Op::Split:
        if (startRun(pc, inst, pos, pc)) continue;
        stack_.push_back({FrameKind::Choice, inst.b, static_cast<std::int32_t>(pos)});
        pc = inst.a;
        continue;
      case Op::Jump: pc = inst.a; continue;
      case Op::Save:
        setSlot(inst.a, static_cast<std::int32_t>(pos));
        if (inst.a % 2 == 0) setSlot(inst.a + 1, -1);
        break;
      case Op::ClearGroups:
        for (std::uint32_t slot = 2 * inst.a; slot < 2 * inst.b; ++slot)
          if (slots_[slot] != -1) setSlot(slot, -1);
        break;
      case Op::LoopStart: setSlot(loopBase + inst.a, static_cast<std::int32_t>(pos)); break;
      case Op::LoopCheck: ok = slots_[loopBase + inst.a] != static_cast<std::int32_t>(pos); break;
      case Op::LineStart: ok = atLineStart(text_, pos, multiline_); break;
      case Op::LineEnd: ok = atLineEnd(text_, pos, multiline_); break;
      case Op::WordBoundary: ok = atWordBoundary(text_, pos); break;
      case Op::NotWordBoundary: ok = !atWordBoundary(text_, pos); break;
      case Op::Backref: ok = backrefAt(inst.a, pos); break;
      case Op::Look:
        barriers_.push_back(stack_.size());
        stack_.push_back({FrameKind::Barrier, pc, static_cast<std::int32_t>(pos)});
        break;
      case Op::LookEnd: {
        const std::size_t barrier = barriers_.back();
        barriers_.pop_back();
        const Frame look = stack_[barrier];
        const Inst& opening = program_.code[look.target];
        if (opening.b == 0) {
          keepLookAheadCaptures(barrier);
          pos = static_cast<std::size_t>(look.value);
          pc = opening.a;
          continue;
        }
        undoDownTo(barrier);  // the negative look-ahead's text is there
        ok = false;
        break;
      }
      case Op::Match: return Outcome::Found;
    }
    if (ok) {
      ++pc;
      continue;
    }
    // Back to the latest choice, undoing what was done since.
    bool resumed = false;
    while (!stack_.empty() && !resumed) {
      const Frame frame = stack_.back();
      stack_.pop_back();
      switch (frame.kind) {
        case FrameKind::Restore: slots_[frame.target] = frame.value; break;
        case FrameKind::Choice:
          pc = frame.target;
          pos = static_cast<std::size_t>(frame.value);
          resumed = true;
          break;
        case FrameKind::GreedyRun: {
          const auto shorter = static_cast<std::uint32_t>(frame.value - 1);
          if (shorter > frame.extra) stack_.push_back({FrameKind::GreedyRun, frame.target, static_cast<std::int32_t>(shorter), frame.extra});
          pc = frame.target;
          pos = shorter;
          resumed = true;
          break;
        }
        case FrameKind::LazyRun: {
          const auto at = static_cast<std::size_t>(frame.value);
          if (at < text_.size() && consumes(program_, program_.code[frame.extra], text_[at])) {
            stack_.push_back({FrameKind::LazyRun, frame.target, static_cast<std::int32_t>(at + 1), frame.extra});
            pc = frame.target;
            pos = at + 1;
            resumed = true;
          }
          break;
        }
        case FrameKind::Barrier: {
          barriers_.pop_back();
          const Inst& opening = program_.code[frame.target];
          if (opening.b != 0) {  // the negative look-ahead's text is not there
            pc = opening.a;
            pos = static_cast<std::size_t>(frame.value);
            resumed = true;
          }
          break;
        }
      }
    }
    if (!resumed) return Outcome::NotFound;
  }
}

BacktrackSearch::Outcome BacktrackSearch::find(std::size_t from, std::vector<std::int32_t>& slots,
                                               std::size_t* stoppedAt) {
  const auto& first = program_.firstChars;
  for (std::size_t start = from; start <= text_.size(); ++start) {
    if (!first.empty()) {
      if (start == text_.size()) break;
      if (std::find(first.begin(), first.end(), text_[start]) == first.end()) continue;
    }
    const Outcome outcome = matchAt(start);
    if (outcome == Outcome::Found) {
      slots.assign(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(program_.captureSlots()));
      return outcome;
    }
    if (outcome == Outcome::TooComplex) {
      if (stoppedAt) *stoppedAt = start;
      return outcome;
    }
  }
  return Outcome::NotFound;
}

}  // namespace qova::regex
