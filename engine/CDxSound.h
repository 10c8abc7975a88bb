#pragma once
// Sound output of the front channel: blocks of PCM samples are appended to a
// ten-second ring that the SDL audio callback drains. Playback starts once a
// fifth of a second is queued; pacing is the player's job.

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace lumora {

// The PCM format of the ring (all zero until the first block is written).
struct SoundFormat {
  std::int32_t nFormatTag = 0;
  std::int32_t nChannels = 0;
  std::int32_t nSamplesPerSec = 0;
  std::int32_t nAvgBytesPerSec = 0;
  std::int32_t nBlockAlign = 0;
  std::int32_t nBitsPerSample = 0;
};

class CDxSound {
 public:
  static constexpr int kSilence = -10000;  // attenuation in hundredths of a dB
  static constexpr int kRingSeconds = 10;

  CDxSound() = default;
  CDxSound(const CDxSound&) = delete;
  CDxSound& operator=(const CDxSound&) = delete;

  // Operations in the order of their slots.
  int Init(void* window);
  void Uninit();
  int Write(const std::uint8_t* data, int size, int channels, int bits, int rate);
  int Pause();
  int Reset();
  int GetVolume();
  void SetVolume(int percent);
  void SetMute(int flag);
  virtual ~CDxSound();

  // Read-only views for tests and measurements.
  int GetBufferSize();
  int GetWriteCursor();
  std::uint32_t GetPlayPosition();
  bool HasBuffer();
  int IsPlaying() const { return m_bPlaying.load() ? 1 : 0; }
  int IsMuted() const { return m_bMuted.load() ? 1 : 0; }
  int GetStoredAttenuation() const { return m_nVolume.load(); }
  SoundFormat GetFormat();
  // Copies `length` ring bytes from `offset`; false when out of range.
  bool CopyRing(int offset, int length, std::uint8_t* out);
  // Callback passes that found less sound queued than the device asked for
  // while playing, and the bytes handed to the device.
  std::int64_t GetUnderrunCount() const { return m_nUnderruns.load(); }
  std::int64_t GetBytesPlayed() const { return m_nBytesPlayed.load(); }

 private:
  static void SDLCALL AudioCallback(void* user, Uint8* stream, int length);
  void Drain(Uint8* stream, int length);
  void CreateBuffer();
  void ReleaseBuffer();
  void StartPlayback();

  int m_nWriteCursor = 0;
  std::uint32_t m_uPlayPosition = 0;
  int m_nBufferSize = 0;
  SoundFormat m_format;
  bool m_bDeviceReady = false;
  SDL_AudioDeviceID m_device = 0;
  std::atomic<bool> m_bPlaying{false};
  std::mutex m_lock;
  std::atomic<bool> m_bMuted{false};
  std::atomic<int> m_nVolume{0};

  // Guarded by m_lock: the ring, its read cursor and the bytes not yet played.
  std::vector<std::uint8_t> m_ring;
  int m_nReadCursor = 0;
  int m_nQueued = 0;
  // Attenuation in force on the buffer (what DirectSound's SetVolume set).
  std::atomic<int> m_nApplied{0};
  std::atomic<std::int64_t> m_nUnderruns{0};
  std::atomic<std::int64_t> m_nBytesPlayed{0};
};

}  // namespace lumora
