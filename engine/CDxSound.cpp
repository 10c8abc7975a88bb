#include "engine/CDxSound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace lumora {

namespace {

SDL_AudioFormat SdlFormatFor(int bits) {
  switch (bits) {
    case 8:
      return AUDIO_U8;
    case 16:
      return AUDIO_S16SYS;
    case 32:
      return AUDIO_S32SYS;
    default:
      return 0;
  }
}

// Sample frames per device period. Sound queued while the device sleeps
// waits for the next period, so a long period puts the sound behind the
// pictures (1024 frames at 8 kHz are 128 ms): about 20 ms, a whole number of
// milliseconds where the rate allows, so that devices pacing themselves with
// a millisecond timer (SDL's dummy and disk drivers) keep the true rate.
Uint16 PeriodFrames(int rate) {
  for (int ms = 20; ms <= 40; ++ms)
    if (rate * ms % 1000 == 0) return static_cast<Uint16>(rate * ms / 1000);
  return static_cast<Uint16>(std::clamp(rate / 50, 64, 4096));
}

}  // namespace

CDxSound::~CDxSound() { Uninit(); }

int CDxSound::Init(void* window) {
  (void)window;  // SDL needs no window for sound.
  if (m_bDeviceReady) return 0;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) return -1;
  // Opening the default device once tells whether there is one at all.
  SDL_AudioSpec want{};
  want.freq = 8000;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 512;
  want.callback = nullptr;
  const SDL_AudioDeviceID probe = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (probe == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return -1;
  }
  SDL_CloseAudioDevice(probe);
  m_bDeviceReady = true;
  return 0;
}

void CDxSound::Uninit() {
  if (m_bPlaying) Reset();
  ReleaseBuffer();
  if (m_bDeviceReady) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_bDeviceReady = false;
  }
}

void CDxSound::CreateBuffer() {
  const int size = kRingSeconds * m_format.nAvgBytesPerSec;
  const SDL_AudioFormat format = SdlFormatFor(m_format.nBitsPerSample);
  if (!m_bDeviceReady || size <= 0 || format == 0 || m_format.nChannels > 8) {
    std::fputs("CreateDSBuffer failed\n", stderr);
    return;
  }
  {
    std::lock_guard guard(m_lock);
    m_ring.assign(static_cast<std::size_t>(size), 0);
    m_nBufferSize = size;
    m_nReadCursor = 0;
    m_nQueued = 0;
  }
  SDL_AudioSpec want{};
  want.freq = m_format.nSamplesPerSec;
  want.format = format;
  want.channels = static_cast<Uint8>(m_format.nChannels);
  want.samples = PeriodFrames(m_format.nSamplesPerSec);
  want.callback = &CDxSound::AudioCallback;
  want.userdata = this;
  m_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (m_device == 0) {
    std::fputs("CreateDSBuffer failed\n", stderr);
    std::lock_guard guard(m_lock);
    m_ring.clear();
    m_nBufferSize = 0;
    return;
  }
  m_nApplied = m_bMuted ? kSilence : m_nVolume.load();
}

void CDxSound::ReleaseBuffer() {
  // Closing the device waits for the callback, so no lock may be held here.
  if (m_device != 0) {
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
  }
  m_bPlaying = false;
  std::lock_guard guard(m_lock);
  m_ring.clear();
  m_nBufferSize = 0;
  m_nWriteCursor = 0;
  m_nReadCursor = 0;
  m_nQueued = 0;
}

int CDxSound::Write(const std::uint8_t* data, int size, int channels, int bits, int rate) {
  if (channels != m_format.nChannels || rate != m_format.nSamplesPerSec ||
      bits != m_format.nBitsPerSample) {
    if (m_bPlaying) Reset();
    ReleaseBuffer();
    m_format.nFormatTag = 1;
    m_format.nChannels = channels;
    m_format.nSamplesPerSec = rate;
    m_format.nBitsPerSample = bits;
    m_format.nBlockAlign = channels * bits / 8;
    m_format.nAvgBytesPerSec = m_format.nBlockAlign * rate;
    CreateBuffer();
  }
  if (m_device == 0) return -1;
  if (size < 0 || (size > 0 && data == nullptr)) return -1;
  {
    std::lock_guard guard(m_lock);
    // A block longer than the whole ring cannot be queued in one piece.
    if (size > m_nBufferSize) return -1;
    const int total = size;
    if (m_nWriteCursor + size > m_nBufferSize) {
      const int part = m_nBufferSize - m_nWriteCursor;
      if (part >= 1) {
        std::memcpy(m_ring.data() + m_nWriteCursor, data, static_cast<std::size_t>(part));
        data += part;
        size -= part;
      }
      m_nWriteCursor = 0;
    }
    m_uPlayPosition = static_cast<std::uint32_t>(m_nReadCursor);
    if (size > 0) std::memcpy(m_ring.data() + m_nWriteCursor, data, static_cast<std::size_t>(size));
    m_nWriteCursor += size;
    m_nQueued = std::min(m_nBufferSize, m_nQueued + total);
  }
  const int threshold = rate * channels * bits / 40;
  if (!m_bPlaying && m_nWriteCursor > threshold) StartPlayback();
  return 0;
}

