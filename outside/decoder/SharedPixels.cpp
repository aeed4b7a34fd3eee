#include "outside/decoder/SharedPixels.h"

#include <atomic>
#include <utility>

namespace qova::aplayer {

SharedPixels::SharedPixels(size_t bytes) {
  static std::atomic<uint64_t> lastSerial{0};
  const auto size = static_cast<uint64_t>(bytes);
  section_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(size >> 32),
                                      static_cast<DWORD>(size), nullptr));
  if (map(bytes)) serial_ = ++lastSerial;
}

SharedPixels SharedPixels::adopt(HANDLE section, size_t bytes) {
  SharedPixels pixels;
  // Null or INVALID_HANDLE_VALUE (the process itself) is no section, and nothing to close.
  if (section == nullptr || section == INVALID_HANDLE_VALUE) return pixels;
  pixels.section_.reset(section);
  pixels.map(bytes);
  return pixels;
}

bool SharedPixels::map(size_t bytes) {
  if (!section_ || bytes == 0) return false;
  view_ = static_cast<uint8_t*>(::MapViewOfFile(section_.get(), FILE_MAP_WRITE, 0, 0, bytes));
  if (!view_) {
    section_.reset();
    return false;
  }
  bytes_ = bytes;
  return true;
}

SharedPixels::~SharedPixels() { unmap(); }

SharedPixels::SharedPixels(SharedPixels&& other) noexcept
    : section_(std::move(other.section_)),
      view_(std::exchange(other.view_, nullptr)),
      bytes_(std::exchange(other.bytes_, 0)),
      serial_(std::exchange(other.serial_, 0)) {}

SharedPixels& SharedPixels::operator=(SharedPixels&& other) noexcept {
  if (this != &other) {
    unmap();
    section_ = std::move(other.section_);
    view_ = std::exchange(other.view_, nullptr);
    bytes_ = std::exchange(other.bytes_, 0);
    serial_ = std::exchange(other.serial_, 0);
  }
  return *this;
}

void SharedPixels::unmap() {
  if (view_) ::UnmapViewOfFile(std::exchange(view_, nullptr));
  bytes_ = 0;
}

}  // namespace qova::aplayer
