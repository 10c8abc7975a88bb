#pragma once
// What ffprobe (and ffmpeg, for decoding) say about a media file: an outside
// check of the generator's output.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Cli.h"

namespace lumora::test {

struct ProbedStream {
  std::string type;   // "video", "audio", "other"
  std::string codec;  // libavcodec name, "none" when unknown
  int width = 0, height = 0;
  int sample_rate = 0, channels = 0;
  int packets = 0;  // packets read through the whole file
};

struct Probe {
  bool opened = false;
  std::string format;
  double duration_s = 0;  // of the first video stream
  std::vector<ProbedStream> streams;
  int decode_errors = 0;  // lines ffmpeg reports while decoding the video
  int decoded_frames = 0;
};

// Reads every packet with ffprobe; with `decode` also decodes the video.
inline Probe ProbeFile(const std::filesystem::path& file, bool decode) {
  Probe p;
  const std::string entries =
      " -show_entries "
      "format=format_name:stream=codec_type,codec_name,width,height,duration,"
      "sample_rate,channels,nb_read_packets,nb_read_frames -of json ";
  const CliResult r =
      RunCommand("ffprobe -v error -count_packets" + std::string(decode ? " -count_frames" : "") +
                 entries + Quote(file.string()));
  const auto j = nlohmann::json::parse(r.out, nullptr, false);
  if (r.exitCode != 0 || j.is_discarded() || !j.contains("format")) return p;
  p.opened = true;
  p.format = j["format"].value("format_name", "");
  for (const auto& s : j["streams"]) {
    ProbedStream ps;
    ps.type = s.value("codec_type", "other");
    ps.codec = s.value("codec_name", "none");
    ps.width = s.value("width", 0);
    ps.height = s.value("height", 0);
    ps.sample_rate = std::stoi(s.value("sample_rate", "0"));
    ps.channels = s.value("channels", 0);
    ps.packets = std::stoi(s.value("nb_read_packets", "0"));
    if (ps.type == "video") p.decoded_frames += std::stoi(s.value("nb_read_frames", "0"));
    if (ps.type == "video" && p.duration_s == 0) p.duration_s = std::stod(s.value("duration", "0"));
    p.streams.push_back(ps);
  }
  if (decode) {
    const CliResult d =
        RunCommand("ffmpeg -nostdin -v error -i " + Quote(file.string()) + " -map 0:v -f null -");
    std::istringstream lines(d.err);
    for (std::string line; std::getline(lines, line);) p.decode_errors += line.empty() ? 0 : 1;
    if (d.exitCode != 0) ++p.decode_errors;
  }
  return p;
}

}  // namespace lumora::test
