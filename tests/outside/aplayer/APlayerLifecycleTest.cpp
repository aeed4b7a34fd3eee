// Engine numbers, destruction, and inputs that must be refused harmlessly.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/WholeFile.h"
#include "tests/outside/aplayer/PlayerFixture.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

using namespace std::chrono_literals;

constexpr PlayerEvent kFileEnded{kAPlayerEventFileEnded, 0};

using APlayerLifecycle = PlayerFixture;

// Every export with a number that names no engine gives the contract's harmless answer.
void expectUnknown(const APlayerApi& api, int32_t engine) {
  SCOPED_TRACE("engine number " + std::to_string(engine));
  const std::string path = mediaFile("clip_short.mp4");
  EXPECT_EQ(api.open(engine, path.c_str()), kAPlayerFailed);
  EXPECT_EQ(api.setConfig(engine, kAPlayerConfigMute, "1"), kAPlayerFailed);
  EXPECT_EQ(api.getVersion(engine), nullptr);
  EXPECT_EQ(api.getVideoWidth(engine), 0);
  EXPECT_EQ(api.destroy(engine), kAPlayerFailed);
  EXPECT_EQ(api.close(engine), kAPlayerFailed);
  EXPECT_EQ(api.play(engine), kAPlayerFailed);
  EXPECT_EQ(api.pause(engine), kAPlayerFailed);
  EXPECT_EQ(api.setCustomLogo(engine, nullptr), kAPlayerFailed);
  EXPECT_EQ(api.getWindow(engine), nullptr);
  EXPECT_EQ(api.getState(engine), kAPlayerFailed);
  EXPECT_EQ(api.getDuration(engine), 0);
  EXPECT_EQ(api.getPosition(engine), 0);
  EXPECT_EQ(api.setPosition(engine, 100), kAPlayerFailed);
  EXPECT_EQ(api.getVideoHeight(engine), 0);
  EXPECT_EQ(api.getVolume(engine), 0);
  EXPECT_EQ(api.setVolume(engine, 50), kAPlayerFailed);
  EXPECT_EQ(api.isSeeking(engine), 0);
  EXPECT_EQ(api.getBufferProgress(engine), 0);
  EXPECT_EQ(api.getConfig(engine, kAPlayerConfigMute), nullptr);
}

TEST_F(APlayerLifecycle, UnknownNumbersAreHarmlessOnEveryExport) {
  expectUnknown(api, 0);
  expectUnknown(api, 987654);
  expectUnknown(api, -1);
}

TEST_F(APlayerLifecycle, DestroyRemovesTheWindowAndRetiresTheNumber) {
  const int32_t first = createEngine(nullptr, 60, 60, 160, 120);
  const int32_t second = createEngine(nullptr, 260, 60, 160, 120);
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  EXPECT_NE(first, second);
  HWND firstWindow = api.getWindow(first);
  ASSERT_TRUE(::IsWindow(firstWindow));
  EXPECT_EQ(::GetParent(firstWindow), nullptr) << "no parent: a top-level window";
  EXPECT_TRUE(::IsWindowVisible(firstWindow));
  EXPECT_NE(api.getWindow(second), firstWindow);

  ASSERT_TRUE(open(first, "clip_testsrc.mp4"));
  ASSERT_TRUE(waitForState(first, kAPlayerStatePlaying));
  ASSERT_EQ(api.destroy(first), kAPlayerOk);
  EXPECT_FALSE(::IsWindow(firstWindow));
  expectUnknown(api, first);
  EXPECT_EQ(api.getState(second), kAPlayerStateReady) << "the other engine lives on";
  pumpMessagesFor(2500ms);
  EXPECT_EQ(countEvents(kFileEnded), 0) << "a destroyed engine reports nothing";

  const int32_t third = createEngine(nullptr, 60, 60, 160, 120);
  EXPECT_NE(third, first) << "a destroyed engine's number is not handed out again at once";
}

TEST_F(APlayerLifecycle, HandlerMayDestroyTheEngine) {
  const int32_t engine = createEngine(nullptr, 60, 60, 160, 120);
  ASSERT_NE(engine, 0);
  HWND window = api.getWindow(engine);
  int32_t destroyResult = kAPlayerFailed;
  setEventReaction([&](PlayerEvent event) {
    if (event == kFileEnded) destroyResult = api.destroy(engine);
  });
  ASSERT_TRUE(open(engine, "clip_short.mp4"));
  ASSERT_TRUE(waitForEvents(kFileEnded, 1));
  EXPECT_EQ(destroyResult, kAPlayerOk);
  EXPECT_FALSE(::IsWindow(window));
  pumpMessagesFor(300ms);
  EXPECT_EQ(api.getState(engine), kAPlayerFailed);
}

