#include "outside/aplayer/DecoderConnection.h"

#include <bcrypt.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "outside/aplayer/DiagnosticLines.h"
#include "runtime/ProgramDirectory.h"

namespace qova::aplayer {
namespace {

// The whole start, from the process's creation to the connection's Ready,
// stays under the 8 s after which the playback thread counts as stuck.
constexpr DWORD kStartLimitMilliseconds = 6'000;
constexpr DWORD kPipeBufferBytes = 64 * 1024;
// A decoder that runs away with memory on a bad file ends there, not in the system's paging.
constexpr SIZE_T kMostDecoderBytes = SIZE_T{2} << 30;
// How often a connection waiting for another's reading of the Ready looks whether that was cut short.
constexpr DWORD kReadyLookMilliseconds = 50;
// Names taken by someone else in between: each try draws a new one.
constexpr int kPipeNameTries = 8;

ULONGLONG deadlineAfter(DWORD milliseconds) { return ::GetTickCount64() + milliseconds; }

DWORD timeLeft(ULONGLONG deadline) {
  const ULONGLONG now = ::GetTickCount64();
  return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

std::wstring programFolder() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&programFolder), &module))
    return {};
  std::wstring path = modulePath(module);
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// 128 random bits: a name no other process can guess and take first.
std::wstring randomPipeName() {
  uint8_t bits[16];
  if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bits, sizeof bits, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) return {};
  std::wstring name = L"\\\\.\\pipe\\qova-aplayer-";
  for (uint8_t bit : bits) {
    wchar_t pair[3];
    std::swprintf(pair, 3, L"%02x", bit);
    name += pair;
  }
  return name;
}

// A DACL that lets the current user alone open the pipe.
class OwnerOnlyAccess {
 public:
  OwnerOnlyAccess() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    UniqueHandle owned(token);
    DWORD bytes = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &bytes);
    user_.resize(bytes);
    if (!bytes || !::GetTokenInformation(token, TokenUser, user_.data(), bytes, &bytes)) return;
    PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(sid));
    auto* acl = reinterpret_cast<ACL*>(acl_.data());
    valid_ = ::InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
             ::AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid) &&
             ::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             ::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE);
  }
  OwnerOnlyAccess(const OwnerOnlyAccess&) = delete;
  OwnerOnlyAccess& operator=(const OwnerOnlyAccess&) = delete;

  // Null when it could not be made: then no pipe is made either.
  SECURITY_ATTRIBUTES* attributes(bool inheritable) {
    if (!valid_) return nullptr;
    attributes_ = {sizeof attributes_, &descriptor_, inheritable ? TRUE : FALSE};
    return &attributes_;
  }

 private:
  std::vector<uint8_t> user_;
  std::vector<uint8_t> acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool valid_ = false;
};

// The two ends of a new pipe: ours, and theirs for the decoding process
// (inherited by it when `inheritable`, else handed over). Both ends are
// ours alone: the name is random, only our user may open it, only one
// client may connect, and that client must be this process.
bool makePipe(UniqueFile& ours, UniqueFile& theirs, bool inheritable) {
  OwnerOnlyAccess access;
  for (int attempt = 0; attempt < kPipeNameTries; ++attempt) {
    const std::wstring name = randomPipeName();
    SECURITY_ATTRIBUTES* serverAccess = access.attributes(false);
    if (name.empty() || !serverAccess) return false;
    ours.reset(::CreateNamedPipeW(name.c_str(),
                                  PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                  PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                  kPipeBufferBytes, kPipeBufferBytes, 0, serverAccess));
    if (!ours) continue;
    theirs.reset(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, access.attributes(inheritable),
                               OPEN_EXISTING, FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                               nullptr));
    ULONG client = 0;
    if (theirs && ::GetNamedPipeClientProcessId(ours.get(), &client) && client == ::GetCurrentProcessId())
      return true;
    theirs.reset();
    ours.reset();
  }
  return false;
}

// Waits for the Ready that opens every pipe to the decoding process.
MessagePipe::Outcome awaitReady(MessagePipe& pipe, ULONGLONG deadline, HANDLE interrupt) {
  Message ready;
  const MessagePipe::Outcome outcome = pipe.receive(ready, timeLeft(deadline), interrupt);
  return outcome == MessagePipe::Outcome::Done && ready.op != DecoderOp::Ready ? MessagePipe::Outcome::Garbled
                                                                               : outcome;
}

