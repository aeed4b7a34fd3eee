#include "engines/PlayerEngine.h"

#include "runtime/OutsideFunction.h"
#include "runtime/PictureDecoding.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

// Written only by create; every later call passes it to the engine.
int32_t gEngineHandle = 0;

template <auto Export>
using EngineExport = OutsideFunction<decltype(Export)>;

#define QOVA_ENGINE_EXPORT(name) const EngineExport<&::name> name{kAPlayerLibrary, #name}
namespace engine {
QOVA_ENGINE_EXPORT(APlayer_Create);
QOVA_ENGINE_EXPORT(APlayer_OpenA);
QOVA_ENGINE_EXPORT(APlayer_SetConfigA);
QOVA_ENGINE_EXPORT(APlayer_GetVersion);
QOVA_ENGINE_EXPORT(APlayer_GetVideoWidth);
QOVA_ENGINE_EXPORT(APlayer_Destroy);
QOVA_ENGINE_EXPORT(APlayer_Close);
QOVA_ENGINE_EXPORT(APlayer_Play);
QOVA_ENGINE_EXPORT(APlayer_Pause);
QOVA_ENGINE_EXPORT(APlayer_SetCustomLogo);
QOVA_ENGINE_EXPORT(APlayer_GetWindow);
QOVA_ENGINE_EXPORT(APlayer_GetState);
QOVA_ENGINE_EXPORT(APlayer_GetDuration);
QOVA_ENGINE_EXPORT(APlayer_GetPosition);
QOVA_ENGINE_EXPORT(APlayer_SetPosition);
QOVA_ENGINE_EXPORT(APlayer_GetVideoHeight);
QOVA_ENGINE_EXPORT(APlayer_GetVolume);
QOVA_ENGINE_EXPORT(APlayer_SetVolume);
QOVA_ENGINE_EXPORT(APlayer_IsSeeking);
QOVA_ENGINE_EXPORT(APlayer_GetBufferProgress);
QOVA_ENGINE_EXPORT(APlayer_GetConfigA);
}  // namespace engine
#undef QOVA_ENGINE_EXPORT

// The engine owns its text buffers and may reuse them, so texts are copied at once.
std::string copyEngineText(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

int32_t PlayerEngine::engineHandle() { return gEngineHandle; }

int32_t PlayerEngine::create(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                             APlayerHandler handler1, APlayerHandler handler2,
                             APlayerHandler handler3, APlayerHandler handler4,
                             APlayerHandler handler5, APlayerHandler handler6,
                             APlayerHandler handler7, APlayerHandler handler8) const {
  gEngineHandle = engine::APlayer_Create(parent, x, y, width, height, handler1, handler2, handler3,
                                         handler4, handler5, handler6, handler7, handler8);
  return gEngineHandle;
}

int32_t PlayerEngine::open(const std::string& path) const {
  return engine::APlayer_OpenA(gEngineHandle, path.c_str());
}

int32_t PlayerEngine::setConfig(int32_t id, const std::string& value) const {
  return engine::APlayer_SetConfigA(gEngineHandle, id, value.c_str());
}

std::string PlayerEngine::getVersion() const {
  return copyEngineText(engine::APlayer_GetVersion(gEngineHandle));
}

int32_t PlayerEngine::getVideoWidth() const { return engine::APlayer_GetVideoWidth(gEngineHandle); }
int32_t PlayerEngine::destroy() const { return engine::APlayer_Destroy(gEngineHandle); }
int32_t PlayerEngine::close() const { return engine::APlayer_Close(gEngineHandle); }
int32_t PlayerEngine::play() const { return engine::APlayer_Play(gEngineHandle); }
int32_t PlayerEngine::pause() const { return engine::APlayer_Pause(gEngineHandle); }

int32_t PlayerEngine::setCustomLogo(const std::string& imagePath) const {
  HBITMAP logo = nullptr;
  if (!imagePath.empty()) {
    const std::string data = readWholeFile(imagePath);
    logo = bitmapFromImageData(data.data(), data.size());
  }
  // The engine draws the logo from then on; the bitmap is deliberately not deleted here.
  return engine::APlayer_SetCustomLogo(gEngineHandle, logo);
}

int32_t PlayerEngine::moveWindow(int32_t x, int32_t y, int32_t width, int32_t height,
                                 int32_t repaint) const {
  HWND window = engine::APlayer_GetWindow(gEngineHandle);
  return ::MoveWindow(window, x, y, width, height, repaint);
}

int32_t PlayerEngine::getState() const { return engine::APlayer_GetState(gEngineHandle); }
int32_t PlayerEngine::getDuration() const { return engine::APlayer_GetDuration(gEngineHandle); }
int32_t PlayerEngine::getPosition() const { return engine::APlayer_GetPosition(gEngineHandle); }

int32_t PlayerEngine::setPosition(int32_t position) const {
  return engine::APlayer_SetPosition(gEngineHandle, position);
}

int32_t PlayerEngine::getVideoHeight() const {
  return engine::APlayer_GetVideoHeight(gEngineHandle);
}

int32_t PlayerEngine::getVolume() const { return engine::APlayer_GetVolume(gEngineHandle); }

int32_t PlayerEngine::setVolume(int32_t volume) const {
  return engine::APlayer_SetVolume(gEngineHandle, volume == 0 ? 80 : volume);
}

int32_t PlayerEngine::isSeeking() const { return engine::APlayer_IsSeeking(gEngineHandle); }

int32_t PlayerEngine::getBufferProgress() const {
  return engine::APlayer_GetBufferProgress(gEngineHandle);
}

std::string PlayerEngine::getConfig(int32_t id) const {
  return copyEngineText(engine::APlayer_GetConfigA(gEngineHandle, id));
}

HWND PlayerEngine::getWindow() const { return engine::APlayer_GetWindow(gEngineHandle); }

HBITMAP PlayerEngine::bitmapFromImageData(const void* data, size_t length) {
  return decodePictureToBitmap(std::string_view(static_cast<const char*>(data), length));
}

}  // namespace qova
