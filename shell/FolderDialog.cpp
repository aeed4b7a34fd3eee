#include "shell/FolderDialog.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "runtime/AnsiText.h"
#include "runtime/UniqueHandle.h"

namespace qova {
namespace {

// COM for the dialog's life on a thread that may or may not have it already.
class ComForThisThread {
 public:
  ComForThisThread() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComForThisThread() {
    if (initialised_) ::CoUninitialize();
  }
  ComForThisThread(const ComForThisThread&) = delete;
  ComForThisThread& operator=(const ComForThisThread&) = delete;

 private:
  bool initialised_;
};

void freeTaskMemory(wchar_t* text) { ::CoTaskMemFree(text); }
using UniqueTaskText = UniqueResource<NullIsEmpty<wchar_t*, freeTaskMemory>>;

}  // namespace

std::wstring chooseFolder(const std::string& title, const std::wstring& initialFolder) {
  const ComForThisThread com;
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                dialog.putVoid())))
    return {};
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR);
  dialog->SetTitle(ansiToWide(title).c_str());
  if (!initialFolder.empty()) {
    ComPtr<IShellItem> folder;
    if (SUCCEEDED(::SHCreateItemFromParsingName(initialFolder.c_str(), nullptr, IID_IShellItem, folder.putVoid())))
      dialog->SetFolder(folder.get());
  }
  if (FAILED(dialog->Show(::GetActiveWindow()))) return {};
  ComPtr<IShellItem> picked;
  if (FAILED(dialog->GetResult(picked.put()))) return {};
  wchar_t* rawPath = nullptr;
  if (FAILED(picked->GetDisplayName(SIGDN_FILESYSPATH, &rawPath))) return {};
  const UniqueTaskText path(rawPath);
  return path.get();
}

}  // namespace qova