// Runs `work` on a thread of its own and waits at most `limit` for it, so
// that a hanging call fails the test instead of hanging it. False on time-out
// (the thread is then abandoned).
bool finishesWithin(std::chrono::milliseconds limit, std::function<void()> work) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread([work = std::move(work), done] {
    work();
    *done = true;
  }).detach();
  return waitUntil([&] { return done->load(); }, limit);
}

TEST_F(APlayerLifecycle, FilesThatCannotBeOpenedAreRefusedWithoutHanging) {
  const std::string missing = mediaFile("no such file.mp4");
  const std::string corrupt = mediaFile("corrupt.mp4");
  const std::string truncated = mediaFile("truncated.mp4");
  const std::string folder = mediaFile("");
  const std::string good = mediaFile("clip_short.mp4");
  struct Outcome {
    std::atomic<int32_t> missing{1}, corrupt{1}, truncated{1}, folder{1}, empty{1}, null{1}, good{1};
    std::atomic<int32_t> goodAfterwards{1};
    std::string diagnostics;  // read once the worker is done
    std::vector<std::pair<std::string, long long>> openMilliseconds;  // read once the worker is done
  };
  auto outcome = std::make_shared<Outcome>();
  // The engine belongs to the worker thread, which makes, uses and destroys it.
  const bool finished = finishesWithin(60s, [=, &api = api] {
    const int32_t engine = api.create(nullptr, 60, 60, 160, 120, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr);
    // A file the engine cannot tell at once is accepted and refused a moment
    // later (state Ready, event 5); that counts as refused here too.
    auto timedOpen = [&](const char* label, const char* path) {
      const auto start = std::chrono::steady_clock::now();
      int32_t result = api.open(engine, path);
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - start);
      const bool refusedLater = result == kAPlayerOk && path != good &&
                                waitUntil([&] { return api.getState(engine) == kAPlayerStateReady; }, 8s);
      outcome->openMilliseconds.emplace_back(label, static_cast<long long>(took.count()));
      return refusedLater ? kAPlayerCannotOpen : result;
    };
    outcome->good = timedOpen("good", good.c_str());
    waitUntil([&] { return api.getState(engine) == kAPlayerStatePlaying; }, 8s);
    outcome->missing = timedOpen("missing", missing.c_str());
    outcome->corrupt = timedOpen("corrupt", corrupt.c_str());
    outcome->truncated = timedOpen("truncated", truncated.c_str());
    outcome->folder = timedOpen("folder", folder.c_str());
    outcome->empty = timedOpen("empty", "");
    outcome->null = timedOpen("null", nullptr);
    outcome->goodAfterwards = timedOpen("good", good.c_str());
    const char* lines = api.getConfig(engine, kAPlayerConfigDiagnostics);
    outcome->diagnostics = lines ? lines : "";
    api.destroy(engine);
  });
  ASSERT_TRUE(finished) << "opening bad files hung";
  // How long each open held the caller's thread: a figure, left to the benchmarks to judge.
  for (std::size_t i = 0; i < outcome->openMilliseconds.size(); ++i)
    RecordProperty("open_ms_" + std::to_string(i) + "_" + outcome->openMilliseconds[i].first,
                   std::to_string(outcome->openMilliseconds[i].second));
  EXPECT_EQ(outcome->good, kAPlayerOk);
  EXPECT_EQ(outcome->missing, kAPlayerCannotOpen);
  EXPECT_EQ(outcome->corrupt, kAPlayerCannotOpen);
  EXPECT_EQ(outcome->truncated, kAPlayerCannotOpen);
  EXPECT_EQ(outcome->folder, kAPlayerCannotOpen);
  EXPECT_EQ(outcome->empty, kAPlayerCannotOpen);
  EXPECT_EQ(outcome->null, kAPlayerCannotOpen);
  EXPECT_EQ(outcome->goodAfterwards, kAPlayerOk) << "a refused file leaves the engine usable";
  // Each refusal that needed a look into the file says why, once.
  const std::string& lines = outcome->diagnostics;
  const std::string cutShort = "truncated.mp4: refused: the file is cut short\n";
  EXPECT_NE(lines.find(cutShort), std::string::npos) << lines;
  EXPECT_EQ(lines.find(cutShort), lines.rfind(cutShort)) << lines;
  EXPECT_NE(lines.find("corrupt.mp4: cannot be played: "), std::string::npos) << lines;
}

