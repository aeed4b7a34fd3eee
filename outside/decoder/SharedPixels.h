#pragma once
// Pixel memory that another process can write into: a frame buffer the
// decoding process fills with a frame while this one shows the frame before.
// A section of the paging file, mapped here for as long as the object lives.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class SharedPixels {
 public:
  SharedPixels() = default;
  // `bytes` of zeroed memory; empty() when the system has none to give.
  explicit SharedPixels(size_t bytes);
  // Maps `bytes` of a section another process made and handed over; takes the handle.
  static SharedPixels adopt(HANDLE section, size_t bytes);
  ~SharedPixels();
  SharedPixels(SharedPixels&& other) noexcept;
  SharedPixels& operator=(SharedPixels&& other) noexcept;
  SharedPixels(const SharedPixels&) = delete;
  SharedPixels& operator=(const SharedPixels&) = delete;

  bool empty() const { return view_ == nullptr; }
  uint8_t* data() const { return view_; }
  size_t size() const { return bytes_; }
  HANDLE section() const { return section_.get(); }
  // Tells this memory apart from any other this process has made, for as long as it runs.
  uint64_t serial() const { return serial_; }

 private:
  void unmap();
  bool map(size_t bytes);

  UniqueHandle section_;
  uint8_t* view_ = nullptr;
  size_t bytes_ = 0;
  uint64_t serial_ = 0;
};

}  // namespace qova::aplayer
