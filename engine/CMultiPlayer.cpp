#include "engine/CMultiPlayer.h"

#include <algorithm>
#include <cmath>

#include "engine/CFFMpegDecoder.h"
#include "engine/CFileManager.h"
#include "engine/FramePool.h"

namespace lumora {

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

iMultiPlayer* CreateMultiPlayer() { return new CMultiPlayer(); }

CMultiPlayer::CMultiPlayer() = default;

CMultiPlayer::~CMultiPlayer() {
  // The thread and the decoders go first: they use the displays and sound.
  Close();
  m_pFileManager.reset();
  m_displays.clear();
  if (m_pSound) {
    m_pSound->Reset();
    m_pSound->Uninit();
    m_pSound.reset();
  }
}

int CMultiPlayer::Create(IPlayerOwner* owner, void* const* windows, int count,
                         IDisplayFactory* factory) {
  if (m_pFileManager) return 0;
  m_pFileManager = std::make_unique<CFileManager>();
  m_pOwner = owner;
  for (int i = 0; i < count && factory != nullptr; ++i) {
    void* parent = windows != nullptr ? windows[i] : nullptr;
    std::unique_ptr<IVideoDisplay> display(factory->CreateDisplay(i, parent));
    if (display) {
      display->InitDisplay(parent, kPictureFormat);
      display->SetStretch(0, -1);
      for (int k = 0; k < 3; ++k) display->SetStillImage(k, nullptr);
      display->SelectStillImage(0);
    }
    m_displays.push_back(std::move(display));
  }
  m_pSound = std::make_unique<CDxSound>();
  m_bSoundReady = m_pSound->Init(owner) == 0;
  return 1;
}

int CMultiPlayer::Open(const std::filesystem::path& path) {
  const int state = m_nState;
  if (state == kStatePlaying || state == kStatePaused) Stop();
  if (m_nState == kStateStopped) Close();
  if (!m_pFileManager) return 0;
  if (m_pFileManager->Open(path) != 1) {
    Close();
    return 0;
  }
  const int count = m_pFileManager->GetVideoStreamCount();
  if (count <= 0) {
    Close();
    return 0;
  }
  for (int i = 0; i < count; ++i) {
    auto decoder = std::make_unique<CFFMpegDecoder>();
    const int init = decoder->Init(i, path);
    decoder->SetVolume(kDecoderGain);
    const bool opened = init == 0 && decoder->Open() == 0;
    m_decoders.push_back(std::move(decoder));
    if (!opened) {
      Close();
      return 0;
    }
  }
  // New pictures and sound blocks end the player's short waits.
  for (auto& decoder : m_decoders) decoder->VideoPool()->SetWakeSignals(&m_frameWake, nullptr);
  m_decoders[0]->AudioPool()->SetWakeSignals(&m_frameWake, nullptr);
  m_nPosition = 0;
  m_dStartTime = 0.0;
  m_bResetPending = false;
  for (auto& shown : m_lastShown) shown = -1.0;
  m_dLastFrontTime = -1.0;
  m_nState = kStateStopped;
  return 1;
}

int CMultiPlayer::Close() {
  const int state = m_nState;
  if (state == kStatePlaying || state == kStatePaused) Stop();
  StopThread();
  for (auto& decoder : m_decoders) {
    decoder->Close();
    decoder->Uninit();
  }
  m_decoders.clear();
  if (m_pFileManager) m_pFileManager->Close();
  m_nState = kStateClosed;
  return 1;
}

std::int64_t CMultiPlayer::GetPosition() {
  const int state = m_nState;
  return state == kStatePlaying || state == kStatePaused ? m_nPosition.load() : 0;
}

std::int64_t CMultiPlayer::GetDuration() {
  return m_pFileManager ? m_pFileManager->GetDuration() : 0;
}

int CMultiPlayer::GetVideoStreamCount() {
  return m_pFileManager ? m_pFileManager->GetVideoStreamCount() : -1;
}

int CMultiPlayer::GetUserDataCount() {
  return m_pFileManager ? m_pFileManager->GetUserDataCount() : 0;
}

std::int32_t CMultiPlayer::GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                           std::uint32_t* cts) {
  return m_pFileManager ? m_pFileManager->GetNextUserData(buffer, length, cts) : kPlayerFail;
}