TEST_F(APlayerLifecycle, RefusedFileClosesWhatPlayedBefore) {
  const int32_t engine = createEngine(nullptr, 60, 60, 160, 120);
  ASSERT_NE(engine, 0);
  ASSERT_TRUE(open(engine, "clip_testsrc.mp4"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  // Refused at once, or, when the decoding process has not answered in time,
  // accepted and reported unplayable a moment later: either way what played is closed.
  const int32_t result = api.open(engine, mediaFile("corrupt.mp4").c_str());
  if (result == kAPlayerOk) {
    EXPECT_TRUE(waitForEvents({kAPlayerEventOpenFailed, 0}, 1)) << "reported unplayable";
  } else {
    EXPECT_EQ(result, kAPlayerCannotOpen);
  }
  EXPECT_TRUE(waitForState(engine, kAPlayerStateReady));
  EXPECT_EQ(api.getBufferProgress(engine), 0);
  pumpMessagesFor(2500ms);
  EXPECT_EQ(countEvents(kFileEnded), 0);
}

TEST_F(APlayerLifecycle, ClosingAndSwitchingFilesWhilePlayingHoldsUp) {
  // Tearing a playing pipeline down is where the platform's media stack is
  // most fragile; this runs that path many times in a row.
  const int32_t engine = createEngine(nullptr, 60, 60, 160, 120);
  ASSERT_NE(engine, 0);
  const char* clips[] = {"clip_testsrc.mp4", "clip.wmv", "clip_mjpeg.avi", "tone.mp3"};
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_TRUE(open(engine, clips[round % 4]));
    ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
    pumpMessagesFor(std::chrono::milliseconds(20 * (round % 4)));
    if (round % 2) {
      ASSERT_EQ(api.close(engine), kAPlayerOk);
    }
  }
  ASSERT_EQ(api.destroy(engine), kAPlayerOk);
  EXPECT_EQ(countEvents(kFileEnded), 0);
}

// Every engine decodes in the one decoding process. A decoder that crashes
// there takes only that process with it: the files it decoded are reported
// unplayable and the next one plays, decoded by a new process.
TEST_F(APlayerLifecycle, ADecodingProcessThatDiesTakesOnlyItsFilesWithIt) {
  const int32_t engine = createEngine(nullptr, 60, 60, 160, 120);
  const int32_t other = createEngine(nullptr, 260, 60, 160, 120);
  ASSERT_NE(engine, 0);
  ASSERT_NE(other, 0);
  ASSERT_TRUE(open(engine, "clip_moving.mp4"));
  ASSERT_TRUE(open(other, "clip_moving.mp4"));
  ASSERT_TRUE(waitForState(engine, kAPlayerStatePlaying));
  ASSERT_TRUE(waitForState(other, kAPlayerStatePlaying));
  const std::vector<DWORD> decoding = decodingProcesses();
  ASSERT_EQ(decoding.size(), 1u) << "one process decodes for both engines";
  UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, decoding.front()));
  ASSERT_TRUE(process);
  ASSERT_TRUE(::TerminateProcess(process.get(), 3));

  EXPECT_TRUE(waitForEvents({kAPlayerEventOpenFailed, 0}, 2)) << "both files are reported unplayable";
  EXPECT_EQ(api.getState(engine), kAPlayerStateReady);
  EXPECT_EQ(api.getState(other), kAPlayerStateReady);
  ASSERT_TRUE(open(engine, "clip_short.mp4"));
  EXPECT_TRUE(waitForEvents(kFileEnded, 1)) << "the next file plays to its end";
  const std::vector<DWORD> after = decodingProcesses();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_NE(after.front(), decoding.front());
}

// A copy of the engine with no decoding program beside it decodes in its own process.
TEST_F(APlayerLifecycle, WithoutItsDecodingProgramTheEngineDecodesItself) {
  TempFolder folder("aplayer_alone");
  ASSERT_TRUE(copyFileTo(testProgramDirectory() + "\\" + kAPlayerLibrary, folder.file(kAPlayerLibrary)));
  HMODULE alone = ::LoadLibraryA(folder.file(kAPlayerLibrary).c_str());
  ASSERT_NE(alone, nullptr);
  ASSERT_NE(alone, ::GetModuleHandleA(kAPlayerLibrary)) << "a second copy of its own";
  bool complete = true;
  const APlayerApi copy = bindAPlayerApi(alone, complete);
  ASSERT_TRUE(complete);

  const int32_t engine = copy.create(nullptr, 60, 60, 160, 120, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr);
  ASSERT_NE(engine, 0);
  ASSERT_EQ(copy.open(engine, mediaFile("clip_short.mp4").c_str()), kAPlayerOk);
  EXPECT_TRUE(waitUntil(
      [&] {
        pumpMessagesFor(std::chrono::milliseconds(20));
        return copy.getState(engine) == kAPlayerStatePlaying;
      },
      10s))
      << "it plays";
  EXPECT_TRUE(decodingProcesses().empty());
  EXPECT_EQ(copy.destroy(engine), kAPlayerOk);
  ::FreeLibrary(alone);
}

