// APlayerDecoder.exe: the player engine's decoding process. Started by the
// engine with the handle of its end of a control pipe on the command line;
// each engine's playback thread then connects a pipe of its own, served
// here on a thread of its own, until the engine lets the control pipe go.
#include <windows.h>
#include <mfapi.h>
#include <objbase.h>

#include <cwchar>
#include <memory>

#include "outside/decoder/DecoderService.h"
#include "outside/decoder/MessagePipe.h"

namespace {

using qova::aplayer::MessagePipe;

HANDLE handleFrom(uint64_t value) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)); }

DWORD WINAPI serveConnection(void* parameter) {
  std::unique_ptr<MessagePipe> pipe(static_cast<MessagePipe*>(parameter));
  const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  qova::aplayer::DecoderService(*pipe).run();
  if (com) ::CoUninitialize();
  return 0;
}

// Serves each connection the engine names on `control` until it closes.
void serveConnections(MessagePipe& control) {
  using qova::aplayer::DecoderOp;
  if (control.send({DecoderOp::Ready, {}}, INFINITE, nullptr) != MessagePipe::Outcome::Done) return;
  qova::aplayer::Message message;
  while (control.receive(message, INFINITE, nullptr) == MessagePipe::Outcome::Done) {
    qova::aplayer::ConnectRequest request;
    if (message.op != DecoderOp::Connect || !message.take(request) || request.pipe == 0) continue;
    auto pipe = std::make_unique<MessagePipe>(handleFrom(request.pipe));
    if (HANDLE thread = ::CreateThread(nullptr, 0, &serveConnection, pipe.get(), 0, nullptr)) {
      pipe.release();
      ::CloseHandle(thread);
    }
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  // The platform loads decoders by name as files come: from the system's
  // folders only, never from a folder a file or the current folder names.
  // (Looked up: Windows 7 has it only with its update KB2533623.)
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  if (const auto setDirectories = reinterpret_cast<SetDirectories>(
          reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"))))
    setDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  // A decoder that fails on a bad file ends this process quietly: the engine passes the file over.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const unsigned long long handle = std::wcstoull(commandLine, nullptr, 10);
  if (handle == 0) return 2;
  MessagePipe control(handleFrom(handle));
  if (!control.valid()) return 2;
  if (FAILED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) || FAILED(::MFStartup(MF_VERSION, MFSTARTUP_FULL)))
    return 1;
  serveConnections(control);
  // Everything this process holds goes with it; the platform's media
  // libraries need no orderly goodbye for that, and under Wine their unload
  // can hang, so the process ends here and now, whatever its other threads are doing.
  ::TerminateProcess(::GetCurrentProcess(), 0);
  return 0;
}
