// lumora-cli play FILE --null [--speed 2]: plays a recording through the real
// engine into headless displays (and the SDL sound output, the dummy device
// when SDL_AUDIODRIVER=dummy) and prints what was shown.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "engine/CMultiPlayer.h"
#include "engine/CNullDisplay.h"
#include "tools/cli/CliCommand.h"

namespace {

using Clock = std::chrono::steady_clock;

class EndWatcher : public lumora::IPlayerOwner {
 public:
  void PostEndOfRecording() override {
    if (!m_bEnded.exchange(true)) m_endedAt = Clock::now().time_since_epoch().count();
  }
  bool Ended() const { return m_bEnded; }
  Clock::time_point EndedAt() const { return Clock::time_point(Clock::duration(m_endedAt.load())); }

 private:
  std::atomic<bool> m_bEnded{false};
  std::atomic<Clock::rep> m_endedAt{0};
};

int RunPlay(const std::string& file, bool null, double speed) {
  if (!null) {
    std::cerr << "play: only headless playback is available here; pass --null\n";
    return cli::kBadInput;
  }
  if (!(speed > 0.0) || speed > 16.0) {
    std::cerr << "play: speed must be above 0 and at most 16\n";
    return cli::kBadInput;
  }
  if (!std::filesystem::is_regular_file(file)) {
    std::cerr << "play: no such file: " << file << "\n";
    return cli::kBadInput;
  }
  EndWatcher owner;
  lumora::CNullDisplayFactory factory;
  lumora::CMultiPlayer player;
  void* windows[2] = {nullptr, nullptr};
  player.Create(&owner, windows, 2, &factory);
  if (player.Open(file) != 1) {
    std::cerr << "play: not a playable recording: " << file << "\n";
    return cli::kBadInput;
  }
  const int channels = player.GetVideoStreamCount();
  const double seconds = static_cast<double>(player.GetDuration()) / 1000.0;
  player.SetSpeed(static_cast<float>(speed));
  const auto started = Clock::now();
  if (player.Play() != 1) {
    std::cerr << "play: the decoders did not start\n";
    return 1;
  }
  const auto limit = started + std::chrono::milliseconds(
                                   static_cast<long long>((seconds / speed * 2.0 + 10.0) * 1000.0));
  while (!owner.Ended() && Clock::now() < limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  player.Stop();
  player.Close();
  if (!owner.Ended()) {
    std::cerr << "play: the recording did not reach its end in time\n";
    return 1;
  }

  nlohmann::json out;
  out["channels"] = nlohmann::json::array();
  const auto log = factory.Log();
  for (int c = 0; c < channels; ++c) {
    const auto frames = log->FramesOf(c);
    nlohmann::json ch;
    ch["frames"] = frames.size();
    ch["first_ms"] = frames.empty() ? 0 : static_cast<long long>(frames.front().time * 1000.0);
    ch["last_ms"] = frames.empty() ? 0 : static_cast<long long>(frames.back().time * 1000.0);
    out["channels"].push_back(ch);
  }
  out["audio_blocks"] = player.GetSoundBlocksWritten();
  out["end_message_ms"] =
      std::chrono::duration_cast<std::chrono::milliseconds>(owner.EndedAt() - started).count();
  std::cout << out.dump() << "\n";
  return 0;
}

const cli::CliCommand kPlay("play", "Play a recording headless and print what was shown",
                            [](CLI::App& sub) -> cli::RunFn {
                              auto file = std::make_shared<std::string>();
                              auto null = std::make_shared<bool>(false);
                              auto speed = std::make_shared<double>(1.0);
                              sub.add_option("FILE", *file, "recording (AVI or MP4)")->required();
                              sub.add_flag("--null", *null, "headless displays");
                              sub.add_option("--speed", *speed, "playback speed (1 or 2)");
                              return [=] { return RunPlay(*file, *null, *speed); };
                            });

}  // namespace