int CMultiPlayer::Redraw(void* deviceContext) {
  (void)deviceContext;
  const int state = m_nState;
  const int still = state == kStateStopped || state == kStateClosed ? 1 : 0;
  for (auto& display : m_displays)
    if (display) display->Redraw(still);
  return 1;
}

int CMultiPlayer::ResizeDisplays() {
  for (auto& display : m_displays)
    if (display) display->FitToParent();
  return 1;
}

int CMultiPlayer::SetSpeed(float speed) {
  m_dSpeed = static_cast<double>(speed);
  return 1;
}

int CMultiPlayer::Seek(std::int32_t ms) {
  if (m_decoders.empty() || m_bResetPending) return 1;
  for (auto& decoder : m_decoders)
    if (decoder->IsSeeking()) return 1;
  const double start = ms / 1000.0;
  m_dStartTime = start;
  for (auto& decoder : m_decoders) decoder->Seek(start);
  m_bResetPending = true;
  return 1;
}

int CMultiPlayer::IsSeekRunning() {
  if (m_bResetPending) return 1;
  for (auto& decoder : m_decoders)
    if (decoder->IsSeeking()) return 1;
  return 0;
}

int CMultiPlayer::SkipBackward(double seconds) {
  const std::int64_t target =
      std::max<std::int64_t>(0, m_nPosition - static_cast<std::int64_t>(seconds * 1000.0));
  return Seek(static_cast<std::int32_t>(target));
}

int CMultiPlayer::SkipForward(double seconds) {
  std::int64_t target = m_nPosition + static_cast<std::int64_t>(seconds * 1000.0);
  const std::int64_t duration = GetDuration();
  if (target > duration) target = duration;
  return Seek(static_cast<std::int32_t>(target));
}

int CMultiPlayer::Pause() {
  if (m_nState == kStatePlaying) m_nState = kStatePaused;
  return 1;
}

int CMultiPlayer::Play() {
  const int state = m_nState;
  if (state == kStatePaused) {
    m_nState = kStatePlaying;
    return 1;
  }
  if (state != kStateStopped) return 1;
  for (auto& decoder : m_decoders) {
    if (decoder->Start() != 0) {
      for (auto& d : m_decoders) d->Stop();
      return 0;
    }
  }
  m_nState = kStatePlaying;
  if (!m_thread.joinable()) {
    m_bRun = true;
    m_thread = std::thread(&CMultiPlayer::PlayerThread, this);
  }
  return 1;
}

int CMultiPlayer::Stop() {
  if (m_nState == kStateClosed) return 1;
  StopThread();
  for (auto& decoder : m_decoders) decoder->Stop();
  m_nState = kStateStopped;
  for (auto& display : m_displays)
    if (display) display->Redraw(1);
  return 1;
}

void CMultiPlayer::StopThread() {
  {
    std::lock_guard guard(m_napLock);
    m_bRun = false;
  }
  m_napWake.notify_all();
  m_frameWake.Notify();
  if (m_thread.joinable()) m_thread.join();
}

int CMultiPlayer::RecoverDisplays(int index) {
  if (index >= 0) return ResizeDisplays();
  for (auto& display : m_displays) {
    if (!display || !display->IsDeviceLost()) continue;
    display->SetDeviceLost(1);
    if (display->ResetDevice()) {
      display->SetDeviceLost(0);
      display->Redraw(1);
    }
  }
  return 1;
}

void CMultiPlayer::ZoomIn(int index) {
  const int count = static_cast<int>(m_displays.size());
  for (int i = 0; i < count; ++i)
    if ((index < 0 || index == i) && m_displays[i]) m_displays[i]->ZoomIn();
}

