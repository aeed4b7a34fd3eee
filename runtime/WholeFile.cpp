#include "runtime/WholeFile.h"

#include <windows.h>

#include "runtime/UniqueHandle.h"

namespace qova {
namespace {

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::string temporaryOf(const std::string& path) { return path + ".new"; }

UniqueFile createForWriting(const std::string& path, DWORD flags) {
  return UniqueFile(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | flags, nullptr));
}

}  // namespace

std::optional<std::string> readWholeFileIfReadable(const std::string& path) {
  // Sharing delete too, so that a reader never makes another program's
  // replace of the file fail.
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::string();
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
  std::string bytes;
  try {
    bytes.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  size_t filled = 0;
  while (filled < bytes.size()) {
    size_t left = bytes.size() - filled;
    DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + filled, chunk, &got, nullptr) || got == 0)
      return std::nullopt;
    filled += got;
  }
  return bytes;
}

std::string readWholeFile(const std::string& path) {
  return readWholeFileIfReadable(path).value_or(std::string());
}

bool writeWholeFile(const std::string& path, std::string_view bytes) {
  UniqueFile file = createForWriting(path, 0);
  return file && writeAll(file.get(), bytes);
}

namespace {

// `expected`: what `path` must still hold just before the replace; nullopt
// when anything will do.
Replaced replace(const std::string& path, std::string_view bytes, std::optional<std::string_view> expected) {
  // A read-only file is one the user does not want written; Windows refuses to
  // replace it, and so do we everywhere (Wine would replace it).
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return Replaced::No;
  const std::string temporary = temporaryOf(path);
  {
    UniqueFile file = createForWriting(temporary, 0);
    if (!file) return Replaced::No;
    if (!writeAll(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
      file.reset();
      ::DeleteFileA(temporary.c_str());
      return Replaced::No;
    }
  }
  if (expected && readWholeFileIfReadable(path) != *expected) {
    ::DeleteFileA(temporary.c_str());
    return Replaced::ChangedMeanwhile;
  }
  if (!::MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileA(temporary.c_str());
    return Replaced::No;
  }
  return Replaced::Yes;
}

}  // namespace

bool replaceWholeFile(const std::string& path, std::string_view bytes) {
  return replace(path, bytes, std::nullopt) == Replaced::Yes;
}

Replaced replaceWholeFileIfUnchanged(const std::string& path, std::string_view expected,
                                     std::string_view bytes) {
  return replace(path, bytes, expected);
}

void finishInterruptedReplace(const std::string& path) {
  if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES || ::GetLastError() != ERROR_FILE_NOT_FOUND)
    return;
  ::MoveFileExA(temporaryOf(path).c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
}

}  // namespace qova
