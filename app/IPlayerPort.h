#pragma once
// What the main window asks of the playback engine: the player operations it
// uses, plus the output gain word that stands in for the wave-out volume. The
// engine's iMultiPlayer is reached through an adapter; tests use a fake.

#include <cstdint>
#include <string>

namespace lumora {

class IPlayerOwner;

class IPlayerPort {
 public:
  virtual ~IPlayerPort() = default;
  // windows: the video parents (front first); returns 1 or 0.
  virtual int Create(IPlayerOwner* owner, void* const* windows, int count) = 0;
  virtual int Open(const std::string& path) = 0;
  virtual int Close() = 0;
  virtual std::int64_t GetPosition() = 0;
  virtual std::int64_t GetDuration() = 0;
  virtual int GetState() = 0;
  virtual int GetVideoStreamCount() = 0;
  virtual int GetUserDataCount() = 0;
  // buffer of *length bytes; returns 0, 38 (no record left) or 0x80004005.
  virtual std::uint32_t GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                        std::uint32_t* cts) = 0;
  virtual int Redraw() = 0;
  virtual int ResizeDisplays() = 0;
  virtual int SetSpeed(float speed) = 0;
  virtual int Seek(std::int32_t ms) = 0;
  // 1 while an earlier seek still runs (a Seek asked now would be dropped).
  virtual int IsSeeking() { return 0; }
  virtual int SkipBackward(double seconds) = 0;
  virtual int SkipForward(double seconds) = 0;
  virtual int Pause() = 0;
  virtual int Play() = 0;
  virtual int Stop() = 0;
  virtual int RecoverDisplays(int index) = 0;
  virtual void ZoomIn(int index) = 0;
  virtual void ZoomOut(int index) = 0;
  // While paused: shows the next (direction 1) or the previous (-1) picture
  // of every channel; returns 1, or 0 when not paused.
  virtual int StepPicture(int direction) = 0;
  // The program's own output level: two 16-bit channel halves (0x7FFF7FFF is
  // half level on both). Never the system mixer.
  virtual void SetOutputVolume(std::uint32_t word) = 0;
};

}  // namespace lumora
