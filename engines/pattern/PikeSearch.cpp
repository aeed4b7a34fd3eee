#include "engines/pattern/PikeSearch.h"

#include <algorithm>

namespace qova::regex {

PikeSearch::PikeSearch(const Program& program, std::u16string_view text, bool multiline)
    : program_(program),
      text_(text),
      multiline_(multiline),
      slotCount_(program.slotCount()),
      loopBase_(program.captureSlots()),
      keysPerInst_(std::size_t{program.loopSlots} + 1),
      visited_(program.code.size() * keysPerInst_, 0),
      blank_(program.slotCount(), -1) {}

void PikeSearch::newGeneration() {
  if (++generation_ == 0) {
    std::fill(visited_.begin(), visited_.end(), 0);
    generation_ = 1;
  }
}

// Two threads at one instruction and position have the same future unless
// they differ in which of the repetitions around it are still empty (a
// repetition that ends empty fails). Inner repetitions start no earlier
// than outer ones, so the empty ones are always the innermost few: their
// number completes the key.
std::size_t PikeSearch::visitKey(std::uint32_t pc, std::size_t pos, const std::int32_t* slots) const {
  const std::size_t depth = program_.loopDepth[pc];
  if (depth == 0) return pc * keysPerInst_;
  std::size_t empty = 0;
  while (empty < depth && slots[loopBase_ + depth - 1 - empty] == static_cast<std::int32_t>(pos)) ++empty;
  return pc * keysPerInst_ + empty;
}

void PikeSearch::addThread(ThreadList& list, std::uint32_t startPc, std::size_t pos, const std::int32_t* slots) {
  const Inst* code = program_.code.data();
  const std::uint32_t generation = generation_;
  const auto here = static_cast<std::int32_t>(pos);
  const auto store = [&](std::uint32_t pc, const std::int32_t* from) {
    if (list.pcs.size() <= list.size) {
      list.pcs.resize(list.size + 1);
      list.slots.resize((list.size + 1) * slotCount_);
    }
    list.pcs[list.size] = pc;
    std::copy(from, from + slotCount_, list.slots.data() + list.size * slotCount_);
    ++list.size;
  };
  const auto consuming = [](Op op) { return op <= Op::Set || op == Op::Match; };

  // Most steps land straight on a consuming instruction: no need to copy
  // the captures into the work area for that.
  if (consuming(code[startPc].op)) {
    std::uint32_t& seen = visited_[visitKey(startPc, pos, slots)];
    if (seen != generation) {
      seen = generation;
      store(startPc, slots);
    }
    return;
  }

  work_.assign(slots, slots + slotCount_);
  std::int32_t* work = work_.data();
  stack_.push_back({false, startPc, 0});
  while (!stack_.empty()) {
    const Frame frame = stack_.back();
    stack_.pop_back();
    if (frame.restore) {
      work[frame.target] = frame.value;
      continue;
    }
    std::uint32_t pc = frame.target;
    for (;;) {
      std::uint32_t& seen = visited_[visitKey(pc, pos, work)];
      if (seen == generation) break;
      seen = generation;
      const Inst& inst = code[pc];
      bool alive = true;
      switch (inst.op) {
        case Op::Char:
        case Op::CharFold:
        case Op::Any:
        case Op::Set:
        case Op::Match:
          store(pc, work);
          alive = false;
          break;
        case Op::Jump: pc = inst.a; continue;
        case Op::Split:
          stack_.push_back({false, inst.b, 0});
          pc = inst.a;
          continue;
        case Op::Save:
          stack_.push_back({true, inst.a, work[inst.a]});
          work[inst.a] = here;
          if (inst.a % 2 == 0) {
            stack_.push_back({true, inst.a + 1, work[inst.a + 1]});
            work[inst.a + 1] = -1;
          }
          break;
        case Op::ClearGroups:
          for (std::uint32_t slot = 2 * inst.a; slot < 2 * inst.b; ++slot) {
            if (work[slot] == -1) continue;
            stack_.push_back({true, slot, work[slot]});
            work[slot] = -1;
          }
          break;
        case Op::LoopStart: {
          const auto slot = static_cast<std::uint32_t>(loopBase_ + inst.a);
          stack_.push_back({true, slot, work[slot]});
          work[slot] = here;
          break;
        }
        case Op::LoopCheck: alive = work[loopBase_ + inst.a] != here; break;
        case Op::LineStart: alive = atLineStart(text_, pos, multiline_); break;
        case Op::LineEnd: alive = atLineEnd(text_, pos, multiline_); break;
        case Op::WordBoundary: alive = atWordBoundary(text_, pos); break;
        case Op::NotWordBoundary: alive = !atWordBoundary(text_, pos); break;
        case Op::Backref:
        case Op::Look:
        case Op::LookEnd: alive = false; break;  // never compiled for this matcher
      }
      if (!alive) break;
      ++pc;
    }
  }
}

std::size_t PikeSearch::nextCandidate(std::size_t pos) const {
  const auto& first = program_.firstChars;
  const std::u16string_view chars(first.data(), first.size());
  const std::size_t found = chars.size() == 1 ? text_.find(chars[0], pos) : text_.find_first_of(chars, pos);
  return found == std::u16string_view::npos ? text_.size() + 1 : found;
}

bool PikeSearch::find(std::size_t from, std::vector<std::int32_t>& slots) {
  bool matched = false;
  current_.size = 0;
  next_.size = 0;
  std::size_t pos = from;
  newGeneration();
  while (pos <= text_.size()) {
    if (!matched) {
      const auto& first = program_.firstChars;
      if (first.empty()) {
        // A match starting here ranks below every thread that started earlier.
        addThread(current_, 0, pos, blank_.data());
      } else if (current_.size == 0) {
        const std::size_t candidate = nextCandidate(pos);
        if (candidate > text_.size()) break;
        if (candidate != pos) {
          pos = candidate;
          newGeneration();
        }
        addThread(current_, 0, pos, blank_.data());
      } else if (pos < text_.size() && std::find(first.begin(), first.end(), text_[pos]) != first.end()) {
        addThread(current_, 0, pos, blank_.data());
      }
    }
    if (current_.size == 0 && matched) break;
    newGeneration();
    for (std::size_t i = 0; i < current_.size; ++i) {
      const Inst& inst = program_.code[current_.pcs[i]];
      const std::int32_t* threadSlots = current_.slots.data() + i * slotCount_;
      if (inst.op == Op::Match) {
        matched = true;
        slots.assign(threadSlots, threadSlots + program_.captureSlots());
        break;  // threads ranked below this one can no longer win
      }
      if (pos < text_.size() && consumes(program_, inst, text_[pos]))
        addThread(next_, current_.pcs[i] + 1, pos + 1, threadSlots);
    }
    std::swap(current_, next_);
    next_.size = 0;
    ++pos;
  }
  return matched;
}

}  // namespace qova::regex
