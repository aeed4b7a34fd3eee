// Playing on after a pause: from APlayer_Play to the position moving again,
// after a short pause (the decoders kept) and after a long one (the engine's
// decoding process ended, started again by the play). The engine as it
// ships, driven directly in a top-level window.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "outside/aplayer/APlayerContract.h"
#include "tests/bench/BenchSupport.h"
#include "tests/bench/PlayerBenches.h"
#include "tests/support/DllExports.h"
#include "tests/support/TestProcess.h"

namespace qova::bench {
namespace {

using namespace std::chrono_literals;

constexpr int kRounds = 5;
constexpr auto kShortPause = 2s;
constexpr auto kLongPause = 12s;  // past the engine's deep pause (10 s)

struct Engine {
  decltype(&APlayer_Create) create = nullptr;
  decltype(&APlayer_OpenA) open = nullptr;
  decltype(&APlayer_Play) play = nullptr;
  decltype(&APlayer_Pause) pause = nullptr;
  decltype(&APlayer_GetPosition) position = nullptr;
  decltype(&APlayer_GetState) state = nullptr;
  decltype(&APlayer_Destroy) destroy = nullptr;

  bool complete = true;

  explicit Engine(HMODULE module) {
    test::bindExport(module, create, "APlayer_Create", complete);
    test::bindExport(module, open, "APlayer_OpenA", complete);
    test::bindExport(module, play, "APlayer_Play", complete);
    test::bindExport(module, pause, "APlayer_Pause", complete);
    test::bindExport(module, position, "APlayer_GetPosition", complete);
    test::bindExport(module, state, "APlayer_GetState", complete);
    test::bindExport(module, destroy, "APlayer_Destroy", complete);
  }
};

// Milliseconds from APlayer_Play until the position has moved on; nothing when it did not within 20 s.
std::optional<double> resumeAfter(const Engine& engine, int32_t player, std::chrono::milliseconds pause) {
  engine.pause(player);
  test::pumpMessagesFor(pause);
  const int32_t pausedAt = engine.position(player);
  const Ticks start = now();
  engine.play(player);
  const bool moved = test::waitUntil([&] { return engine.position(player) > pausedAt + 40; }, 20s);
  if (!moved) return std::nullopt;
  return milliseconds(start, now());
}

}  // namespace

void benchResume() {
  std::printf("Playing on after a pause (the 1080p clip, %d rounds each)\n", kRounds);
  HMODULE module = ::LoadLibraryA(buildFile("bench\\shipped\\APlayerCaller.dll").c_str());
  const Engine engine(module);
  if (!engine.complete) {
    std::printf("  the engine did not load\n");
    return;
  }
  const int32_t player = engine.create(nullptr, 40, 40, 640, 360, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr);
  const std::string clip = buildFile("media\\bench_1080p.mp4");
  if (!player || engine.open(player, clip.c_str()) != kAPlayerOk ||
      !test::waitUntil([&] { return engine.position(player) > 500; }, 30s)) {
    std::printf("  the engine did not play\n");
    return;
  }
  RunTimes afterShort, afterLong;
  for (int round = 0; round < kRounds; ++round) {
    afterShort.add(resumeAfter(engine, player, kShortPause));
    afterLong.add(resumeAfter(engine, player, kLongPause));
    // Far enough from the end for the next round.
    if (engine.state(player) != kAPlayerStatePlaying) engine.open(player, clip.c_str());
    test::pumpMessagesFor(1s);
  }
  std::printf("  from APlayer_Play to the position moving: after %lld s paused %s, after %lld s "
              "(the decoding process ended) %s\n",
              static_cast<long long>(kShortPause.count()), afterShort.summary().c_str(),
              static_cast<long long>(kLongPause.count()), afterLong.summary().c_str());
  engine.destroy(player);
}

}  // namespace qova::bench
