#include "shell/CommonDialog.h"

#include <cderr.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "runtime/AnsiText.h"
#include "runtime/UniqueHandle.h"
#include "shell/DialogFilter.h"

namespace qova {

namespace {

// The file dialogs take the structure without the Windows 2000 fields (the
// places bar and its flags). That is 76 bytes in a 32-bit program; the same
// layout with 64-bit pointers is 136 bytes, and a 64-bit comdlg32 refuses 76
// with CDERR_STRUCTSIZE, so the size is measured the way the SDK's
// OPENFILENAME_SIZE_VERSION_400A measures it (which is not a constant expression).
constexpr DWORD kFileDialogStructSize =
    offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName);
static_assert(sizeof(void*) != 4 || kFileDialogStructSize == 76);
static_assert(sizeof(void*) != 8 || kFileDialogStructSize == 136);
static_assert(offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(OPENFILENAMEW::lpTemplateName) ==
              kFileDialogStructSize);

// 60 bytes in a 32-bit program, 104 in a 64-bit one, where ChooseFontA
// returns 0 at once for 60 without showing anything.
constexpr DWORD kFontDialogStructSize = sizeof(CHOOSEFONTA);
static_assert(sizeof(void*) != 4 || kFontDialogStructSize == 60);

constexpr DWORD kFontDialogFlags =
    CF_BOTH | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_LIMITSIZE | CF_FORCEFONTEXIST;
static_assert(kFontDialogFlags == 0x12143);
constexpr INT kSmallestFontSize = 8;
constexpr INT kLargestFontSize = 72;
constexpr LONG kBoldWeight = FW_BOLD;
constexpr LONG kNormalWeight = FW_NORMAL;
constexpr int kPointsPerInch = 72;

// The preview dialogs of Video for Windows; looked up at each use, since the
// system may come without them.
constexpr const char* kVideoForWindowsLibrary = "msvfw32.dll";
constexpr const char* kOpenPreviewExport = "GetOpenFileNamePreviewA";
constexpr const char* kSavePreviewExport = "GetSaveFileNamePreviewA";

using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);

inline void freeModule(HMODULE module) { ::FreeLibrary(module); }
inline void freeGlobalBlock(HGLOBAL block) { ::GlobalFree(block); }
using UniqueModule = UniqueResource<NullIsEmpty<HMODULE, freeModule>>;
using UniqueGlobalBlock = UniqueResource<NullIsEmpty<HGLOBAL, freeGlobalBlock>>;

// Null for empty text, so that the dialog falls back to its own default
// (its own caption, the current folder, no extension added).
const char* textOrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }
const wchar_t* textOrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

std::wstring wideOf(const char* text) { return text ? ansiToWide(text) : std::wstring(); }

