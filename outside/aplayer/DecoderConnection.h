#pragma once
// A playback thread's connection to the engine's decoding process
// (APlayerDecoder.exe beside the DLL, built from outside/decoder). That
// process opens and decodes the files the playback threads play, so that
// the platform's demuxers and decoders, their threads and every byte they
// hold live there. One process serves every engine of the program, each playback
// thread over a pipe of its own; when the last of them lets go (a long
// pause), the process ends and gives all of it back to the system at once.
// A decoder that hangs or crashes on a bad file takes only that process with it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "outside/decoder/MessagePipe.h"
#include "outside/decoder/SharedPixels.h"
#include "runtime/UniqueHandle.h"

namespace qova::aplayer {

class DecoderHost;
class DiagnosticLines;

// One playback thread's connection to the decoding process.
class DecoderConnection {
 public:
  // Its starts, exits and kills are written in `diagnostics` (may be null).
  explicit DecoderConnection(std::shared_ptr<DiagnosticLines> diagnostics = nullptr);
  ~DecoderConnection();
  DecoderConnection(const DecoderConnection&) = delete;
  DecoderConnection& operator=(const DecoderConnection&) = delete;

  // Connects to the decoding process, started if none runs; false when it
  // cannot be (the program is missing, no pipe can be made, or it did not
  // come up in time or before `interrupt`). The whole start stays within one
  // deadline, short of the time after which a playback thread counts as stuck.
  bool start(HANDLE interrupt);
  bool running() const { return static_cast<bool>(pipe_); }
  // Counts the connections made: a file opened over one is gone with it.
  uint64_t generation() const { return generation_; }
  // Lets the connection go; the process ends when no connection is left.
  void end();

  // Sends `request` and waits at most `limit` for the reply. A process that
  // does not answer in time is ended at once, since it is stuck in a
  // decoder; so is one that answers out of turn or out of protocol. Cut short by `interrupt`,
  // the connection is let go.
  std::optional<Message> call(const Message& request, DWORD limit, HANDLE interrupt,
                              MessagePipe::Outcome* outcome = nullptr);

  // Ends the process, which answered nonsense (`why`), and lets the connection go.
  void abandon(const std::string& why);

  // The handle value, in the process, of the section of `pixels`, handed
  // over the first time it is asked for; 0 when it cannot be.
  uint64_t sectionFor(const SharedPixels& pixels);
  // The sections handed over that are neither of `live` serials: forgotten
  // here, to be released there.
  std::vector<uint64_t> takeUnused(uint64_t live1, uint64_t live2);

 private:
  // After a call or start that did not go through, `during` what.
  void letGo(MessagePipe::Outcome outcome, const std::string& during);
  void note(const std::string& line) const;

  std::shared_ptr<DiagnosticLines> diagnostics_;
  std::shared_ptr<DecoderHost> host_;
  std::unique_ptr<MessagePipe> pipe_;
  uint64_t generation_ = 0;
  // Serial of the shared pixels -> their section's handle in the process.
  std::unordered_map<uint64_t, uint64_t> sections_;
};

}  // namespace qova::aplayer
