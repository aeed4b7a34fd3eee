#include "outside/aplayer/DecoderProcess.h"

#include <atomic>
#include <mutex>
#include <string>

#include "runtime/ProgramDirectory.h"

namespace qova::aplayer {
namespace {

// How long a decoding process may take to come up (a busy machine, a cold start of the platform's media libraries).
constexpr DWORD kStartLimitMilliseconds = 10'000;
constexpr DWORD kPipeBufferBytes = 64 * 1024;

std::wstring programBesideThisModule() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&programBesideThisModule), &module))
    return {};
  std::wstring path = modulePath(module);
  if (path.empty()) return {};
  const size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + kDecoderProgram;
}

// Every decoding process joins it: when this process ends, however it ends, they end with it.
HANDLE decodersJob() {
  static const HANDLE job = [] {
    HANDLE made = ::CreateJobObjectW(nullptr, nullptr);
    if (!made) return made;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return made;
  }();
  return job;
}

// The two ends of a new pipe: ours, and theirs for the decoding process
// (inherited by it when `inheritable`, else handed over).
bool makePipe(UniqueFile& ours, UniqueFile& theirs, bool inheritable) {
  static std::atomic<unsigned> made{0};
  const std::wstring name = L"\\\\.\\pipe\\qova-aplayer-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++made) + L"-" + std::to_wstring(::GetTickCount64());
  ours.reset(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                kPipeBufferBytes, kPipeBufferBytes, 0, nullptr));
  if (!ours) return false;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, inheritable ? TRUE : FALSE};
  theirs.reset(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherited, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr));
  return static_cast<bool>(theirs);
}

// Waits for the Ready that opens every pipe to the decoding process.
MessagePipe::Outcome awaitReady(MessagePipe& pipe, HANDLE interrupt) {
  Message ready;
  const MessagePipe::Outcome outcome = pipe.receive(ready, kStartLimitMilliseconds, interrupt);
  return outcome == MessagePipe::Outcome::Done && ready.op != DecoderOp::Ready ? MessagePipe::Outcome::Broken
                                                                               : outcome;
}

}  // namespace

// The decoding process itself, shared by every connection; it ends when the
// last connection lets it go (its control pipe closes) or when it is killed.
class DecoderHost {
 public:
  // The running process, or a new one; null when none can be started.
  static std::shared_ptr<DecoderHost> shared(HANDLE interrupt) {
    static std::mutex mutex;
    static std::weak_ptr<DecoderHost> running;
    std::lock_guard lock(mutex);
    if (std::shared_ptr<DecoderHost> host = running.lock(); host && host->alive()) return host;
    std::shared_ptr<DecoderHost> host(new DecoderHost);
    if (!host->launch(interrupt)) return nullptr;
    running = host;
    return host;
  }

  HANDLE process() const { return process_.get(); }

  // Our end of a new pipe that the process serves, or null.
  std::unique_ptr<MessagePipe> connect() {
    UniqueFile ours, theirs;
    if (!makePipe(ours, theirs, false)) return nullptr;
    HANDLE there = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), theirs.release(), process_.get(), &there, 0, FALSE,
                           DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE))
      return nullptr;
    const ConnectRequest request{static_cast<uint64_t>(reinterpret_cast<uintptr_t>(there))};
    std::lock_guard lock(mutex_);
    if (control_->send(makeMessage(DecoderOp::Connect, request), kStartLimitMilliseconds, nullptr) !=
        MessagePipe::Outcome::Done)
      return nullptr;
    return std::make_unique<MessagePipe>(ours.release());
  }

  void kill() {
    if (process_) ::TerminateProcess(process_.get(), 1);
  }

 private:
  DecoderHost() = default;

  bool alive() const { return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

  bool launch(HANDLE interrupt) {
    const std::wstring program = programBesideThisModule();
    const DWORD attributes = program.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    UniqueFile ours, theirs;
    if (!makePipe(ours, theirs, true)) return false;
    std::wstring commandLine =
        L"\"" + program + L"\" " + std::to_wstring(reinterpret_cast<uintptr_t>(theirs.get()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &started))
      return false;
    process_.reset(started.hProcess);
    if (HANDLE job = decodersJob()) ::AssignProcessToJobObject(job, started.hProcess);
    ::ResumeThread(started.hThread);
    ::CloseHandle(started.hThread);
    theirs.reset();
    control_ = std::make_unique<MessagePipe>(ours.release());
    if (awaitReady(*control_, interrupt) == MessagePipe::Outcome::Done) return true;
    kill();
    return false;
  }

  UniqueHandle process_;
  std::mutex mutex_;  // one Connect at a time on the control pipe
  std::unique_ptr<MessagePipe> control_;
};

DecoderProcess::DecoderProcess() = default;

DecoderProcess::~DecoderProcess() { end(); }

bool DecoderProcess::start(HANDLE interrupt) {
  if (running()) return true;
  host_ = DecoderHost::shared(interrupt);
  if (host_) pipe_ = host_->connect();
  const MessagePipe::Outcome outcome = pipe_ ? awaitReady(*pipe_, interrupt) : MessagePipe::Outcome::Broken;
  if (outcome != MessagePipe::Outcome::Done) {
    letGo(outcome);
    return false;
  }
  ++generation_;
  return true;
}

void DecoderProcess::end() {
  pipe_.reset();
  host_.reset();
  sections_.clear();
}

void DecoderProcess::letGo(MessagePipe::Outcome outcome) {
  // Cut short, the process finishes the request on its own and then finds
  // this pipe closed. Anything else means it is stuck or talks nonsense: it
  // is ended, and every connection's files with it, since they share its decoders.
  if (outcome != MessagePipe::Outcome::Interrupted && host_) host_->kill();
  end();
}

std::optional<Message> DecoderProcess::call(const Message& request, DWORD limit, HANDLE interrupt,
                                            MessagePipe::Outcome* outcome) {
  MessagePipe::Outcome result = MessagePipe::Outcome::Broken;
  Message reply;
  if (pipe_) {
    result = pipe_->send(request, limit, interrupt);
    if (result == MessagePipe::Outcome::Done) result = pipe_->receive(reply, limit, interrupt);
    if (result == MessagePipe::Outcome::Done && reply.op != request.op) result = MessagePipe::Outcome::Broken;
  }
  if (outcome) *outcome = result;
  if (result == MessagePipe::Outcome::Done) return reply;
  letGo(result);
  return std::nullopt;
}

uint64_t DecoderProcess::sectionFor(const SharedPixels& pixels) {
  if (!host_ || pixels.empty()) return 0;
  if (const auto known = sections_.find(pixels.serial()); known != sections_.end()) return known->second;
  HANDLE there = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), pixels.section(), host_->process(), &there, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
    return 0;
  const auto value = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(there));
  sections_[pixels.serial()] = value;
  return value;
}

std::vector<uint64_t> DecoderProcess::takeUnused(uint64_t live1, uint64_t live2) {
  std::vector<uint64_t> unused;
  for (auto entry = sections_.begin(); entry != sections_.end();) {
    if (entry->first == live1 || entry->first == live2) {
      ++entry;
      continue;
    }
    unused.push_back(entry->second);
    entry = sections_.erase(entry);
  }
  return unused;
}

}  // namespace qova::aplayer