BOOL runFileDialog(FileDialogRequest& request, bool preview, const char* previewExport,
                   FileDialogFunction plainDialog) {
  if (preview) {
    // Only from the system folder: a msvfw32.dll beside the program or in the
    // current folder is never loaded.
    UniqueModule videoForWindows(
        ::LoadLibraryExA(kVideoForWindowsLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (videoForWindows) {
      auto previewDialog = reinterpret_cast<FileDialogFunction>(
          reinterpret_cast<void*>(::GetProcAddress(videoForWindows.get(), previewExport)));
      if (previewDialog) return previewDialog(request.get());
    }
  }
  return plainDialog(request.get());
}

int screenPixelsPerInchY() {
  UniqueScreenDc screen(::GetDC(nullptr));
  return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
}

BYTE flagByte(bool on) { return on ? 1 : 0; }

}  // namespace

DWORD openFileFlags(bool createPrompt, bool fileMustExist, bool pathMustExist, bool keepDirectory) {
  DWORD flags = OFN_EXPLORER;
  if (createPrompt) flags |= OFN_CREATEPROMPT;
  if (fileMustExist) flags |= OFN_FILEMUSTEXIST;
  if (pathMustExist) flags |= OFN_PATHMUSTEXIST;
  if (keepDirectory) flags |= OFN_NOCHANGEDIR;
  return flags;
}

DWORD saveFileFlags(bool overwritePrompt, bool pathMustExist, bool keepDirectory) {
  DWORD flags = OFN_EXPLORER;
  if (overwritePrompt) flags |= OFN_OVERWRITEPROMPT;
  if (pathMustExist) flags |= OFN_PATHMUSTEXIST;
  if (keepDirectory) flags |= OFN_NOCHANGEDIR;
  return flags;
}

FileDialogRequest::FileDialogRequest(std::string_view title, std::string_view initialFileName,
                                     std::string_view filter, std::string_view initialDirectory,
                                     std::string_view defaultExtension, DWORD flags,
                                     std::size_t bufferSize)
    : title_(title),
      filter_(dialogFilterBytes(filter)),
      initialDirectory_(initialDirectory),
      defaultExtension_(defaultExtension),
      file_(fileNameBuffer(initialFileName, bufferSize)) {
  fields_.lStructSize = kFileDialogStructSize;
  fields_.hwndOwner = ::GetActiveWindow();
  fields_.lpstrFilter = filter_.c_str();
  fields_.lpstrFile = file_.data();
  fields_.nMaxFile = static_cast<DWORD>(file_.size());
  fields_.lpstrInitialDir = textOrNull(initialDirectory_);
  fields_.lpstrTitle = textOrNull(title_);
  fields_.Flags = flags;
  fields_.lpstrDefExt = textOrNull(defaultExtension_);
}

WideFileDialogRequest::WideFileDialogRequest(const FileDialogRequest& request)
    : title_(wideOf(request.fields().lpstrTitle)),
      filter_(ansiToWide(request.filterBytes())),
      initialDirectory_(wideOf(request.fields().lpstrInitialDir)),
      defaultExtension_(wideOf(request.fields().lpstrDefExt)),
      file_(ansiToWide(textBeforeNul(request.buffer()))) {
  file_.resize(request.buffer().size(), L'\0');
  const OPENFILENAMEA& ansi = request.fields();
  fields_.lStructSize = kFileDialogStructSize;
  fields_.hwndOwner = ansi.hwndOwner;
  fields_.lpstrFilter = filter_.c_str();
  fields_.lpstrFile = file_.data();
  fields_.nMaxFile = static_cast<DWORD>(file_.size());
  fields_.lpstrInitialDir = textOrNull(initialDirectory_);
  fields_.lpstrTitle = textOrNull(title_);
  fields_.Flags = ansi.Flags;
  fields_.lpstrDefExt = textOrNull(defaultExtension_);
}

BOOL runOpenDialog(FileDialogRequest& request, bool preview) {
  return runFileDialog(request, preview, kOpenPreviewExport, ::GetOpenFileNameA);
}

BOOL runSaveDialog(FileDialogRequest& request, bool preview) {
  return runFileDialog(request, preview, kSavePreviewExport, ::GetSaveFileNameA);
}

std::string CommonDialog::openFile(bool preview, const std::string& title,
                                   const std::string& initialFileName, const std::string& filter,
                                   const std::string& initialDirectory,
                                   const std::string& defaultExtension, bool createPrompt,
                                   bool fileMustExist, bool pathMustExist,
                                   bool keepDirectory) const {
  FileDialogRequest request(
      title, initialFileName, filter, initialDirectory, defaultExtension,
      openFileFlags(createPrompt, fileMustExist, pathMustExist, keepDirectory),
      kSingleFileBufferSize);
  if (!runOpenDialog(request, preview)) return {};
  return textBeforeNul(request.buffer());
}

ChosenFile CommonDialog::openFileUnicode(const std::string& title, const std::string& filter,
                                        const std::string& initialDirectory, bool fileMustExist,
                                        bool pathMustExist, bool keepDirectory) const {
  const FileDialogRequest request(title, {}, filter, initialDirectory, {},
                                  openFileFlags(false, fileMustExist, pathMustExist, keepDirectory),
                                  kSingleFileBufferSize);
  WideFileDialogRequest wide(request);
  if (!::GetOpenFileNameW(wide.get())) return {{}, ::CommDlgExtendedError() == FNERR_BUFFERTOOSMALL};
  const std::wstring_view buffer = wide.buffer();
  return {std::wstring(buffer.substr(0, buffer.find(L'\0'))), false};
}

ChosenFiles CommonDialog::openFilesUnicode(const std::string& title, const std::string& filter,
                                          const std::string& initialDirectory) const {
  const FileDialogRequest request(title, {}, filter, initialDirectory, {},
                                  openFileFlags(false, true, true, true) | OFN_ALLOWMULTISELECT,
                                  kManyFilesBufferSize);
  WideFileDialogRequest wide(request);
  if (!::GetOpenFileNameW(wide.get())) return {{}, ::CommDlgExtendedError() == FNERR_BUFFERTOOSMALL};
  return {selectedFiles(wide.buffer()), false};
}

std::string CommonDialog::saveFile(bool preview, const std::string& title,
                                   const std::string& initialFileName, const std::string& filter,
                                   const std::string& initialDirectory,
                                   const std::string& defaultExtension, bool overwritePrompt,
                                   bool pathMustExist, bool keepDirectory) const {
  FileDialogRequest request(title, initialFileName, filter, initialDirectory, defaultExtension,
                            saveFileFlags(overwritePrompt, pathMustExist, keepDirectory),
                            kSingleFileBufferSize);
  if (!runSaveDialog(request, preview)) return {};
  return textBeforeNul(request.buffer());
}

std::string CommonDialog::openFiles(bool preview, const std::string& title,
                                    const std::string& filter,
                                    const std::string& initialDirectory) const {
  FileDialogRequest request(title, {}, filter, initialDirectory, {}, kOpenFilesFlags,
                            kMultipleFileBufferSize);
  if (!runOpenDialog(request, preview)) return {};
  return joinSelectedFiles(request.buffer());
}

LOGFONTA makeLogFont(const std::string& faceName, int32_t size, bool bold, bool italic,
                     bool strikeout, bool underline) {
  LOGFONTA font{};
  font.lfHeight = -::MulDiv(size, screenPixelsPerInchY(), kPointsPerInch);
  font.lfWeight = bold ? kBoldWeight : kNormalWeight;
  font.lfItalic = flagByte(italic);
  font.lfUnderline = flagByte(underline);
  font.lfStrikeOut = flagByte(strikeout);
  font.lfCharSet = DEFAULT_CHARSET;
  const size_t faceBytes = std::min(faceName.size(), sizeof(font.lfFaceName) - 1);
  std::memcpy(font.lfFaceName, faceName.data(), faceBytes);
  return font;
}

FontChoice fontChoiceFrom(const LOGFONTA& font, INT pointSizeTenths) {
  FontChoice choice;
  choice.angle = font.lfEscapement;
  choice.bold = font.lfWeight == kBoldWeight;
  choice.italic = font.lfItalic == 1;
  choice.strikeout = font.lfStrikeOut == 1;
  choice.underline = font.lfUnderline == 1;
  choice.size = pointSizeTenths / 10;
  choice.faceName.assign(font.lfFaceName, ::strnlen(font.lfFaceName, sizeof(font.lfFaceName)));
  return choice;
}

FontChoice CommonDialog::chooseFont(const std::string& faceName, int32_t size, COLORREF colour,
                                    bool bold, bool italic, bool strikeout,
                                    bool underline) const {
  // The dialog writes the chosen font back into this block.
  UniqueGlobalBlock block(::GlobalAlloc(GPTR, sizeof(LOGFONTA)));
  if (!block) return {};
  auto* font = static_cast<LOGFONTA*>(block.get());
  *font = makeLogFont(faceName, size, bold, italic, strikeout, underline);

  CHOOSEFONTA request{};
  request.lStructSize = kFontDialogStructSize;
  request.hwndOwner = ::GetActiveWindow();
  request.lpLogFont = font;
  request.Flags = kFontDialogFlags;
  request.rgbColors = colour;
  request.nFontType = REGULAR_FONTTYPE;
  request.nSizeMin = kSmallestFontSize;
  request.nSizeMax = kLargestFontSize;
  if (!::ChooseFontA(&request)) return {};
  return fontChoiceFrom(*font, request.iPointSize);
}

}  // namespace qova
