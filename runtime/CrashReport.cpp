#include "runtime/CrashReport.h"

#include <windows.h>
#include <dbghelp.h>

#include <cstdio>

#include "runtime/UniqueHandle.h"
#include "runtime/WholeFile.h"

namespace qova {
namespace {

constexpr const char* kPendingNote = "crash.pending";

// How long the dump may take before the process ends without it (Wine's
// dbghelp reads every loaded module's debugging information first).
constexpr DWORD kDumpWait = 60000;

using MiniDumpWriteDumpFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                               PMINIDUMP_EXCEPTION_INFORMATION, PMINIDUMP_USER_STREAM_INFORMATION,
                                               PMINIDUMP_CALLBACK_INFORMATION);

DiagnosticLog* gLog = nullptr;
void (*gBeforeEnd)() = nullptr;
// Bound when crash reports are turned on: after a crash the loader's lock may be held for good.
MiniDumpWriteDumpFunction gWriteDump = nullptr;

struct DumpRequest {
  std::string path;
  EXCEPTION_POINTERS* exception = nullptr;
  DWORD threadId = 0;
  bool written = false;
};

// Runs on a thread of its own: a dump written from the thread that crashed,
// on its damaged stack, does not always come back.
DWORD WINAPI writeMinidump(void* parameter) {
  auto& request = *static_cast<DumpRequest*>(parameter);
  // Shared for deletion: a dump not finished in time is removed while it is written.
  const UniqueFile file(::CreateFileA(request.path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  MINIDUMP_EXCEPTION_INFORMATION information{request.threadId, request.exception, FALSE};
  request.written = gWriteDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file.get(), MiniDumpNormal,
                               request.exception ? &information : nullptr, nullptr, nullptr) != FALSE;
  return 0;
}

bool dumpProcess(const std::string& path, EXCEPTION_POINTERS* exception) {
  if (!gWriteDump) return false;
  DumpRequest request{path, exception, ::GetCurrentThreadId()};
  const UniqueHandle thread(::CreateThread(nullptr, 0, &writeMinidump, &request, 0, nullptr));
  if (!thread) return false;
  if (::WaitForSingleObject(thread.get(), kDumpWait) != WAIT_OBJECT_0) {
    // Half a dump is no report: it goes when the process ends, and the log's tail is the report.
    ::DeleteFileA(path.c_str());
    return false;
  }
  if (!request.written) ::DeleteFileA(path.c_str());
  return request.written;
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* exception) {
  const DWORD code = exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode : 0;
  if (gLog) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "crash-%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    char what[96];
    std::snprintf(what, sizeof what, "unhandled exception 0x%08lX at %p", static_cast<unsigned long>(code),
                  exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionAddress : nullptr);
    gLog->write(what);
    const std::string base = gLog->folder() + "\\" + stamp;
    ::CreateDirectoryA(gLog->folder().c_str(), nullptr);
    writeWholeFile(base + ".log", gLog->tail());
    const bool dumped = dumpProcess(base + ".dmp", exception);
    writeWholeFile(gLog->folder() + "\\" + kPendingNote, dumped ? base + ".dmp" : base + ".log");
  }
  if (gBeforeEnd) gBeforeEnd();
  ::TerminateProcess(::GetCurrentProcess(), code);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void reportCrashes(DiagnosticLog& log, void (*beforeEnd)()) {
  gLog = &log;
  gBeforeEnd = beforeEnd;
  // The system's dbghelp.dll, bound now: after a crash the loader's lock may be held for good.
  if (HMODULE dbghelp = ::LoadLibraryExA("dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
    gWriteDump = reinterpret_cast<MiniDumpWriteDumpFunction>(
        reinterpret_cast<void*>(::GetProcAddress(dbghelp, "MiniDumpWriteDump")));
  ::SetUnhandledExceptionFilter(&onUnhandledException);
}

std::string takeCrashReport(const std::string& folder) {
  const std::string note = folder + "\\" + kPendingNote;
  const std::string report = readWholeFile(note);
  // Told once: a note that cannot be removed is not told at all.
  if (report.empty() || !::DeleteFileA(note.c_str())) return {};
  return report;
}

}  // namespace qova