// Every decoding process joins it: when this process ends, however it ends,
// they end with it; a decoder's unhandled exception ends its process at
// once, with no error report waiting on nobody; and each has a memory limit.
struct DecodersJob {
  HANDLE job = nullptr;
  bool limited = false;  // false when the system took only the end with this process
};

const DecodersJob& decodersJob() {
  static const DecodersJob made = [] {
    DecodersJob result{::CreateJobObjectW(nullptr, nullptr)};
    if (!result.job) return result;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                                              JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION |
                                              JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    limits.ProcessMemoryLimit = kMostDecoderBytes;
    result.limited =
        ::SetInformationJobObject(result.job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    if (!result.limited) {
      limits = {};
      limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
      ::SetInformationJobObject(result.job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return result;
  }();
  return made;
}

const char* requestName(DecoderOp op) {
  switch (op) {
    case DecoderOp::Open:
      return "Open";
    case DecoderOp::Close:
      return "Close";
    case DecoderOp::Seek:
      return "Seek";
    case DecoderOp::DropAudio:
      return "DropAudio";
    case DecoderOp::ReadVideo:
      return "ReadVideo";
    case DecoderOp::ReadAudio:
      return "ReadAudio";
    case DecoderOp::Ready:
    case DecoderOp::Connect:
      break;
  }
  return "a request";
}

std::string processLine(DWORD id, const std::string& what) {
  return "decoding process " + std::to_string(id) + " " + what;
}

std::string hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

}  // namespace

// The decoding process itself, shared by every connection; it ends when the
// last connection lets it go (its control pipe closes) or when it is killed.
class DecoderHost {
 public:
  ~DecoderHost() {
    if (lastUser_ && !std::exchange(reported_, true)) lastUser_->add(processLine(id_, "ended: no file left to decode"));
  }

  // The running process, or a new one just created (`created`), which has
  // yet to say Ready; null when none can be started, `why` says why. The
  // lock covers only the creation: no one waits for a Ready while holding it.
  static std::shared_ptr<DecoderHost> shared(bool& created, std::string& why) {
    static std::mutex mutex;
    static std::weak_ptr<DecoderHost> running;
    std::lock_guard lock(mutex);
    created = false;
    if (std::shared_ptr<DecoderHost> host = running.lock(); host && host->alive()) return host;
    std::shared_ptr<DecoderHost> host(new DecoderHost);
    if (!host->launch(why)) return nullptr;
    created = true;
    running = host;
    return host;
  }

  HANDLE process() const { return process_.get(); }
  DWORD id() const { return id_; }

  // Waits until the process has said Ready; false when it did not in time
  // (it is then killed) or `interrupt` came first.
  bool awaitReady(ULONGLONG deadline, HANDLE interrupt, std::string& why) {
    for (;;) {
      if (state_ == State::Ready) return true;
      if (state_ == State::Failed) {
        why = "it failed to start";
        return false;
      }
      if (!readerClaimed_.exchange(true)) break;
      if (timeLeft(deadline) == 0) {
        why = "not ready in time";
        return false;
      }
      // Another connection reads the Ready: its outcome is ours, unless it
      // is cut short, and then the reading falls to one of those waiting.
      const HANDLE waits[] = {settled_.get(), interrupt};
      const DWORD slice = std::min<DWORD>(timeLeft(deadline), kReadyLookMilliseconds);
      if (::WaitForMultipleObjects(interrupt ? 2 : 1, waits, FALSE, slice) == WAIT_OBJECT_0 + 1) return false;
    }
    const MessagePipe::Outcome outcome = qova::aplayer::awaitReady(*control_, deadline, interrupt);
    if (outcome == MessagePipe::Outcome::Interrupted) {
      readerClaimed_ = false;  // someone else may read it
      return false;
    }
    state_ = outcome == MessagePipe::Outcome::Done ? State::Ready : State::Failed;
    ::SetEvent(settled_.get());
    if (state_ == State::Ready) return true;
    why = outcome == MessagePipe::Outcome::TimedOut ? "not ready in time" : "no Ready from it";
    return false;
  }

  // Our end of a new pipe that the process serves, or null: `local` when
  // the failure was ours (no pipe could be made), not the process's.
  std::unique_ptr<MessagePipe> connect(ULONGLONG deadline, bool& local) {
    UniqueFile ours, theirs;
    local = !makePipe(ours, theirs, false);
    if (local) return nullptr;
    HANDLE there = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), theirs.get(), process_.get(), &there, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
      return nullptr;
    const ConnectRequest request{static_cast<uint64_t>(reinterpret_cast<uintptr_t>(there))};
    std::lock_guard lock(mutex_);
    if (control_->send(makeMessage(DecoderOp::Connect, request), timeLeft(deadline), nullptr) !=
        MessagePipe::Outcome::Done)
      return nullptr;
    return std::make_unique<MessagePipe>(ours.release());
  }

  // Ends the process for `reason`, or, when it has already ended on its
  // own, says so; either once, in `diagnostics`.
  void finish(const std::string& reason, const std::shared_ptr<DiagnosticLines>& diagnostics) {
    state_ = State::Failed;
    ::SetEvent(settled_.get());
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.get(), &code);
    const bool exited = code != STILL_ACTIVE;
    if (!exited) ::TerminateProcess(process_.get(), 1);
    std::lock_guard lock(mutex_);
    if (!diagnostics || std::exchange(reported_, true)) return;
    diagnostics->add(processLine(id_, exited ? "exited by itself with code " + hex(code) : "killed: " + reason));
  }

  // The connection that lets go last has the process's end written in its lines.
  void lettingGo(const std::shared_ptr<DiagnosticLines>& diagnostics) {
    std::lock_guard lock(mutex_);
    if (diagnostics) lastUser_ = diagnostics;
  }

 private:
  enum class State { Starting, Ready, Failed };

  DecoderHost() : settled_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  bool alive() const {
    return state_ != State::Failed && process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
  }

  // Starts the process, which then says Ready on its own time.
  bool launch(std::string& why) {
    const std::wstring folder = programFolder();
    const std::wstring program = folder + kDecoderProgram;
    const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      why = "no decoding program";
      return false;
    }
    UniqueFile ours, theirs;
    if (!settled_ || !makePipe(ours, theirs, true)) {
      why = "no pipe: " + describeError(static_cast<long>(::GetLastError()));
      return false;
    }
    // It inherits its end of the pipe and nothing else of ours, whatever
    // else this process has made inheritable meanwhile.
    SIZE_T listBytes = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &listBytes);
    std::vector<uint8_t> list(listBytes);
    auto* attributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
    HANDLE inherited = theirs.get();
    if (!listBytes || !::InitializeProcThreadAttributeList(attributeList, 1, 0, &listBytes)) {
      why = "no attribute list: " + describeError(static_cast<long>(::GetLastError()));
      return false;
    }
    const bool listed = ::UpdateProcThreadAttribute(attributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inherited,
                                                    sizeof inherited, nullptr, nullptr);
    std::wstring commandLine = L"\"" + program + L"\" " + std::to_wstring(reinterpret_cast<uintptr_t>(inherited));
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.lpAttributeList = attributeList;
    PROCESS_INFORMATION started{};
    // Started in its own folder: it holds no folder of the program's open.
    const BOOL made = listed && ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                                 CREATE_NO_WINDOW | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT,
                                                 nullptr, folder.c_str(), &startup.StartupInfo, &started);
    const DWORD error = ::GetLastError();
    ::DeleteProcThreadAttributeList(attributeList);
    if (!made) {
      why = "not started: " + describeError(static_cast<long>(error));
      return false;
    }
    process_.reset(started.hProcess);
    id_ = started.dwProcessId;
    const DecodersJob& job = decodersJob();
    if (job.job) ::AssignProcessToJobObject(job.job, started.hProcess);
    if (!job.limited) why = "started without its memory limit";
    ::ResumeThread(started.hThread);
    ::CloseHandle(started.hThread);
    theirs.reset();
    control_ = std::make_unique<MessagePipe>(ours.release());
    return true;
  }

  UniqueHandle process_;
  DWORD id_ = 0;
  std::atomic<State> state_{State::Starting};
  std::atomic<bool> readerClaimed_{false};
  UniqueHandle settled_;  // set once the Ready came, or never will
  std::mutex mutex_;      // one Connect at a time on the control pipe; the lines below
  std::unique_ptr<MessagePipe> control_;
  std::shared_ptr<DiagnosticLines> lastUser_;
  bool reported_ = false;  // its end is in someone's lines
};

