#pragma once
// Short recordings made with the ffmpeg command line for the engine tests.
// Each file is made once per test run, in a temporary folder of its own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

namespace lumora::test {

// Kept in the build tree, so that the test processes CTest starts one by one
// share the files instead of making them again.
inline std::filesystem::path MediaDir() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::path(LUMORA_BINARY_DIR) / "test-media" / "engine";
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

// Runs `ffmpeg <args> name` unless the file is there already and returns the
// file's path (empty when ffmpeg failed). The file is written under a
// temporary name and renamed, so a parallel test never sees half of it.
inline std::filesystem::path MakeMedia(const std::string& name, const std::string& args) {
  static std::mutex lock;
  std::lock_guard guard(lock);
  const std::filesystem::path out = MediaDir() / name;
  if (std::filesystem::exists(out)) return out;
  const std::filesystem::path part =
      MediaDir() / (std::to_string(::getpid()) + ".part" + out.extension().string());
  const std::string command =
      "ffmpeg -nostdin -loglevel error -y " + args + " '" + part.string() + "'";
  std::error_code ec;
  if (std::system(command.c_str()) != 0 || !std::filesystem::exists(part)) return {};
  std::filesystem::rename(part, out, ec);
  if (ec) return {};
  return out;
}

// What a shell command prints on its standard output.
inline std::string CommandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

// A file name of this process only, for files a test changes.
inline std::filesystem::path ScratchFile(const std::string& name) {
  return MediaDir() / (std::to_string(::getpid()) + "-" + name);
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
