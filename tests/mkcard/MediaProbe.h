#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lumora::test {

struct ProbedStream {
  std::string type;   // "video", "audio", "other"
  std::string codec;  // libavcodec name
  int width = 0, height = 0;
  int sample_rate = 0, channels = 0;
  int packets = 0;  // packets read through the whole file
};

struct Probe {
  bool opened = false;
  std::string format;
  double duration_s = 0;
  std::vector<ProbedStream> streams;
  int decode_errors = 0;  // video packets the H.264 decoder refused
  int decoded_frames = 0;
};

// Opens the file with libavformat, reads every packet and decodes the video.
Probe ProbeFile(const std::filesystem::path& file, bool decode);

}  // namespace lumora::test
