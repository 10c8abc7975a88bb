#pragma once
// Short recordings made with the ffmpeg command line for the engine tests.
// Each file is made once per test run, in a temporary folder of its own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

namespace lumora::test {

inline std::filesystem::path MediaDir() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() /
             ("lumora-engine-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

// Runs `ffmpeg <inputs> <outputs> name` once and returns the file's path
// (empty when ffmpeg failed).
inline std::filesystem::path MakeMedia(const std::string& name, const std::string& args) {
  static std::mutex lock;
  static std::map<std::string, std::filesystem::path> made;
  std::lock_guard guard(lock);
  auto it = made.find(name);
  if (it != made.end()) return it->second;
  const std::filesystem::path out = MediaDir() / name;
  const std::string command =
      "ffmpeg -nostdin -loglevel error -y " + args + " '" + out.string() + "'";
  if (std::system(command.c_str()) != 0 || !std::filesystem::exists(out)) return {};
  made[name] = out;
  return out;
}

// Front 320x240 and rear 160x120 at 25 fps with a key frame every second,
// and a 440 Hz tone at 8 kHz mono: the shape of a camera recording.
inline std::filesystem::path FrontRear(double seconds = 3.0) {
  const std::string t = std::to_string(seconds);
  return MakeMedia(
      "front_rear_" + t + ".avi",
      "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i testsrc2=size=160x120:rate=25 "
      "-f lavfi -i sine=frequency=440:sample_rate=8000 -map 0 -map 1 -map 2 "
      "-c:v libx264 -preset ultrafast -g 25 -keyint_min 25 -sc_threshold 0 "
      "-c:a pcm_s16le -t " +
          t);
}

// One 160x120 video stream, no sound.
inline std::filesystem::path VideoOnly(double seconds = 2.0) {
  const std::string t = std::to_string(seconds);
  return MakeMedia("video_only_" + t + ".avi",
                   "-f lavfi -i testsrc=size=160x120:rate=25 -c:v libx264 -preset ultrafast -g 25 "
                   "-t " +
                       t);
}

}  // namespace lumora::test
