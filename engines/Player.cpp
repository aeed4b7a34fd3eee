#include "engines/Player.h"

#include "runtime/OutsideFunction.h"
#include "runtime/PictureDecoding.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

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

Player::~Player() {
  if (engineAlive_) destroy();
}

int32_t Player::create(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                             APlayerHandler handler1, APlayerHandler handler2,
                             APlayerHandler handler3, APlayerHandler handler4,
                             APlayerHandler handler5, APlayerHandler handler6,
                             APlayerHandler handler7, APlayerHandler handler8) {
  handle_ = engine::APlayer_Create(parent, x, y, width, height, handler1, handler2, handler3,
                                   handler4, handler5, handler6, handler7, handler8);
  engineAlive_ = handle_ != 0;
  return handle_;
}

int32_t Player::open(const std::string& path) const {
  return engine::APlayer_OpenA(handle_, path.c_str());
}

int32_t Player::setConfig(int32_t id, const std::string& value) const {
  return engine::APlayer_SetConfigA(handle_, id, value.c_str());
}

std::string Player::getVersion() const {
  return copyEngineText(engine::APlayer_GetVersion(handle_));
}

int32_t Player::getVideoWidth() const { return engine::APlayer_GetVideoWidth(handle_); }
int32_t Player::destroy() {
  engineAlive_ = false;
  return engine::APlayer_Destroy(handle_);
}
int32_t Player::close() const { return engine::APlayer_Close(handle_); }
int32_t Player::play() const { return engine::APlayer_Play(handle_); }
int32_t Player::pause() const { return engine::APlayer_Pause(handle_); }

int32_t Player::setCustomLogo(const std::string& imagePath) const {
  HBITMAP logo = nullptr;
  if (!imagePath.empty()) {
    const std::string data = readWholeFile(imagePath);
    logo = bitmapFromImageData(data.data(), data.size());
  }
  // The engine draws the logo from then on; the bitmap is deliberately not deleted here.
  return engine::APlayer_SetCustomLogo(handle_, logo);
}

int32_t Player::moveWindow(int32_t x, int32_t y, int32_t width, int32_t height,
                                 int32_t repaint) const {
  HWND window = engine::APlayer_GetWindow(handle_);
  return ::MoveWindow(window, x, y, width, height, repaint);
}

int32_t Player::getState() const { return engine::APlayer_GetState(handle_); }
int32_t Player::getDuration() const { return engine::APlayer_GetDuration(handle_); }
int32_t Player::getPosition() const { return engine::APlayer_GetPosition(handle_); }

int32_t Player::setPosition(int32_t position) const {
  return engine::APlayer_SetPosition(handle_, position);
}

int32_t Player::getVideoHeight() const {
  return engine::APlayer_GetVideoHeight(handle_);
}

int32_t Player::getVolume() const { return engine::APlayer_GetVolume(handle_); }

int32_t Player::setVolume(int32_t volume) const {
  return engine::APlayer_SetVolume(handle_, volume == 0 ? 80 : volume);
}

int32_t Player::isSeeking() const { return engine::APlayer_IsSeeking(handle_); }

int32_t Player::getBufferProgress() const {
  return engine::APlayer_GetBufferProgress(handle_);
}

std::string Player::getConfig(int32_t id) const {
  return copyEngineText(engine::APlayer_GetConfigA(handle_, id));
}

HWND Player::getWindow() const { return engine::APlayer_GetWindow(handle_); }

HBITMAP Player::bitmapFromImageData(const void* data, size_t length) {
  return decodePictureToBitmap(std::string_view(static_cast<const char*>(data), length));
}

}  // namespace qova