void CMultiPlayer::ZoomOut(int index) {
  const int count = static_cast<int>(m_displays.size());
  for (int i = 0; i < count; ++i)
    if ((index < 0 || index == i) && m_displays[i]) m_displays[i]->ZoomOut();
}

int CMultiPlayer::StepPicture(int direction) {
  if (m_nState != kStatePaused || m_decoders.empty()) return 0;
  if (direction > 0) {
    m_nStepForward = 1;
  } else {
    // Half a picture before the previous one: the seek decodes from the key
    // frame before it and the first picture it delivers is the previous one.
    double shown = m_nPosition / 1000.0;
    for (std::size_t i = 0; i < m_decoders.size() && i < m_lastShown.size(); ++i) {
      const double time = m_lastShown[i];
      if (time >= 0.0) shown = std::min(shown, time);
    }
    shown += 0.0005;
    const double target = std::max(0.0, shown - 1.5 * m_dPictureSpacing.load());
    Seek(static_cast<std::int32_t>(target * 1000.0));
  }
  // The paused player thread is woken rather than left to its next round.
  { std::lock_guard guard(m_napLock); }
  m_napWake.notify_all();
  return 1;
}

// ---- player thread ----

void CMultiPlayer::Nap(int ms) {
  std::unique_lock lock(m_napLock);
  m_napWake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !m_bRun; });
}

void CMultiPlayer::WaitForFrames() { m_frameWake.WaitFor(std::chrono::milliseconds(1)); }

void CMultiPlayer::PostEnd() {
  ++m_nEndMessages;
  if (m_pOwner) m_pOwner->PostEndOfRecording();
}

void CMultiPlayer::ShowPicture(const _TAG_DEC_INFO& picture) {
  const int channel = picture.nChannel;
  if (channel >= 0 && channel < static_cast<int>(m_displays.size()) && m_displays[channel]) {
    const std::uint8_t* const planes[3] = {picture.data[0], picture.data[1], picture.data[2]};
    const int strides[3] = {picture.size[0], picture.size[1], picture.size[2]};
    m_displays[channel]->SetFrameTime(picture.dTime);
    m_displays[channel]->ShowFrame(0, planes, picture.nWidth, picture.nHeight, kPictureFormat,
                                   strides);
  }
  m_nPosition = static_cast<std::int64_t>(picture.dTime * 1000.0);
  if (channel >= 0 && channel < static_cast<int>(m_lastShown.size()))
    m_lastShown[static_cast<std::size_t>(channel)] = picture.dTime;
  if (channel == 0) {
    const double spacing = picture.dTime - m_dLastFrontTime;
    // Repeats while paused and jumps of a seek say nothing about the spacing.
    if (m_dLastFrontTime >= 0.0 && spacing > 0.001 && spacing < 0.25) m_dPictureSpacing = spacing;
    m_dLastFrontTime = picture.dTime;
  }
}

bool CMultiPlayer::StepForward() {
  for (auto& decoder : m_decoders) {
    if (decoder->VideoPool()->Count() < 2 && decoder->DecodeState() != 2) return false;
  }
  double head = 1e300;
  for (auto& decoder : m_decoders) {
    FramePool* video = decoder->VideoPool();
    if (video->Count() >= 2) {
      video->LockPeekFirst();
      video->RemoveFirstAndUnlock();
    }
    if (DecInfo* picture = video->LockPeekFirst()) head = std::min(head, picture->dTime);
    video->UnlockPeek();
  }
  // Playing on starts from the new picture: the clock and the sound are
  // primed again from its time.
  if (head < 1e300) {
    m_dStartTime = head;
    m_bClockRunning = false;
  }
  return true;
}

void CMultiPlayer::WriteSound(const _TAG_DEC_INFO& block) {
  ++m_nSoundBlocks;
  m_pSound->Write(block.data[0], block.size[0], block.nChannels, block.nBitsPerSample,
                  block.nSampleRate);
}

