#pragma once
// The multi-channel player: opens a recording through the file manager,
// decodes every video stream with its own decoder and paces pictures and
// sound on one clock in a thread of its own.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/CDxSound.h"
#include "engine/IDecoder.h"
#include "engine/WakeSignal.h"
#include "engine/iMultiPlayer.h"

namespace lumora {

class CFileManager;
struct _TAG_DEC_INFO;

class CMultiPlayer : public iMultiPlayer {
 public:
  static constexpr int kPictureFormat = 5;
  static constexpr double kDecoderGain = 3.0;
  static constexpr int kPrimeSoundBlocks = 10;
  static constexpr int kPrimePictures = 5;

  CMultiPlayer();
  ~CMultiPlayer() override;
  CMultiPlayer(const CMultiPlayer&) = delete;
  CMultiPlayer& operator=(const CMultiPlayer&) = delete;

  int Create(IPlayerOwner* owner, void* const* windows, int count,
             IDisplayFactory* factory) override;
  int Open(const std::filesystem::path& path) override;
  int Close() override;
  std::int64_t GetPosition() override;
  std::int64_t GetDuration() override;
  int GetState() override { return m_nState.load(); }
  int GetVideoStreamCount() override;
  int GetUserDataCount() override;
  std::int32_t GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                               std::uint32_t* cts) override;
  int Redraw(void* deviceContext) override;
  int ResizeDisplays() override;
  int SetSpeed(float speed) override;
  int Seek(std::int32_t ms) override;
  int SkipBackward(double seconds) override;
  int SkipForward(double seconds) override;
  int Pause() override;
  int Play() override;
  int Stop() override;
  int RecoverDisplays(int index) override;
  void ZoomIn(int index) override;
  void ZoomOut(int index) override;
  int StepPicture(int direction) override;

  // 1 while a seek runs (a decoder still seeks or the pools wait to be
  // flushed): a Seek asked now would be dropped.
  int IsSeekRunning();
  // Read-only views for tests and measurements.
  double GetStartTime() const { return m_dStartTime.load(); }
  int IsClockRunning() const { return m_bClockRunning.load() ? 1 : 0; }
  int GetDecoderCount() const { return static_cast<int>(m_decoders.size()); }
  std::int64_t GetSoundBlocksWritten() const { return m_nSoundBlocks.load(); }
  std::int64_t GetEndMessages() const { return m_nEndMessages.load(); }
  int IsSoundAvailable() const { return m_bSoundReady ? 1 : 0; }
  CDxSound* Sound() { return m_pSound.get(); }

 private:
  void PlayerThread();
  // One priming pass; returns after a short wait when not ready.
  void Prime(double* clock, std::chrono::steady_clock::time_point* previous, bool* audioStarted);
  void PlayStep(double* clock, std::chrono::steady_clock::time_point* previous, bool* audioStarted);
  void PreviewSeekTarget(double start);
  void PausedStep(std::chrono::steady_clock::time_point* previous, bool* audioStarted);
  void ShowPicture(const _TAG_DEC_INFO& picture);
  // One picture forward while paused, on the player thread; false while a
  // channel still waits for its next picture.
  bool StepForward();
  void WriteSound(const _TAG_DEC_INFO& block);
  void PostEnd();
  void StopThread();
  // Sleeps, but wakes at once when the thread is told to end.
  void Nap(int ms);
  // The 1 ms wait of a pass with nothing to do; a picture or sound block
  // committed by a decoder (or the end of the thread) ends it early.
  void WaitForFrames();

  std::unique_ptr<CFileManager> m_pFileManager;
  std::vector<std::unique_ptr<IDecoder>> m_decoders;
  std::vector<std::unique_ptr<IVideoDisplay>> m_displays;
  std::unique_ptr<CDxSound> m_pSound;
  bool m_bSoundReady = false;
  IPlayerOwner* m_pOwner = nullptr;
  std::atomic<int> m_nState{kStateClosed};

  std::thread m_thread;
  std::atomic<bool> m_bRun{false};
  std::mutex m_napLock;
  std::condition_variable m_napWake;
  WakeSignal m_frameWake;
  // Player thread only: channels whose picture of the last seek target has
  // not been shown yet.
  std::vector<char> m_previewPending;

  std::atomic<bool> m_bClockRunning{false};
  std::atomic<double> m_dSpeed{1.0};
  std::atomic<bool> m_bResetPending{false};
  std::atomic<std::int64_t> m_nPosition{0};
  std::atomic<double> m_dStartTime{0.0};
  std::atomic<std::int64_t> m_nSoundBlocks{0};
  std::atomic<std::int64_t> m_nEndMessages{0};
  // One-picture steps: a pending step forward, and the spacing of the front
  // channel's pictures as last seen (a step back seeks that far back).
  std::atomic<int> m_nStepForward{0};
  std::atomic<double> m_dPictureSpacing{1.0 / 30.0};
  double m_dLastFrontTime = -1.0;
  // The time of the picture each channel shows now (-1: none yet). A step
  // back starts from the earliest, so channels a picture apart all move back.
  std::array<std::atomic<double>, 4> m_lastShown{};
};

}  // namespace lumora
