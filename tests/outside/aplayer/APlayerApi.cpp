#include "tests/outside/aplayer/APlayerApi.h"

#include <algorithm>

#include "runtime/ProgramDirectory.h"
#include "tests/support/DllExports.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

struct LoadedApi {
  APlayerApi api{};
  bool complete = true;
  LoadedApi() {
    // Deliberately never freed: engines of a failed test may still be alive.
    api = bindAPlayerApi(::LoadLibraryA(qova::programFile(kAPlayerLibrary).c_str()), complete);
  }
};

const LoadedApi& loaded() {
  static const LoadedApi instance;
  return instance;
}

std::vector<PlayerEvent> events;
std::function<void(PlayerEvent)> reaction;

}  // namespace

APlayerApi bindAPlayerApi(HMODULE module, bool& complete) {
  APlayerApi api{};
  if (!module) complete = false;
  bindExport(module, api.create, "APlayer_Create", complete);
  bindExport(module, api.open, "APlayer_OpenA", complete);
  bindExport(module, api.setConfig, "APlayer_SetConfigA", complete);
  bindExport(module, api.getVersion, "APlayer_GetVersion", complete);
  bindExport(module, api.getVideoWidth, "APlayer_GetVideoWidth", complete);
  bindExport(module, api.destroy, "APlayer_Destroy", complete);
  bindExport(module, api.close, "APlayer_Close", complete);
  bindExport(module, api.play, "APlayer_Play", complete);
  bindExport(module, api.pause, "APlayer_Pause", complete);
  bindExport(module, api.setCustomLogo, "APlayer_SetCustomLogo", complete);
  bindExport(module, api.getWindow, "APlayer_GetWindow", complete);
  bindExport(module, api.getState, "APlayer_GetState", complete);
  bindExport(module, api.getDuration, "APlayer_GetDuration", complete);
  bindExport(module, api.getPosition, "APlayer_GetPosition", complete);
  bindExport(module, api.setPosition, "APlayer_SetPosition", complete);
  bindExport(module, api.getVideoHeight, "APlayer_GetVideoHeight", complete);
  bindExport(module, api.getVolume, "APlayer_GetVolume", complete);
  bindExport(module, api.setVolume, "APlayer_SetVolume", complete);
  bindExport(module, api.isSeeking, "APlayer_IsSeeking", complete);
  bindExport(module, api.getBufferProgress, "APlayer_GetBufferProgress", complete);
  bindExport(module, api.getConfig, "APlayer_GetConfigA", complete);
  return api;
}

const APlayerApi& aplayer() { return loaded().api; }

bool aplayerLoaded() { return loaded().complete; }

std::string mediaFile(const std::string& name) { return qova::programDirectory() + "\\media\\" + name; }

std::vector<PlayerEvent>& recordedEvents() { return events; }

void setEventReaction(std::function<void(PlayerEvent)> newReaction) { reaction = std::move(newReaction); }

void clearRecordedEvents() {
  events.clear();
  reaction = nullptr;
}

int countEvents(PlayerEvent event) {
  return static_cast<int>(std::count(events.begin(), events.end(), event));
}

std::vector<PlayerEvent> contractEvents() {
  std::vector<PlayerEvent> contract;
  for (const PlayerEvent& event : events)
    if (event.first != kAPlayerEventDiagnostics) contract.push_back(event);
  return contract;
}

int32_t WINAPI recordPlayerEvent(int32_t code, int32_t parameter) {
  events.emplace_back(code, parameter);
  if (reaction) reaction({code, parameter});
  return 0;
}

bool waitForState(int32_t engine, int32_t state, std::chrono::milliseconds timeout) {
  return waitUntil([&] { return aplayer().getState(engine) == state; }, timeout);
}

bool waitForEvents(PlayerEvent event, int times, std::chrono::milliseconds timeout) {
  return waitUntil([&] { return countEvents(event) >= times; }, timeout);
}

}  // namespace qova::test