void CMultiPlayer::PlayerThread() {
  double clock = 0.0;
  Clock::time_point previous = Clock::now();
  bool audioStarted = false;
  m_bClockRunning = false;
  while (m_bRun) {
    if (m_bResetPending) {
      // Each decoder empties its pools as it takes the seek, when no picture
      // of the old place is on its way any more and none of the new place
      // has come yet; priming waits until every decoder has taken it.
      const bool seeking = std::any_of(m_decoders.begin(), m_decoders.end(),
                                       [](const auto& d) { return d->IsSeeking() != 0; });
      if (seeking) {
        Nap(1);
        continue;
      }
      m_bClockRunning = false;
      if (audioStarted) {
        m_pSound->Reset();
        audioStarted = false;
      }
      m_nPosition = static_cast<std::int64_t>(m_dStartTime * 1000.0);
      m_previewPending.assign(m_decoders.size(), 1);
      m_bResetPending = false;
    }
    if (!m_bClockRunning) {
      Prime(&clock, &previous, &audioStarted);
    } else if (m_nState == kStatePaused) {
      PausedStep(&previous, &audioStarted);
    } else {
      PlayStep(&clock, &previous, &audioStarted);
    }
  }
  m_pSound->Reset();
}

void CMultiPlayer::Prime(double* clock, Clock::time_point* previous, bool* audioStarted) {
  (void)audioStarted;
  for (auto& decoder : m_decoders) {
    if (decoder->IsSeeking()) {
      WaitForFrames();
      return;
    }
  }
  const double start = m_dStartTime;
  double candidate = 1000.0;
  PreviewSeekTarget(start);
  // Paused (a seek or a one-picture step), the first picture of each channel
  // is enough to show; playing needs a few in hand.
  const bool paused = m_nState == kStatePaused;
  const int pictures = paused ? 1 : kPrimePictures;

  IDecoder* sound = m_decoders[0].get();
  FramePool* audio = sound->AudioPool();
  if (DecInfo* block = audio->LockPeekFirst()) {
    if (block->dTime < start) {
      audio->RemoveFirstAndUnlock();
      return;
    }
    const double time = block->dTime;
    audio->UnlockPeek();
    if (!paused && sound->AudioState() == 0 && audio->Count() < kPrimeSoundBlocks) {
      WaitForFrames();
      return;
    }
    candidate = std::min(candidate, time);
  } else {
    audio->UnlockPeek();
  }

  bool ready = true;
  bool dropped = false;
  bool anyPicture = false;
  bool allDecoded = true;
  for (auto& decoder : m_decoders) {
    FramePool* video = decoder->VideoPool();
    const bool decoded = decoder->DecodeState() == 2;
    allDecoded = allDecoded && decoded;
    DecInfo* picture = video->LockPeekFirst();
    if (picture == nullptr) {
      video->UnlockPeek();
      // A channel with nothing left to decode does not hold the others back.
      if (!decoded) {
        ready = false;
        break;
      }
      continue;
    }
    anyPicture = true;
    if (picture->dTime < start) {
      video->RemoveFirstAndUnlock();
      ready = false;
      dropped = true;
      break;
    }
    const double time = picture->dTime;
    video->UnlockPeek();
    if (!decoder->VideoInputEnded() && video->Count() < pictures) {
      ready = false;
      break;
    }
    candidate = std::min(candidate, time);
  }

  if (ready && !anyPicture && allDecoded && audio->Count() == 0) {
    PostEnd();
    m_bClockRunning = false;
    Nap(200);
  } else if (ready) {
    *clock = candidate;
    *previous = Clock::now();
    m_bClockRunning = true;
  } else if (!dropped) {
    // Pictures before the start time are cleared out without waiting.
    WaitForFrames();
  }
}

void CMultiPlayer::PreviewSeekTarget(double start) {
  // After a seek each channel shows its picture of the target as soon as it
  // is decoded, while the clock waits for enough pictures and sound to play
  // on; it is shown again when the clock reaches it.
  for (std::size_t i = 0; i < m_previewPending.size() && i < m_decoders.size(); ++i) {
    if (!m_previewPending[i]) continue;
    FramePool* video = m_decoders[i]->VideoPool();
    DecInfo* picture = video->LockPeekFirst();
    if (picture != nullptr && picture->dTime >= start) {
      ShowPicture(*picture);
      m_previewPending[i] = 0;
    }
    video->UnlockPeek();
  }
}