// A copy of the engine whose decoding program is fake_decoder.exe, which
// breaks the protocol as QOVA_FAKE_DECODER says.
class EngineWithFakeDecoder {
 public:
  EngineWithFakeDecoder() : folder_("aplayer_fake") {
    const std::string bin = testProgramDirectory();
    if (!copyFileTo(bin + "\\" + kAPlayerLibrary, folder_.file(kAPlayerLibrary)) ||
        !copyFileTo(bin + "\\fixtures\\fake_decoder.exe", folder_.file("APlayerDecoder.exe")))
      return;
    module_ = ::LoadLibraryA(folder_.file(kAPlayerLibrary).c_str());
    bool complete = module_ != nullptr;
    if (module_) api = bindAPlayerApi(module_, complete);
    if (!complete && module_) ::FreeLibrary(std::exchange(module_, nullptr));
  }
  ~EngineWithFakeDecoder() {
    if (module_) ::FreeLibrary(module_);
    ::SetEnvironmentVariableA("QOVA_FAKE_DECODER", nullptr);
  }
  bool loaded() const { return module_ != nullptr; }
  const std::string& folder() const { return folder_.path(); }

  APlayerApi api{};

 private:
  TempFolder folder_;
  HMODULE module_ = nullptr;
};

// Every diagnostic line the engine has, read as the program reads them: at each event 100.
std::string readDiagnostics(const APlayerApi& api, int32_t engine) {
  const char* lines = api.getConfig(engine, kAPlayerConfigDiagnostics);
  return lines ? lines : "(null)";
}

