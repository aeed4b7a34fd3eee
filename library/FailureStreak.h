#pragma once
// Library entries that could not be played, one after another. Playback passes
// over such an entry to the next one; once every entry of the library has
// failed in a row, going on would only run round the list again and again, so
// playback stops until a new round is asked for (the library changed, or the
// user asked for playback).

namespace qova {

class FailureStreak {
 public:
  // Counts one more entry that could not be played, in a library of
  // `videoCount` entries. True to pass over it to the next entry; false when
  // every entry has now failed in a row, and from then on until reset().
  bool passOver(int videoCount);
  // A file played, or a new round begins: the streak starts again from nothing.
  void reset();

  // Whether every entry failed in a row and no new round has begun since.
  bool stopped() const { return stopped_; }

 private:
  int failuresInARow_ = 0;
  bool stopped_ = false;
};

}  // namespace qova
