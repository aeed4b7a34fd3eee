#include "tests/outside/aplayer/APlayerApi.h"

#include <algorithm>

#include "runtime/ProgramDirectory.h"
#include "tests/support/TestProcess.h"

namespace qova::test {
namespace {

template <typename Fn>
void bind(HMODULE module, Fn& slot, const char* name, bool& complete) {
  slot = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
  if (!slot) complete = false;
}

struct LoadedApi {
  APlayerApi api{};
  bool complete = true;
  LoadedApi() {
    // Deliberately never freed: engines of a failed test may still be alive.
    HMODULE module = ::LoadLibraryA(qova::programFile(kAPlayerLibrary).c_str());
    complete = module != nullptr;
    bind(module, api.create, "APlayer_Create", complete);
    bind(module, api.open, "APlayer_OpenA", complete);
    bind(module, api.setConfig, "APlayer_SetConfigA", complete);
    bind(module, api.getVersion, "APlayer_GetVersion", complete);
    bind(module, api.getVideoWidth, "APlayer_GetVideoWidth", complete);
    bind(module, api.destroy, "APlayer_Destroy", complete);
    bind(module, api.close, "APlayer_Close", complete);
    bind(module, api.play, "APlayer_Play", complete);
    bind(module, api.pause, "APlayer_Pause", complete);
    bind(module, api.setCustomLogo, "APlayer_SetCustomLogo", complete);
    bind(module, api.getWindow, "APlayer_GetWindow", complete);
    bind(module, api.getState, "APlayer_GetState", complete);
    bind(module, api.getDuration, "APlayer_GetDuration", complete);
    bind(module, api.getPosition, "APlayer_GetPosition", complete);
    bind(module, api.setPosition, "APlayer_SetPosition", complete);
    bind(module, api.getVideoHeight, "APlayer_GetVideoHeight", complete);
    bind(module, api.getVolume, "APlayer_GetVolume", complete);
    bind(module, api.setVolume, "APlayer_SetVolume", complete);
    bind(module, api.isSeeking, "APlayer_IsSeeking", complete);
    bind(module, api.getBufferProgress, "APlayer_GetBufferProgress", complete);
    bind(module, api.getConfig, "APlayer_GetConfigA", complete);
  }
};

const LoadedApi& loaded() {
  static const LoadedApi instance;
  return instance;
}

std::vector<PlayerEvent> events;
std::function<void(PlayerEvent)> reaction;

}  // namespace

const APlayerApi& aplayer() { return loaded().api; }

bool aplayerLoaded() { return loaded().complete; }

std::string mediaFile(const std::string& name) { return qova::programDirectory() + "\\media\\" + name; }

bool runningOnWine() {
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::vector<PlayerEvent>& recordedEvents() { return events; }

void setEventReaction(std::function<void(PlayerEvent)> newReaction) { reaction = std::move(newReaction); }

void clearRecordedEvents() {
  events.clear();
  reaction = nullptr;
}

int countEvents(PlayerEvent event) {
  return static_cast<int>(std::count(events.begin(), events.end(), event));
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