DecoderConnection::DecoderConnection(std::shared_ptr<DiagnosticLines> diagnostics)
    : diagnostics_(std::move(diagnostics)) {}

DecoderConnection::~DecoderConnection() { end(); }

void DecoderConnection::note(const std::string& line) const {
  if (diagnostics_) diagnostics_->add(line);
}

bool DecoderConnection::start(HANDLE interrupt) {
  if (running()) return true;
  const ULONGLONG deadline = deadlineAfter(kStartLimitMilliseconds);
  // A process that ended between two starts (its last connection let go
  // just then) is replaced once.
  for (int attempt = 0; attempt < 2; ++attempt) {
    bool created = false;
    std::string why;
    host_ = DecoderHost::shared(created, why);
    if (!host_) {
      note("decoding process not started: " + why);
      return false;
    }
    if (created) note(processLine(host_->id(), "started" + (why.empty() ? "" : ", " + why)));
    why.clear();
    if (!host_->awaitReady(deadline, interrupt, why)) {
      const bool interrupted = why.empty();
      if (!interrupted) host_->finish(why, diagnostics_);
      end();
      // A process another connection started and that failed: one of our own, in the time left.
      if (interrupted || created) return false;
      continue;
    }
    bool local = false;
    pipe_ = host_->connect(deadline, local);
    if (local) {
      // Ours alone failed: the process and everyone else's files play on.
      const auto error = static_cast<long>(::GetLastError());
      note("no pipe to the decoding process: " + describeError(error));
      end();
      return false;
    }
    const MessagePipe::Outcome outcome =
        pipe_ ? qova::aplayer::awaitReady(*pipe_, deadline, interrupt) : MessagePipe::Outcome::Broken;
    if (outcome == MessagePipe::Outcome::Done) {
      ++generation_;
      return true;
    }
    letGo(outcome, "a new connection");
    if (outcome == MessagePipe::Outcome::Interrupted) return false;
  }
  return false;
}

