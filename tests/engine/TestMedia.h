#pragma once
// Short recordings made with the ffmpeg command line for the engine tests,
// kept in the build tree for the test processes CTest starts one by one.

#include <unistd.h>

#include <gtest/gtest.h>

#include <mutex>

#include "tests/support/Cli.h"

namespace lumora::test {

// Runs `ffmpeg <args> FILE` unless FILE is there already; its path, or an
// empty one (and a failed test) when ffmpeg failed. Written under a name of
// this process and renamed, so that a parallel test never sees half of it.
inline std::filesystem::path MakeMedia(const std::string& name, const std::string& args) {
  static std::mutex lock;
  std::lock_guard guard(lock);
  const auto dir = std::filesystem::path(LUMORA_BINARY_DIR) / "test-media" / "engine";
  std::filesystem::create_directories(dir);
  const auto out = dir / name, part = dir / (std::to_string(::getpid()) + "-" + name);
  if (std::filesystem::exists(out)) return out;
  const CliResult run = RunCommand("ffmpeg -nostdin -y " + args + " " + Quote(part.string()));
  std::error_code ec;
  if (run.exitCode == 0) std::filesystem::rename(part, out, ec);
  if (run.exitCode == 0 && !ec) return out;
  ADD_FAILURE() << "ffmpeg " << args << ": " << run.err;
  return {};
}

// 3 s of front 320x240 and rear 160x120 at 25 fps with a key frame every
// second, and a 440 Hz tone at 8 kHz mono: the shape of a camera recording.
inline std::filesystem::path FrontRear() {
  return MakeMedia("front_rear_3.avi",
                   "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
                   "testsrc2=size=160x120:rate=25 -f lavfi -i sine=frequency=440:sample_rate=8000 "
                   "-map 0 -map 1 -map 2 -c:v libx264 -preset ultrafast -g 25 -keyint_min 25 "
                   "-sc_threshold 0 -c:a pcm_s16le -t 3");
}

// One 160x120 video stream at 25 fps for 2 s, no sound.
inline std::filesystem::path VideoOnly() {
  return MakeMedia("video_only_2.avi",
                   "-f lavfi -i testsrc=size=160x120:rate=25 -c:v libx264 -preset ultrafast -g 25 "
                   "-t 2");
}

}  // namespace lumora::test
