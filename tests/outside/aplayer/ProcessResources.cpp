#include "tests/outside/aplayer/ProcessResources.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <vector>

#include "runtime/UniqueHandle.h"

namespace qova::test {
namespace {

int threadsOfThisProcess() {
  HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (taken == INVALID_HANDLE_VALUE) return -1;
  UniqueHandle snapshot(taken);
  const DWORD self = ::GetCurrentProcessId();
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
       more = ::Thread32Next(snapshot.get(), &entry))
    if (entry.th32OwnerProcessID == self) ++count;
  return count;
}

// The system's list of every open handle (SystemExtendedHandleInformation),
// for systems whose GetProcessHandleCount always answers 0 (Wine).
struct HandleEntry {
  void* object;
  ULONG_PTR processId;
  ULONG_PTR handle;
  ULONG access;
  USHORT creatorBackTrace;
  USHORT type;
  ULONG attributes;
  ULONG reserved;
};
struct HandleList {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntry entries[1];
};
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);

int handlesInSystemList() {
  auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<char> buffer(1 << 16);
  LONG status = 0;
  ULONG length = 0;
  while ((status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         &length)) == kInfoLengthMismatch && buffer.size() < (1u << 28))
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
  const ULONG_PTR self = ::GetCurrentProcessId();
  int count = 0;
  for (ULONG_PTR index = 0; index < list->count; ++index)
    if (list->entries[index].processId == self) ++count;
  return count;
}

int handlesOfThisProcess() {
  DWORD count = 0;
  if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0) return static_cast<int>(count);
  return handlesInSystemList();
}

}  // namespace

std::string ProcessResources::describe() const {
  char text[128];
  std::snprintf(text, sizeof text, "threads %d, handles %d, private %.1f MB, working set %.1f MB", threads,
                handles, static_cast<double>(privateBytes) / (1024.0 * 1024.0),
                static_cast<double>(workingSet) / (1024.0 * 1024.0));
  return text;
}

ProcessResources currentProcessResources() {
  ProcessResources resources;
  resources.threads = threadsOfThisProcess();
  resources.handles = handlesOfThisProcess();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
    // Wine leaves PrivateUsage at 0; its commit charge is the same figure there.
    resources.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    resources.workingSet = memory.WorkingSetSize;
  }
  return resources;
}

}  // namespace qova::test
