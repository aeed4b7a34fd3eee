#include "outside/aplayer/AudioOutput.h"

#include <algorithm>
#include <cstring>

namespace qova::aplayer {
namespace {

bool sameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
  return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec &&
         a.wBitsPerSample == b.wBitsPerSample && a.nBlockAlign == b.nBlockAlign;
}

int16_t scaled(int16_t sample, int32_t gain) {
  const int32_t value = (int32_t{sample} * gain) >> 16;
  return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

AudioOutput::~AudioOutput() { close(); }

bool AudioOutput::prepare(const WAVEFORMATEX& format) {
  if (format.wFormatTag != WAVE_FORMAT_PCM || format.wBitsPerSample != 16 || format.nChannels == 0 ||
      format.nAvgBytesPerSec == 0)
    return false;
  if (device_ && sameFormat(format, format_)) {
    reset();
    return true;
  }
  close();
  WAVEFORMATEX wanted = format;
  wanted.cbSize = 0;
  HWAVEOUT device = nullptr;
  if (::waveOutOpen(&device, WAVE_MAPPER, &wanted, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
  device_ = device;
  format_ = wanted;
  ::waveOutPause(device_);
  return true;
}

void AudioOutput::close() {
  if (!device_) return;
  reset();
  ::waveOutClose(device_);
  device_ = nullptr;
  spare_.clear();
}

bool AudioOutput::write(const uint8_t* pcm, size_t bytes, float level) {
  if (!device_ || !pcm) return false;
  recycleFinished();
  const size_t count = bytes / sizeof(int16_t);
  if (count == 0) return true;
  std::unique_ptr<Block> block;
  if (spare_.empty()) {
    block = std::make_unique<Block>();
  } else {
    block = std::move(spare_.back());
    spare_.pop_back();
  }
  block->samples.resize(count);
  std::memcpy(block->samples.data(), pcm, count * sizeof(int16_t));
  const auto gain = static_cast<int32_t>(std::clamp(level, 0.0f, 1.0f) * 65536.0f);
  if (gain < 65536)
    for (int16_t& sample : block->samples) sample = scaled(sample, gain);
  block->header = {};
  block->header.lpData = reinterpret_cast<LPSTR>(block->samples.data());
  block->header.dwBufferLength = static_cast<DWORD>(count * sizeof(int16_t));
  if (::waveOutPrepareHeader(device_, &block->header, sizeof block->header) != MMSYSERR_NOERROR) return false;
  if (::waveOutWrite(device_, &block->header, sizeof block->header) != MMSYSERR_NOERROR) {
    ::waveOutUnprepareHeader(device_, &block->header, sizeof block->header);
    return false;
  }
  queued_.push_back(std::move(block));
  return true;
}

void AudioOutput::pause() {
  if (device_) ::waveOutPause(device_);
}

void AudioOutput::resume() {
  if (device_) ::waveOutRestart(device_);
}

void AudioOutput::reset() {
  if (!device_) return;
  // Hands every queued block back.
  ::waveOutReset(device_);
  ::waveOutPause(device_);
  for (auto& block : queued_) ::waveOutUnprepareHeader(device_, &block->header, sizeof block->header);
  queued_.clear();
}

int64_t AudioOutput::queuedMilliseconds() {
  recycleFinished();
  if (!device_ || format_.nAvgBytesPerSec == 0) return 0;
  uint64_t bytes = 0;
  for (const auto& block : queued_) bytes += block->header.dwBufferLength;
  return static_cast<int64_t>(bytes * 1000 / format_.nAvgBytesPerSec);
}

void AudioOutput::recycleFinished() {
  // The device plays blocks in order, so the finished ones are at the front.
  while (!queued_.empty() && (queued_.front()->header.dwFlags & WHDR_DONE)) {
    std::unique_ptr<Block> block = std::move(queued_.front());
    queued_.pop_front();
    ::waveOutUnprepareHeader(device_, &block->header, sizeof block->header);
    if (spare_.size() < 16) spare_.push_back(std::move(block));
  }
}

}  // namespace qova::aplayer
