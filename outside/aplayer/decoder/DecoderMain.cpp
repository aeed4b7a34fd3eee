// APlayerDecoder.exe: the player engine's decoding process. Started by the
// engine with the handle of its end of their pipe on the command line; it
// decodes what the engine asks for until the engine lets the pipe go.
#include <windows.h>
#include <mfapi.h>
#include <objbase.h>

#include <cwchar>

#include "outside/aplayer/MessagePipe.h"
#include "outside/aplayer/decoder/DecoderService.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  // A decoder that fails on a bad file ends this process quietly: the engine passes the file over.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const unsigned long long handle = std::wcstoull(commandLine, nullptr, 10);
  if (handle == 0) return 2;
  qova::aplayer::MessagePipe pipe(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle)));
  if (!pipe.valid()) return 2;
  if (FAILED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) || FAILED(::MFStartup(MF_VERSION, MFSTARTUP_FULL)))
    return 1;
  {
    qova::aplayer::DecoderService service(pipe);
    service.run();
  }
  // Everything this process holds goes with it; the platform's media
  // libraries need no orderly goodbye for that, and under Wine their unload
  // can hang, so the process ends here and now.
  ::TerminateProcess(::GetCurrentProcess(), 0);
  return 0;
}
