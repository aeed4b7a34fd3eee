// The exports of APlayerCaller.dll (see APlayerContract.h): each finds the
// engine behind the number it is given and forwards to it; an unknown number
// gets the contract's harmless answer.
#include <windows.h>

#include "outside/aplayer/APlayerContract.h"
#include "outside/aplayer/EngineTable.h"
#include "outside/aplayer/VideoWindow.h"

namespace {

using qova::aplayer::PlayerEngine;

template <typename Result, typename Action>
Result withEngine(int32_t number, Result unknown, Action action) {
  PlayerEngine* engine = qova::aplayer::findEngine(number);
  return engine ? action(*engine) : unknown;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // Unloaded by FreeLibrary (not at process exit): a later load must be able to register the class again.
  if (reason == DLL_PROCESS_DETACH && !reserved) qova::aplayer::unregisterVideoWindowClass();
  return TRUE;
}

int32_t WINAPI APlayer_Create(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                              APlayerHandler handler1, APlayerHandler handler2,
                              APlayerHandler handler3, APlayerHandler handler4,
                              APlayerHandler handler5, APlayerHandler handler6,
                              APlayerHandler handler7, APlayerHandler handler8) {
  const RECT rectangle{x, y, x + width, y + height};
  auto engine = std::make_unique<PlayerEngine>(
      parent, rectangle,
      qova::aplayer::EngineHandlers{handler1, handler2, handler3, handler4, handler5, handler6,
                                    handler7, handler8});
  if (!engine->valid()) return 0;
  return qova::aplayer::addEngine(std::move(engine));
}

int32_t WINAPI APlayer_OpenA(int32_t engine, const char* path) {
  return withEngine(engine, kAPlayerFailed, [&](PlayerEngine& e) { return e.open(path); });
}

int32_t WINAPI APlayer_SetConfigA(int32_t engine, int32_t id, const char* value) {
  return withEngine(engine, kAPlayerFailed, [&](PlayerEngine& e) { return e.setConfig(id, value); });
}

const char* WINAPI APlayer_GetVersion(int32_t engine) {
  return withEngine(engine, static_cast<const char*>(nullptr), [](PlayerEngine& e) { return e.version(); });
}

int32_t WINAPI APlayer_GetVideoWidth(int32_t engine) {
  return withEngine(engine, 0, [](PlayerEngine& e) { return e.videoWidth(); });
}

int32_t WINAPI APlayer_Destroy(int32_t engine) {
  // Taken out of the table first, so that nothing the teardown triggers can reach it by number.
  std::unique_ptr<PlayerEngine> removed = qova::aplayer::removeEngine(engine);
  return removed ? kAPlayerOk : kAPlayerFailed;
}

int32_t WINAPI APlayer_Close(int32_t engine) {
  return withEngine(engine, kAPlayerFailed, [](PlayerEngine& e) { return e.close(); });
}

int32_t WINAPI APlayer_Play(int32_t engine) {
  return withEngine(engine, kAPlayerFailed, [](PlayerEngine& e) { return e.play(); });
}

int32_t WINAPI APlayer_Pause(int32_t engine) {
  return withEngine(engine, kAPlayerFailed, [](PlayerEngine& e) { return e.pause(); });
}

int32_t WINAPI APlayer_SetCustomLogo(int32_t engine, HBITMAP logo) {
  return withEngine(engine, kAPlayerFailed, [&](PlayerEngine& e) { return e.setLogo(logo); });
}

HWND WINAPI APlayer_GetWindow(int32_t engine) {
  return withEngine(engine, static_cast<HWND>(nullptr), [](PlayerEngine& e) { return e.window(); });
}

int32_t WINAPI APlayer_GetState(int32_t engine) {
  return withEngine(engine, kAPlayerFailed, [](PlayerEngine& e) { return e.state(); });
}

int32_t WINAPI APlayer_GetDuration(int32_t engine) {
  return withEngine(engine, 0, [](PlayerEngine& e) { return e.duration(); });
}

int32_t WINAPI APlayer_GetPosition(int32_t engine) {
  return withEngine(engine, 0, [](PlayerEngine& e) { return e.position(); });
}

int32_t WINAPI APlayer_SetPosition(int32_t engine, int32_t milliseconds) {
  return withEngine(engine, kAPlayerFailed, [&](PlayerEngine& e) { return e.setPosition(milliseconds); });
}

int32_t WINAPI APlayer_GetVideoHeight(int32_t engine) {
  return withEngine(engine, 0, [](PlayerEngine& e) { return e.videoHeight(); });
}

int32_t WINAPI APlayer_GetVolume(int32_t engine) {
  return withEngine(engine, 0, [](PlayerEngine& e) { return e.volume(); });
}

int32_t WINAPI APlayer_SetVolume(int32_t engine, int32_t volume) {
  return withEngine(engine, kAPlayerFailed, [&](PlayerEngine& e) { return e.setVolume(volume); });
}

int32_t WINAPI APlayer_IsSeeking(int32_t engine) {
  return withEngine(engine, 0, [](PlayerEngine& e) { return e.isSeeking(); });
}

int32_t WINAPI APlayer_GetBufferProgress(int32_t engine) {
  return withEngine(engine, 0, [](PlayerEngine& e) { return e.bufferProgress(); });
}

const char* WINAPI APlayer_GetConfigA(int32_t engine, int32_t id) {
  return withEngine(engine, static_cast<const char*>(nullptr), [&](PlayerEngine& e) { return e.config(id); });
}

}  // extern "C"
