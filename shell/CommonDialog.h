#pragma once
// The system's common dialogs for choosing files and a font, each run modally
// over the active window. The answers come back as plain ANSI text or a
// FontChoice; a cancel or any failure reads as an empty answer, silently.
#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qova {

// The font the user chose; the default is also the answer to a cancel.
struct FontChoice {
  int32_t angle = 0;  // tenths of a degree
  bool bold = false, italic = false, strikeout = false, underline = false;
  int32_t size = 9;  // points
  std::string faceName = "宋体";
};

// What the Unicode open-file dialog answered.
struct ChosenFile {
  std::wstring path;     // the chosen file's full path; empty when cancelled or on failure
  bool tooLong = false;  // a file was chosen whose path does not fit the dialog's buffer
};

// What the Unicode open-file dialog with several files allowed answered.
struct ChosenFiles {
  std::vector<std::wstring> paths;  // full paths in the dialog's order; empty when cancelled or on failure
  bool tooLong = false;             // the choice does not fit the dialog's buffer
};

class CommonDialog {
 public:
  // The full path of the chosen file; empty when cancelled or on failure.
  std::string openFile(bool preview, const std::string& title = {},
                       const std::string& initialFileName = {}, const std::string& filter = {},
                       const std::string& initialDirectory = {},
                       const std::string& defaultExtension = {}, bool createPrompt = false,
                       bool fileMustExist = false, bool pathMustExist = false,
                       bool keepDirectory = false) const;

  // openFile without preview, through the Unicode dialog: the chosen file's
  // true name, whatever the ANSI code page can write, and a path too long for
  // the 255-character buffer told apart from a cancel.
  ChosenFile openFileUnicode(const std::string& title, const std::string& filter,
                             const std::string& initialDirectory, bool fileMustExist,
                             bool pathMustExist, bool keepDirectory) const;

  // openFileUnicode with several files allowed (the file must exist): the
  // full path of each chosen file.
  ChosenFiles openFilesUnicode(const std::string& title, const std::string& filter,
                               const std::string& initialDirectory) const;

  // The full path to save to; empty when cancelled or on failure.
  std::string saveFile(bool preview, const std::string& title = {},
                       const std::string& initialFileName = {}, const std::string& filter = {},
                       const std::string& initialDirectory = {},
                       const std::string& defaultExtension = {}, bool overwritePrompt = false,
                       bool pathMustExist = false, bool keepDirectory = false) const;

  // The full paths of the chosen files joined by CR LF (no line break after
  // the last); empty when cancelled or on failure, also when the choice does
  // not fit the dialog's 4096-byte buffer.
  std::string openFiles(bool preview, const std::string& title = {},
                        const std::string& filter = {},
                        const std::string& initialDirectory = {}) const;

  // The chosen font (the dialog's colour is not returned); the default
  // FontChoice when cancelled or on failure, whatever was passed in.
  FontChoice chooseFont(const std::string& faceName = {}, int32_t size = 0, COLORREF colour = 0,
                        bool bold = false, bool italic = false, bool strikeout = false,
                        bool underline = false) const;
};

// ---- The pieces the operations are built from, open to tests. ----

inline constexpr std::size_t kSingleFileBufferSize = 255;
inline constexpr std::size_t kMultipleFileBufferSize = 4096;
// Characters for the Unicode dialog's several files: hundreds of long names.
inline constexpr std::size_t kManyFilesBufferSize = 65536;
inline constexpr DWORD kOpenFilesFlags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_NOCHANGEDIR;

// OFN_EXPLORER with one bit per true argument (never fails).
DWORD openFileFlags(bool createPrompt, bool fileMustExist, bool pathMustExist, bool keepDirectory);
DWORD saveFileFlags(bool overwritePrompt, bool pathMustExist, bool keepDirectory);

// An OPENFILENAMEA together with the text it points at, owned by the same
// object so that nothing it points at can go away before the dialog returns.
// Its owner is the window that is active when it is built.
class FileDialogRequest {
 public:
  FileDialogRequest(std::string_view title, std::string_view initialFileName,
                    std::string_view filter, std::string_view initialDirectory,
                    std::string_view defaultExtension, DWORD flags, std::size_t bufferSize);
  FileDialogRequest(const FileDialogRequest&) = delete;
  FileDialogRequest& operator=(const FileDialogRequest&) = delete;

  OPENFILENAMEA* get() { return &fields_; }
  const OPENFILENAMEA& fields() const { return fields_; }
  // The filter as the dialog takes it, its two closing NULs included.
  std::string_view filterBytes() const { return filter_; }
  // The file-name buffer, all of it, as the dialog left it.
  std::string_view buffer() const { return file_; }

 private:
  std::string title_, filter_, initialDirectory_, defaultExtension_, file_;
  OPENFILENAMEA fields_{};
};

// The same request for the Unicode dialog: every text of `request` in UTF-16
// and a file-name buffer of as many characters as `request` has bytes.
class WideFileDialogRequest {
 public:
  explicit WideFileDialogRequest(const FileDialogRequest& request);
  WideFileDialogRequest(const WideFileDialogRequest&) = delete;
  WideFileDialogRequest& operator=(const WideFileDialogRequest&) = delete;

  OPENFILENAMEW* get() { return &fields_; }
  std::wstring_view buffer() const { return file_; }

 private:
  std::wstring title_, filter_, initialDirectory_, defaultExtension_, file_;
  OPENFILENAMEW fields_{};
};

// The font record the font dialog starts from; lfHeight follows the screen's
// vertical resolution (-12 for 9 points at 96 dpi; 0, the dialog's own
// default, when the screen cannot be asked). The face is cut to 31 bytes.
LOGFONTA makeLogFont(const std::string& faceName, int32_t size, bool bold, bool italic,
                     bool strikeout, bool underline);

// The answer read from the record the dialog wrote back and its point size in
// tenths (never fails).
FontChoice fontChoiceFrom(const LOGFONTA& font, INT pointSizeTenths);

// GetOpenFileNamePreviewA / GetSaveFileNamePreviewA of the system's
// msvfw32.dll when it has them, else GetOpenFileNameA / GetSaveFileNameA, run
// on `request`; the dialog function's result (0 for cancel or failure).
BOOL runOpenDialog(FileDialogRequest& request, bool preview);
BOOL runSaveDialog(FileDialogRequest& request, bool preview);

}  // namespace qova