// A decoding process that answers out of protocol, or says it wrote a frame
// larger than the buffer it was given, or claims a picture too large to
// hold: the file is reported unplayable, nothing crashes, and the engine
// says why in its diagnostic lines, once.
TEST_F(APlayerLifecycle, ADecodingProcessThatBreaksTheProtocolMakesItsFileUnplayable) {
  EngineWithFakeDecoder fake;
  ASSERT_TRUE(fake.loaded());
  const struct {
    const char* mode;
    const char* reason;
    const char* verdict;
  } cases[] = {
      {"oversized-header", "killed: an answer out of protocol to Open", "clip_short.mp4: cannot be played"},
      {"wrong-op", "killed: an answer out of protocol to Open", "clip_short.mp4: cannot be played"},
      {"frame-too-large", "killed: a frame of 4000x4000 in a buffer for 320x240",
       "clip_short.mp4: decoding failed while playing"},
      {"picture-9000", "started", "clip_short.mp4: cannot be played: the picture is 9000x9000, larger than 8192x8192"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.mode);
    clearRecordedEvents();
    ::SetEnvironmentVariableA("QOVA_FAKE_DECODER", each.mode);
    const int32_t engine = fake.api.create(nullptr, 60, 60, 160, 120, nullptr, &recordPlayerEvent, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(engine, 0);
    const int32_t opened = fake.api.open(engine, mediaFile("clip_short.mp4").c_str());
    EXPECT_TRUE(opened == kAPlayerCannotOpen || waitForEvents({kAPlayerEventOpenFailed, 0}, 1))
        << "reported unplayable";
    EXPECT_TRUE(waitForEvents({kAPlayerEventDiagnostics, 0}, 1));
    EXPECT_EQ(fake.api.getState(engine), kAPlayerStateReady);
    // The process's kill comes a moment after the file's verdict.
    std::string lines;
    EXPECT_TRUE(waitUntil([&] {
      lines += readDiagnostics(fake.api, engine);
      return lines.find(each.reason) != std::string::npos && lines.find(each.verdict) != std::string::npos;
    }, 15s));
    EXPECT_NE(lines.find(each.reason), std::string::npos) << lines;
    EXPECT_NE(lines.find(each.verdict), std::string::npos) << lines;
    EXPECT_EQ(lines.back(), '\n');
    EXPECT_EQ(readDiagnostics(fake.api, engine), "") << "each line is read once";
    EXPECT_EQ(countEvents({kAPlayerEventDiagnostics, 0}), 1) << "one event until they are read";
    EXPECT_EQ(countEvents({kAPlayerEventOpenFailed, 0}), opened == kAPlayerCannotOpen ? 0 : 1);
    EXPECT_EQ(fake.api.destroy(engine), kAPlayerOk);
  }
}

// The decoding process starts in its own folder and holds none of the
// program's inheritable handles. (Its job's limits cannot be read back
// under Wine, which reports none.)
TEST_F(APlayerLifecycle, TheDecodingProcessStartsInItsFolderWithItsPipeAlone) {
  EngineWithFakeDecoder fake;
  ASSERT_TRUE(fake.loaded());
  TempFolder reports("aplayer_report");
  const std::string report = reports.file("report.txt");
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  UniqueHandle foreign(::CreateEventW(&inheritable, TRUE, FALSE, nullptr));
  ASSERT_TRUE(foreign);
  ::SetEnvironmentVariableA("QOVA_FAKE_DECODER", "report");
  ::SetEnvironmentVariableA("QOVA_FAKE_DECODER_REPORT", report.c_str());
  ::SetEnvironmentVariableA("QOVA_FAKE_DECODER_FOREIGN",
                            std::to_string(reinterpret_cast<uintptr_t>(foreign.get())).c_str());
  const int32_t engine = fake.api.create(nullptr, 60, 60, 160, 120, nullptr, &recordPlayerEvent, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(engine, 0);
  fake.api.open(engine, mediaFile("clip_short.mp4").c_str());
  std::string text;
  EXPECT_TRUE(waitUntil([&] {
    pumpMessagesFor(20ms);
    text = readWholeFile(report);
    return std::count(text.begin(), text.end(), '\n') >= 2;
  }, 15s)) << text;
  ::SetEnvironmentVariableA("QOVA_FAKE_DECODER_REPORT", nullptr);
  ::SetEnvironmentVariableA("QOVA_FAKE_DECODER_FOREIGN", nullptr);
  EXPECT_EQ(fake.api.destroy(engine), kAPlayerOk);

  std::istringstream lines(text);
  std::string folder, inherited;
  std::getline(lines, folder);
  std::getline(lines, inherited);
  const std::string copyFolder = fake.folder();
  EXPECT_TRUE(_stricmp(folder.c_str(), copyFolder.c_str()) == 0 ||
              _stricmp(folder.c_str(), (copyFolder + "\\").c_str()) == 0)
      << folder << " is not " << copyFolder;
  EXPECT_EQ(inherited, "not inherited");
}

// Another program of the user's connects to every pipe of the engine's it
// can see, as fast as it can, while two engines play and their decoding
// process is started again and again: every file plays on. (Windows lists
// the pipes' names to anyone; Wine lists none, and the random names leave
// nothing to guess.)
TEST_F(APlayerLifecycle, APipeSquatterStopsNoOnesPlayback) {
  TestProcess squatter(testProgramDirectory() + "\\fixtures\\fake_decoder.exe", "squat");
  ASSERT_TRUE(squatter.started());
  const int32_t engine = createEngine(nullptr, 60, 60, 160, 120);
  const int32_t other = createEngine(nullptr, 260, 60, 160, 120);
  ASSERT_TRUE(open(other, "clip_moving.mp4"));
  ASSERT_TRUE(waitForState(other, kAPlayerStatePlaying));
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // A new decoding process, and with it a new control pipe and new connections.
    for (DWORD id : decodingProcesses()) {
      UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
      if (process) ::TerminateProcess(process.get(), 3);
      if (process) ::WaitForSingleObject(process.get(), 5000);
    }
    clearRecordedEvents();
    ASSERT_TRUE(open(engine, "clip_short.mp4"));
    ASSERT_TRUE(open(other, "clip_moving.mp4"));
    EXPECT_TRUE(waitForState(engine, kAPlayerStatePlaying));
    EXPECT_TRUE(waitForState(other, kAPlayerStatePlaying));
    EXPECT_EQ(countEvents({kAPlayerEventOpenFailed, 0}), 0);
    EXPECT_EQ(decodingProcesses().size(), 1u) << "decoded in the decoding process";
  }
  EXPECT_TRUE(squatter.running());
}

TEST_F(APlayerLifecycle, CreateRefusesAParentThatIsNoWindow) {
  HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0000));
  EXPECT_EQ(api.create(bogus, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr),
            0);
}

}  // namespace
}  // namespace qova::test
