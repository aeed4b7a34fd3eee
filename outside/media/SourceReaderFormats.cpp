#include "outside/media/SourceReaderFormats.h"

#include <mfapi.h>

#include <algorithm>
#include <vector>

#include "runtime/UniqueHandle.h"

namespace qova::media {
namespace {

constexpr DWORD kVideoStream = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);

std::vector<GUID> outputSubtypes(IMFSourceReader* reader, const GUID& preferred) {
  std::vector<GUID> subtypes{preferred};
  ComPtr<IMFMediaType> native;
  GUID nativeSubtype{};
  if (SUCCEEDED(reader->GetNativeMediaType(kVideoStream, 0, native.put())) &&
      SUCCEEDED(native->GetGUID(MF_MT_SUBTYPE, &nativeSubtype)) && layoutOfSubtype(nativeSubtype))
    subtypes.push_back(nativeSubtype);
  for (const GUID& subtype : {MFVideoFormat_NV12, MFVideoFormat_P010, MFVideoFormat_RGB32, MFVideoFormat_I420,
                              MFVideoFormat_IYUV, MFVideoFormat_YV12, MFVideoFormat_YUY2, MFVideoFormat_UYVY,
                              MFVideoFormat_ARGB32})
    if (std::find(subtypes.begin(), subtypes.end(), subtype) == subtypes.end()) subtypes.push_back(subtype);
  return subtypes;
}

}  // namespace

std::optional<VideoFrameFormat> currentVideoFormat(IMFSourceReader* reader, const StreamColour* stream) {
  ComPtr<IMFMediaType> type;
  if (FAILED(reader->GetCurrentMediaType(kVideoStream, type.put()))) return std::nullopt;
  return describeVideoType(type.get(), stream);
}

std::optional<VideoFrameFormat> chooseVideoFormat(IMFSourceReader* reader, const GUID& preferred,
                                                  const StreamColour* stream) {
  for (const GUID& subtype : outputSubtypes(reader, preferred)) {
    ComPtr<IMFMediaType> wanted;
    if (FAILED(::MFCreateMediaType(wanted.put()))) return std::nullopt;
    wanted->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    wanted->SetGUID(MF_MT_SUBTYPE, subtype);
    if (FAILED(reader->SetCurrentMediaType(kVideoStream, nullptr, wanted.get()))) continue;
    if (std::optional<VideoFrameFormat> format = currentVideoFormat(reader, stream)) return format;
  }
  return std::nullopt;
}

int64_t readerDuration(IMFSourceReader* reader) {
  PROPVARIANT value;
  ::PropVariantInit(&value);
  int64_t duration = 0;
  if (SUCCEEDED(reader->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION,
                                                 &value)) &&
      (value.vt == VT_UI8 || value.vt == VT_I8))
    duration = value.hVal.QuadPart;
  ::PropVariantClear(&value);
  return duration > 0 ? duration : 0;
}

bool seekReader(IMFSourceReader* reader, int64_t position) {
  PROPVARIANT value;
  ::PropVariantInit(&value);
  value.vt = VT_I8;
  value.hVal.QuadPart = position;
  return SUCCEEDED(reader->SetCurrentPosition(GUID_NULL, value));
}

std::optional<StreamColour> fileStreamColour(const std::wstring& path) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) return std::nullopt;
  const FileBytes read = [&file](uint64_t offset, size_t length, uint8_t* target) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    return length <= MAXDWORD && ::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) &&
           ::ReadFile(file.get(), target, static_cast<DWORD>(length), &got, nullptr) && got == length;
  };
  return mp4StreamColour(read, static_cast<uint64_t>(size.QuadPart));
}

}  // namespace qova::media
