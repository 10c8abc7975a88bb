#pragma once
// The playback engine as the main window sees it: one recording, one decoder
// per video stream, one display per video window, one clock.

#include <cstdint>
#include <filesystem>

#include "engine/IVideoDisplay.h"

namespace lumora {

// Player states.
inline constexpr int kStatePlaying = 0;
inline constexpr int kStatePaused = 1;
inline constexpr int kStateStopped = 2;
inline constexpr int kStateClosed = 3;

inline constexpr std::int32_t kPlayerFail = static_cast<std::int32_t>(0x80004005u);

class iMultiPlayer {
 public:
  // Operations in the order of their slots; the reserved slots do nothing.
  virtual ~iMultiPlayer() = default;        // 0
  virtual void Reserved1(int, int, int) {}  // 1
  // windows: the video windows, one display each, made by `factory`.
  virtual int Create(IPlayerOwner* owner, void* const* windows, int count,
                     IDisplayFactory* factory) {  // 2
    (void)owner;
    (void)windows;
    (void)count;
    (void)factory;
    return 0;
  }
  virtual void Reserved3() {}                            // 3
  virtual int Open(const std::filesystem::path& path) {  // 4
    (void)path;
    return 0;
  }
  virtual int Close() { return 1; }                 // 5
  virtual std::int64_t GetPosition() { return 0; }  // 6
  virtual std::int64_t GetDuration() { return 0; }  // 7
  virtual int GetState() { return kStateClosed; }   // 8
  virtual int GetVideoStreamCount() { return -1; }  // 9
  virtual int GetUserDataCount() { return 0; }      // 10
  virtual std::int32_t GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                       std::uint32_t* cts) {  // 11
    (void)buffer;
    (void)length;
    (void)cts;
    return kPlayerFail;
  }
  virtual int Redraw(void* deviceContext) {  // 12
    (void)deviceContext;
    return 1;
  }
  virtual int ResizeDisplays() { return 1; }      // 13
  virtual int Reserved14(int, int) { return 0; }  // 14
  virtual int Reserved15(int, int) { return 0; }  // 15
  virtual int SetSpeed(float speed) {             // 16
    (void)speed;
    return 1;
  }
  virtual int Seek(std::int32_t ms) {  // 17
    (void)ms;
    return 1;
  }
  virtual int Reserved18(int) { return 1; }   // 18
  virtual int SkipBackward(double seconds) {  // 19
    (void)seconds;
    return 1;
  }
  virtual int SkipForward(double seconds) {  // 20
    (void)seconds;
    return 1;
  }
  virtual int Pause() { return 1; }         // 21
  virtual int Play() { return 1; }          // 22
  virtual int Stop() { return 1; }          // 23
  virtual int RecoverDisplays(int index) {  // 24
    (void)index;
    return 1;
  }
  virtual int Reserved25(int) { return 0; }         // 25
  virtual void Reserved26(int) {}                   // 26
  virtual void ZoomIn(int index) { (void)index; }   // 27
  virtual void ZoomOut(int index) { (void)index; }  // 28
  // The program's own, after the camera software's slots: while paused,
  // shows the next (direction 1) or previous (-1) picture of every channel.
  virtual int StepPicture(int direction) {  // 29
    (void)direction;
    return 0;
  }
};

// The one way to make the engine; the caller owns the result.
iMultiPlayer* CreateMultiPlayer();

}  // namespace lumora
