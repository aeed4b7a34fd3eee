#pragma once
// The real APlayerCaller.dll beside the test program, its exports bound by
// name with the contract's types, and a recorder for handler 2's events.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "outside/aplayer/APlayerContract.h"

namespace qova::test {

struct APlayerApi {
  decltype(&APlayer_Create) create;
  decltype(&APlayer_OpenA) open;
  decltype(&APlayer_SetConfigA) setConfig;
  decltype(&APlayer_GetVersion) getVersion;
  decltype(&APlayer_GetVideoWidth) getVideoWidth;
  decltype(&APlayer_Destroy) destroy;
  decltype(&APlayer_Close) close;
  decltype(&APlayer_Play) play;
  decltype(&APlayer_Pause) pause;
  decltype(&APlayer_SetCustomLogo) setCustomLogo;
  decltype(&APlayer_GetWindow) getWindow;
  decltype(&APlayer_GetState) getState;
  decltype(&APlayer_GetDuration) getDuration;
  decltype(&APlayer_GetPosition) getPosition;
  decltype(&APlayer_SetPosition) setPosition;
  decltype(&APlayer_GetVideoHeight) getVideoHeight;
  decltype(&APlayer_GetVolume) getVolume;
  decltype(&APlayer_SetVolume) setVolume;
  decltype(&APlayer_IsSeeking) isSeeking;
  decltype(&APlayer_GetBufferProgress) getBufferProgress;
  decltype(&APlayer_GetConfigA) getConfig;
};

// The exports of an engine DLL loaded as `module`; clears `complete` when one is missing.
APlayerApi bindAPlayerApi(HMODULE module, bool& complete);
// The DLL's exports, loaded once for the whole test program; null members when an export is missing.
const APlayerApi& aplayer();
// True when the DLL loaded and every export was found.
bool aplayerLoaded();

// programDirectory() + "\media\" + name: the generated sample media.
std::string mediaFile(const std::string& name);

// What handler 2 received, in order, on this (the only) test thread.
using PlayerEvent = std::pair<int32_t, int32_t>;
std::vector<PlayerEvent>& recordedEvents();
// Runs inside handler 2 after each event is recorded (empty: nothing).
void setEventReaction(std::function<void(PlayerEvent)> reaction);
void clearRecordedEvents();
// The recorded events the contract defines, in order: without our engine's
// own (the diagnostic lines' event comes whenever the engine has something to say).
std::vector<PlayerEvent> contractEvents();
// How often (code, parameter) was recorded.
int countEvents(PlayerEvent event);
// Handler 2 for APlayer_Create.
int32_t WINAPI recordPlayerEvent(int32_t code, int32_t parameter);

// Waits, pumping messages, until the engine reports `state`; false on time-out.
bool waitForState(int32_t engine, int32_t state,
                  std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Waits, pumping messages, until `event` has been recorded `times` times; false on time-out.
bool waitForEvents(PlayerEvent event, int times,
                   std::chrono::milliseconds timeout = std::chrono::seconds(15));

}  // namespace qova::test
