#pragma once
// The engine's decoding process (APlayerDecoder.exe beside the DLL): it
// opens and decodes the files one playback thread plays, so that the
// platform's demuxers and decoders, their threads and every byte they hold
// live there. Ending the process gives all of it back to the system at once,
// which a long pause does; a decoder that hangs or crashes on a bad file
// takes only that process with it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "outside/aplayer/MessagePipe.h"
#include "outside/aplayer/SharedPixels.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class DecoderProcess {
 public:
  DecoderProcess() = default;
  ~DecoderProcess() { end(); }
  DecoderProcess(const DecoderProcess&) = delete;
  DecoderProcess& operator=(const DecoderProcess&) = delete;

  // Starts the process unless it runs; false when it cannot be started (the
  // program is missing, or it did not come up in time or before `interrupt`).
  bool start(HANDLE interrupt);
  bool running() const { return static_cast<bool>(pipe_); }
  // Counts the processes started: a file opened in one is gone with it.
  uint64_t generation() const { return generation_; }
  // Lets the process go: it ends as soon as it sees its pipe closed.
  void end();

  // Sends `request` and waits at most `limit` for the reply. A process that
  // does not answer in time, or before `interrupt`, is ended at once, since
  // it is stuck in a decoder; so is one that answers out of turn.
  std::optional<Message> call(const Message& request, DWORD limit, HANDLE interrupt,
                              MessagePipe::Outcome* outcome = nullptr);

  // The handle value, in the process, of the section of `pixels`, handed
  // over the first time it is asked for; 0 when it cannot be.
  uint64_t sectionFor(const SharedPixels& pixels);
  // The sections handed over that are neither of `live` serials: forgotten
  // here, to be released there.
  std::vector<uint64_t> takeUnused(uint64_t live1, uint64_t live2);

 private:
  void kill();

  UniqueHandle process_;
  std::unique_ptr<MessagePipe> pipe_;
  uint64_t generation_ = 0;
  // Serial of the shared pixels -> their section's handle in the process.
  std::unordered_map<uint64_t, uint64_t> sections_;
};

}  // namespace qova::aplayer
