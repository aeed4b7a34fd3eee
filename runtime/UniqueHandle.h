#pragma once
// Small owners for Win32 handles and COM pointers, so that no release is
// left to the happy path.
#include <windows.h>

#include <utility>

namespace qova {

// Owns one handle described by Traits: Traits::Type, Traits::invalid() and
// Traits::close(value).
template <typename Traits>
class UniqueResource {
 public:
  using H = typename Traits::Type;
  UniqueResource() = default;
  explicit UniqueResource(H value) : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  H get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::invalid(); }
  H release() { return std::exchange(value_, Traits::invalid()); }
  void reset(H value = Traits::invalid()) {
    H old = std::exchange(value_, value);
    if (old != Traits::invalid()) Traits::close(old);
  }

 private:
  H value_ = Traits::invalid();
};

template <typename T, auto Close>
struct NullIsEmpty {
  using Type = T;
  static Type invalid() { return nullptr; }
  static void close(Type value) { Close(value); }
};

struct FileHandleTraits {
  using Type = HANDLE;
  static Type invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Type value) { ::CloseHandle(value); }
};

inline void closeKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void destroyWindowHandle(HWND h) { ::DestroyWindow(h); }
inline void deleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void destroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void deleteDeviceContext(HDC h) { ::DeleteDC(h); }
inline void releaseScreenDc(HDC h) { ::ReleaseDC(nullptr, h); }

// Files, whose empty value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueResource<FileHandleTraits>;
// Kernel handles whose empty value is null (processes, threads, events).
using UniqueHandle = UniqueResource<NullIsEmpty<HANDLE, closeKernelHandle>>;
using UniqueHwnd = UniqueResource<NullIsEmpty<HWND, destroyWindowHandle>>;
using UniqueGdiObject = UniqueResource<NullIsEmpty<HGDIOBJ, deleteGdiObject>>;
using UniqueIcon = UniqueResource<NullIsEmpty<HICON, destroyIconHandle>>;
using UniqueMemoryDc = UniqueResource<NullIsEmpty<HDC, deleteDeviceContext>>;
// The screen's device context, from GetDC(nullptr).
using UniqueScreenDc = UniqueResource<NullIsEmpty<HDC, releaseScreenDc>>;

// A counted COM reference.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr& other) : p_(other.p_) { if (p_) p_->AddRef(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() { if (T* old = std::exchange(p_, nullptr)) old->Release(); }
  // For functions that hand out a new reference through T**.
  T** put() { reset(); return &p_; }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  // Adopts a reference the caller already owns.
  static ComPtr adopt(T* p) { ComPtr c; c.p_ = p; return c; }

 private:
  T* p_ = nullptr;
};

}  // namespace qova
