#pragma once
// The playback engine (iMultiPlayer) behind the main window's player
// interface. It owns the engine and the display factory whose displays the
// engine creates in the video windows, and keeps the output volume word.

#include <memory>

#include "app/IPlayerPort.h"
#include "engine/iMultiPlayer.h"

namespace lumora {

class EnginePlayerPort : public IPlayerPort {
 public:
  // factory: makes the displays; the port keeps it for the engine's life.
  EnginePlayerPort(std::unique_ptr<iMultiPlayer> player, std::unique_ptr<IDisplayFactory> factory);
  ~EnginePlayerPort() override;

  int Create(IPlayerOwner* owner, void* const* windows, int count) override;
  int Open(const std::string& path) override;
  int Close() override { return player_->Close(); }
  std::int64_t GetPosition() override { return player_->GetPosition(); }
  std::int64_t GetDuration() override { return player_->GetDuration(); }
  int GetState() override { return player_->GetState(); }
  int GetVideoStreamCount() override { return player_->GetVideoStreamCount(); }
  int GetUserDataCount() override { return player_->GetUserDataCount(); }
  std::uint32_t GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                std::uint32_t* cts) override;
  int Redraw() override { return player_->Redraw(nullptr); }
  int ResizeDisplays() override { return player_->ResizeDisplays(); }
  int SetSpeed(float speed) override { return player_->SetSpeed(speed); }
  int Seek(std::int32_t ms) override { return player_->Seek(ms); }
  int IsSeeking() override;
  int SkipBackward(double seconds) override { return player_->SkipBackward(seconds); }
  int SkipForward(double seconds) override { return player_->SkipForward(seconds); }
  int Pause() override { return player_->Pause(); }
  int Play() override { return player_->Play(); }
  int Stop() override { return player_->Stop(); }
  int RecoverDisplays(int index) override { return player_->RecoverDisplays(index); }
  void ZoomIn(int index) override { player_->ZoomIn(index); }
  void ZoomOut(int index) override { player_->ZoomOut(index); }
  int StepPicture(int direction) override { return player_->StepPicture(direction); }
  void SetOutputVolume(std::uint32_t word) override;

  std::uint32_t OutputVolume() const { return volume_; }
  iMultiPlayer* Player() { return player_.get(); }

 private:
  std::unique_ptr<iMultiPlayer> player_;
  std::unique_ptr<IDisplayFactory> factory_;
  std::uint32_t volume_ = 0x7FFF7FFFu;
};

}  // namespace lumora