void CDxSound::StartPlayback() {
  {
    std::lock_guard guard(m_lock);
    m_nReadCursor = m_nBufferSize > 0 ? static_cast<int>(m_uPlayPosition % m_nBufferSize) : 0;
  }
  m_nApplied = m_bMuted ? kSilence : m_nVolume.load();
  SDL_PauseAudioDevice(m_device, 0);
  m_bPlaying = true;
}

int CDxSound::Pause() {
  if (!m_bPlaying) return 1;
  SDL_PauseAudioDevice(m_device, 1);
  m_bPlaying = false;
  return 0;
}

int CDxSound::Reset() {
  if (!m_bPlaying) return 1;
  m_nApplied = kSilence;
  SDL_PauseAudioDevice(m_device, 1);
  m_bPlaying = false;
  std::lock_guard guard(m_lock);
  std::fill(m_ring.begin(), m_ring.end(), std::uint8_t{0});
  m_nWriteCursor = 0;
  m_nReadCursor = 0;
  m_nQueued = 0;
  m_uPlayPosition = 0;
  return 0;
}

int CDxSound::GetVolume() {
  if (m_device == 0) return -1;
  const int v = m_nApplied;
  if (v == kSilence) return 0;
  const int percent = static_cast<int>(std::pow(10.0, (v + 4000) / 2000.0));
  return std::min(percent, 100);
}

void CDxSound::SetVolume(int percent) {
  if (percent < 1) percent = 1;
  int v = static_cast<int>(std::log10(static_cast<double>(percent)) * 2000.0 - 4000.0);
  if (v > 0) v = 0;
  if (!m_bMuted && m_device != 0) m_nApplied = v;
  m_nVolume = v;
}

void CDxSound::SetMute(int flag) {
  m_bMuted = flag != 0;
  if (m_device != 0) m_nApplied = m_bMuted ? kSilence : m_nVolume.load();
}

void SDLCALL CDxSound::AudioCallback(void* user, Uint8* stream, int length) {
  static_cast<CDxSound*>(user)->Drain(stream, length);
}

void CDxSound::Drain(Uint8* stream, int length) {
  const SDL_AudioFormat format = SdlFormatFor(m_format.nBitsPerSample);
  std::memset(stream, format == AUDIO_U8 ? 0x80 : 0, static_cast<std::size_t>(length));
  int copied = 0;
  {
    std::lock_guard guard(m_lock);
    if (m_nBufferSize <= 0) return;
    const int wanted = std::min(length, m_nQueued);
    while (copied < wanted) {
      const int run = std::min(wanted - copied, m_nBufferSize - m_nReadCursor);
      std::memcpy(stream + copied, m_ring.data() + m_nReadCursor, static_cast<std::size_t>(run));
      copied += run;
      m_nReadCursor = (m_nReadCursor + run) % m_nBufferSize;
    }
    m_nQueued -= copied;
    m_uPlayPosition = static_cast<std::uint32_t>(m_nReadCursor);
  }
  // Past the queued sound the device gets silence rather than old sound.
  if (copied < length && m_bPlaying) ++m_nUnderruns;
  m_nBytesPlayed += copied;

  const int attenuation = m_nApplied;
  if (attenuation == 0 || copied == 0) return;
  const double gain = attenuation <= kSilence ? 0.0 : std::pow(10.0, attenuation / 2000.0);
  if (format == AUDIO_S16SYS) {
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    for (int i = 0; i < copied / 2; ++i)
      samples[i] = static_cast<std::int16_t>(std::lround(samples[i] * gain));
  } else if (format == AUDIO_U8) {
    for (int i = 0; i < copied; ++i)
      stream[i] = static_cast<Uint8>(128 + std::lround((stream[i] - 128) * gain));
  } else if (format == AUDIO_S32SYS) {
    auto* samples = reinterpret_cast<std::int32_t*>(stream);
    for (int i = 0; i < copied / 4; ++i)
      samples[i] = static_cast<std::int32_t>(std::llround(samples[i] * gain));
  }
}

int CDxSound::GetBufferSize() {
  std::lock_guard guard(m_lock);
  return m_nBufferSize;
}

int CDxSound::GetWriteCursor() {
  std::lock_guard guard(m_lock);
  return m_nWriteCursor;
}

std::uint32_t CDxSound::GetPlayPosition() {
  std::lock_guard guard(m_lock);
  return m_uPlayPosition;
}

bool CDxSound::HasBuffer() { return m_device != 0; }

SoundFormat CDxSound::GetFormat() { return m_format; }

bool CDxSound::CopyRing(int offset, int length, std::uint8_t* out) {
  std::lock_guard guard(m_lock);
  if (offset < 0 || length < 0 || offset + length > m_nBufferSize) return false;
  std::memcpy(out, m_ring.data() + offset, static_cast<std::size_t>(length));
  return true;
}

}  // namespace lumora
