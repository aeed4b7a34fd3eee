// A copy of the program adding videos, as far as the library file sees it:
//   library_writer <tag> <count>
// appends <count> records tagged <tag> to the library beside it, one at a
// time, after writing the folder it finds itself in to "<tag>.folder". Its
// exit code is the number of appends that were not written.
#include <cstdlib>
#include <string>

#include "library/LibraryFile.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"

int main(int argc, char** argv) {
  if (argc != 3) return 1000;
  const std::string tag = argv[1];
  const int count = std::atoi(argv[2]);
  qova::writeWholeFile(qova::programFile(tag + ".folder"), qova::programDirectory());
  int notWritten = 0;
  for (int i = 0; i < count; ++i) {
    const std::string video = "C:\\videos\\" + tag + std::to_string(i) + ".mp4";
    if (qova::appendLibraryRecord(video, "", tag) != qova::LibraryWrite::Written) ++notWritten;
  }
  return notWritten;
}
