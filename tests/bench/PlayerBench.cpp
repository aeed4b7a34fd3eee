// player_bench.exe [playback] [paths] [resume] [switching] [startup] [cover] [passover] [monitors] [soak]: runs the
// named player benchmarks (all but the long soak and the monitors, which want a display of two
// monitors, when none is named) and prints their figures. A
// benchmark: it asserts nothing. Needs the media of the target
// qova_bench_media; scripts/bench builds and runs it.
#include <cstdio>
#include <cstring>

#include "tests/bench/PlayerBenches.h"

int main(int argc, char** argv) {
  const auto wanted = [&](const char* name) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
      if (std::strcmp(argv[i], name) == 0) return true;
    return false;
  };
  if (wanted("playback")) qova::bench::benchPlayback();
  if (wanted("paths")) qova::bench::benchPresentation();
  if (wanted("playback") || wanted("resume")) qova::bench::benchResume();
  if (wanted("switching")) qova::bench::benchSwitching();
  if (wanted("startup")) qova::bench::benchStartup();
  if (wanted("cover")) qova::bench::benchCover();
  if (wanted("passover")) qova::bench::benchPassOver();
  if (argc >= 2 && wanted("monitors")) qova::bench::benchMonitors();
  if (argc >= 2 && wanted("soak")) qova::bench::benchSoak();
  std::fflush(stdout);
  return 0;
}