void DecoderConnection::end() {
  pipe_.reset();
  if (host_) host_->lettingGo(diagnostics_);
  host_.reset();
  sections_.clear();
}

void DecoderConnection::letGo(MessagePipe::Outcome outcome, const std::string& during) {
  // Cut short, the process finishes the request on its own and then finds
  // this pipe closed. Anything else means it is stuck or talks nonsense: it
  // is ended, and every connection's files with it, since they share its decoders.
  if (outcome != MessagePipe::Outcome::Interrupted && host_) {
    const char* what = outcome == MessagePipe::Outcome::TimedOut  ? "no answer in time to "
                       : outcome == MessagePipe::Outcome::Garbled ? "an answer out of protocol to "
                                                                  : "the pipe broke during ";
    host_->finish(what + during, diagnostics_);
  }
  end();
}

std::optional<Message> DecoderConnection::call(const Message& request, DWORD limit, HANDLE interrupt,
                                            MessagePipe::Outcome* outcome) {
  MessagePipe::Outcome result = MessagePipe::Outcome::Broken;
  Message reply;
  if (pipe_) {
    result = pipe_->send(request, limit, interrupt);
    if (result == MessagePipe::Outcome::Done) result = pipe_->receive(reply, limit, interrupt);
    if (result == MessagePipe::Outcome::Done && reply.op != request.op) result = MessagePipe::Outcome::Garbled;
  }
  if (outcome) *outcome = result;
  if (result == MessagePipe::Outcome::Done) return reply;
  letGo(result, requestName(request.op));
  return std::nullopt;
}

void DecoderConnection::abandon(const std::string& why) {
  if (host_) host_->finish(why, diagnostics_);
  end();
}

uint64_t DecoderConnection::sectionFor(const SharedPixels& pixels) {
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

std::vector<uint64_t> DecoderConnection::takeUnused(uint64_t live1, uint64_t live2) {
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
