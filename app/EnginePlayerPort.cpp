#include "app/EnginePlayerPort.h"

#include "engine/CMultiPlayer.h"

namespace lumora {

EnginePlayerPort::EnginePlayerPort(std::unique_ptr<iMultiPlayer> player,
                                   std::unique_ptr<IDisplayFactory> factory)
    : player_(std::move(player)), factory_(std::move(factory)) {}

EnginePlayerPort::~EnginePlayerPort() {
  // The engine's displays come from the factory: end the engine first.
  player_.reset();
}

int EnginePlayerPort::Create(IPlayerOwner* owner, void* const* windows, int count) {
  return player_->Create(owner, windows, count, factory_.get());
}

int EnginePlayerPort::Open(const std::string& path) {
  return player_->Open(std::filesystem::path(path));
}

std::uint32_t EnginePlayerPort::GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                                std::uint32_t* cts) {
  return static_cast<std::uint32_t>(player_->GetNextUserData(buffer, length, cts));
}

void EnginePlayerPort::SetOutputVolume(std::uint32_t word) {
  volume_ = word;
  auto* engine = dynamic_cast<CMultiPlayer*>(player_.get());
  CDxSound* sound = engine ? engine->Sound() : nullptr;
  if (!sound) return;
  // The word's level (low half, 0..0xFFFF) as the sound output's linear gain:
  // its volume in percent is a gain of percent / 100. Level 0 silences it.
  const std::uint32_t level = word & 0xFFFFu;
  if (level == 0) {
    sound->SetMute(1);
    return;
  }
  const int percent = static_cast<int>(level * 100u / 0xFFFFu);
  sound->SetVolume(percent < 1 ? 1 : percent);
  sound->SetMute(0);
}

int EnginePlayerPort::IsSeeking() {
  auto* engine = dynamic_cast<CMultiPlayer*>(player_.get());
  return engine ? engine->IsSeekRunning() : 0;
}

}  // namespace lumora
