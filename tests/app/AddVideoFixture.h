#pragma once
// Adding a video through the real file dialog, driven from a second thread,
// with whichever screenshot.dll sits beside this test program: the real one
// (in bin/) or the scripted stand-in (in bin/scripted/).
#include "app/AddVideo.h"

#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include "library/LibraryFile.h"
#include "library/LibraryRecord.h"
#include "runtime/AnsiText.h"
#include "runtime/ProgramDirectory.h"
#include "runtime/WholeFile.h"
#include "tests/shell/DialogDriver.h"
#include "tests/support/TempFolder.h"

namespace qova::test {

// Runs addVideo for `library` while a user picks `path` in its dialog (or
// cancels when empty) and closes the message box the program may show then;
// the dialog's title. `message` receives the box's text (empty without one).
inline std::string addVideoChoosing(qova::VideoLibrary& library, const std::wstring& path,
                                    std::string* message = nullptr) {
  std::string title, boxText;
  qova::test::whileDriving<int>(
      [&](DialogDriver& driver) {
        HWND dialog = driver.waitForDialog(qova::test::kFileNameBox);
        if (!dialog) dialog = driver.waitForDialog(qova::test::kFileNameEdit, std::chrono::seconds(2));
        if (!dialog) return;
        char text[256] = {};
        ::GetWindowTextA(dialog, text, sizeof text);
        title = text;
        if (path.empty()) {
          qova::test::pressButton(dialog, IDCANCEL);
        } else {
          qova::test::typeFileName(dialog, path);
          qova::test::pressButton(dialog, IDOK);
        }
        if (driver.boxOrClose(dialog)) return;
        // The program's own message, once the dialog has gone; none when addVideo returns first.
        if (HWND box = driver.waitForDialog(qova::test::kMessageBoxTextId)) {
          boxText = qova::test::messageBoxText(box);
          qova::test::pressButton(box, IDOK);
        }
      },
      [&] {
        qova::addVideo(library, nullptr);
        return 0;
      });
  if (message) *message = boxText;
  return title;
}

inline std::string addVideoChoosing(qova::VideoLibrary& library, const std::string& path,
                                    std::string* message = nullptr) {
  return addVideoChoosing(library, qova::ansiToWide(path), message);
}

class AddVideo : public ::testing::Test {
 protected:
  void SetUp() override {
    ::DeleteFileA(qova::libraryFilePath().c_str());
  }
  void TearDown() override { ::DeleteFileA(qova::libraryFilePath().c_str()); }
  std::string copyOfClip(const std::string& name) const {
    const std::string copy = folder.file(name);
    // Test programs sit in bin/ or one folder below it, the media in bin/media.
    if (!copyFileTo(qova::programFile("media\\clip_testsrc.mp4"), copy))
      copyFileTo(qova::programFile("..\\media\\clip_testsrc.mp4"), copy);
    return copy;
  }
  template <typename Path>
  std::string addVideoChoosing(const Path& path, std::string* message = nullptr) {
    return qova::test::addVideoChoosing(library, path, message);
  }

  qova::test::TempFolder folder{"qova_add"};
  qova::VideoLibrary library;
};

inline bool decodesAsJpeg(const std::string& path, UINT* width) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* factory = nullptr;
  bool ok = false;
  if (SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
    IWICBitmapDecoder* decoder = nullptr;
    std::wstring wide(path.begin(), path.end());
    int n = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    wide.resize(static_cast<size_t>(n));
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    if (SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder))) {
      GUID format{};
      IWICBitmapFrameDecode* frame = nullptr;
      UINT height = 0;
      ok = SUCCEEDED(decoder->GetContainerFormat(&format)) && format == GUID_ContainerFormatJpeg &&
           SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(width, &height));
      if (frame) frame->Release();
      decoder->Release();
    }
    factory->Release();
  }
  ::CoUninitialize();
  return ok;
}

}  // namespace qova::test