void CMultiPlayer::PausedStep(Clock::time_point* previous, bool* audioStarted) {
  if (m_nStepForward && StepForward()) m_nStepForward = 0;
  for (auto& decoder : m_decoders) {
    FramePool* video = decoder->VideoPool();
    if (DecInfo* picture = video->LockPeekFirst()) ShowPicture(*picture);
    video->UnlockPeek();
  }
  m_pSound->Reset();
  *audioStarted = false;
  {
    std::unique_lock lock(m_napLock);
    m_napWake.wait_for(lock, std::chrono::milliseconds(60),
                       [this] { return !m_bRun || m_nStepForward || m_bResetPending; });
  }
  // The time spent paused does not count on the clock.
  *previous = Clock::now();
}

void CMultiPlayer::PlayStep(double* clock, Clock::time_point* previous, bool* audioStarted) {
  const Clock::time_point now = Clock::now();
  const double speed = m_dSpeed;
  const double dt = MillisecondsBetween(*previous, now) / 1000.0 * speed;
  *previous = now;
  *clock += dt;

  IDecoder* sound = m_decoders[0].get();
  FramePool* audio = sound->AudioPool();
  if (speed == 1.0) {
    // Sound starts with the first block that is due and then runs up to a
    // second ahead of the clock. Every block within that second goes at once:
    // the output starts playing only once a fifth of a second is queued, and
    // a block per pass would let the clock run on (on a busy machine, by
    // several passes) before the sound of its moment is heard.
    DecInfo* block = audio->LockPeekFirst();
    if (block != nullptr && !*audioStarted && block->dTime <= *clock) *audioStarted = true;
    while (block != nullptr && *audioStarted && block->dTime <= *clock + 1.0) {
      WriteSound(*block);
      audio->RemoveFirstAndUnlock();
      block = audio->LockPeekFirst();
    }
    audio->UnlockPeek();
  } else {
    // Sound is not played off speed; it is dropped as the clock passes it.
    m_pSound->Reset();
    *audioStarted = false;
    DecInfo* block = audio->LockPeekFirst();
    if (block != nullptr && block->dTime <= *clock)
      audio->RemoveFirstAndUnlock();
    else
      audio->UnlockPeek();
  }
  bool more = audio->Count() > 0 || sound->AudioState() == 0 || sound->PendingAudioPackets() > 0;

  bool everyChannelReady = true;
  double earliest = 1000.0;
  for (auto& decoder : m_decoders) {
    FramePool* video = decoder->VideoPool();
    DecInfo* picture = video->LockPeekFirst();
    if (picture != nullptr) earliest = std::min(earliest, picture->dTime);
    video->UnlockPeek();
    if (picture == nullptr && decoder->DecodeState() != 2) everyChannelReady = false;
  }

  bool shown = false;
  if (everyChannelReady) {
    // Pictures are delayed, never skipped: the clock waits for the earliest.
    if (earliest < *clock - dt) *clock = earliest;
    for (auto& decoder : m_decoders) {
      FramePool* video = decoder->VideoPool();
      DecInfo* picture = video->LockPeekFirst();
      if (picture != nullptr && picture->dTime <= *clock) {
        ShowPicture(*picture);
        video->RemoveFirstAndUnlock();
        shown = true;
      } else {
        video->UnlockPeek();
      }
      if (video->Count() > 0 || decoder->DecodeState() != 2) more = true;
    }
  } else {
    // A channel still decoding counts as more to come.
    more = true;
    WaitForFrames();
  }

  if (!more) {
    PostEnd();
    m_bClockRunning = false;
    Nap(500);
    return;
  }
  if (shown)
    std::this_thread::yield();
  else if (everyChannelReady)
    WaitForFrames();
}

}  // namespace lumora
