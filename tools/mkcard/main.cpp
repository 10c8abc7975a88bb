// lumora-mkcard DIR: writes a sample camera card (or, with --recording, one
// recording file) for the demo, the tests and the benchmarks.
#include <iostream>
#include <map>

#include <CLI/CLI.hpp>

extern "C" {
#include <libavutil/log.h>
}

#include "tools/mkcard/SampleCard.h"
#include "tools/mkcard/SampleRecording.h"

namespace {

bool ParseSize(const std::string& text, int* w, int* h) {
  const auto x = text.find('x');
  if (x == std::string::npos) return false;
  try {
    *w = std::stoi(text.substr(0, x));
    *h = std::stoi(text.substr(x + 1));
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"lumora-mkcard: write a sample dash camera card into DIR"};
  std::string target;
  lumora::CardOptions card;
  std::string front = "1280x720", rear = "640x360";
  bool no_index = false, no_mp4 = false, no_stills = false, recording_only = false;
  std::string layout = "xblb";
  app.add_option("DIR", target, "card folder to write (a file with --recording)")->required();
  app.add_option("--seed", card.seed, "seed of the drive and noise; same seed, same bytes");
  app.add_option("--seconds", card.seconds, "length of each recording")->check(CLI::Range(1, 3600));
  app.add_option("--recordings", card.recordings, "recordings in NORMAL/EVENT/PARKING")
      ->check(CLI::Range(0, 500));
  app.add_option("--channels", card.channels, "1 front only, 2 front and rear")
      ->check(CLI::Range(1, 2));
  app.add_option("--fps", card.fps, "video frame rate")->check(CLI::Range(1, 120));
  app.add_option("--front", front, "front picture size WxH (1280x720, 1920x1080)");
  app.add_option("--rear", rear, "rear picture size WxH");
  app.add_flag("--no-index", no_index, "write the AVIs without the idx1 index");
  app.add_option("--cut", card.cut_at,
                 "a recording left by a power cut at this fraction of its length (no idx1, "
                 "sizes unwritten); with --recording that recording, else one more on the card")
      ->check(CLI::Range(0.01, 0.99));
  app.add_flag("--no-mp4", no_mp4, "leave out the MP4 recording");
  app.add_flag("--no-stills", no_stills, "leave out the CAPTURE stills");
  app.add_flag("--recording", recording_only, "write one AVI recording to DIR (a file path)");
  app.add_option("--user-data", layout, "with --recording: xblb, adas, two-user or none")
      ->check(CLI::IsMember({"xblb", "adas", "two-user", "none"}));
  CLI11_PARSE(app, argc, argv);
  av_log_set_level(AV_LOG_ERROR);

  if (!ParseSize(front, &card.front_width, &card.front_height) ||
      !ParseSize(rear, &card.rear_width, &card.rear_height)) {
    std::cerr << "lumora-mkcard: sizes are given as WIDTHxHEIGHT\n";
    return 2;
  }
  card.with_index = !no_index;
  card.with_mp4 = !no_mp4;
  card.with_stills = !no_stills;
  std::string error;
  if (recording_only) {
    static const std::map<std::string, lumora::UserDataLayout> kLayouts = {
        {"xblb", lumora::UserDataLayout::kXblb},
        {"adas", lumora::UserDataLayout::kAdas},
        {"two-user", lumora::UserDataLayout::kTwoUser},
        {"none", lumora::UserDataLayout::kNone}};
    lumora::RecordingOptions r;
    r.seed = card.seed;
    r.seconds = card.seconds;
    r.fps = card.fps;
    r.front_width = card.front_width;
    r.front_height = card.front_height;
    r.rear_width = card.rear_width;
    r.rear_height = card.rear_height;
    r.channels = card.channels == 2 ? lumora::ChannelLayout::kFrontAndRear
                                    : lumora::ChannelLayout::kFrontOnly;
    r.with_index = card.with_index;
    r.cut_at = card.cut_at;
    r.user_data = kLayouts.at(layout);
    r.start = card.start;
    if (!lumora::WriteRecording(target, r, &error)) {
      std::cerr << "lumora-mkcard: " << error << "\n";
      return 2;
    }
    return 0;
  }
  lumora::CardTruth truth;
  if (!lumora::MakeCard(target, card, &error, &truth)) {
    std::cerr << "lumora-mkcard: " << error << "\n";
    return 2;
  }
  std::cout << "lumora-mkcard: wrote " << truth.recordings.size() << " recordings, "
            << truth.dit_files.size() << " drive logs and " << truth.stills.size() << " stills to "
            << target << "\n";
  return 0;
}
