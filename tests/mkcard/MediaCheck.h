#pragma once
// Outside checks of the generator's output: an AVI parser of its own, ffprobe.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Cli.h"

namespace lumora::test {

inline std::vector<uint8_t> ReadAll(const std::filesystem::path& file) {
  const std::string s = ReadFile(file);
  return {s.begin(), s.end()};
}

// The fields of a comma-separated line.
inline std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) out.push_back(field);
  return out;
}

inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(Le16(p)) | (static_cast<uint32_t>(Le16(p + 2)) << 16);
}

struct StreamHeader {
  std::string type, handler;
  uint32_t scale = 0, rate = 0, length = 0;
};

struct Chunk {
  std::string id;
  uint64_t pos = 0;  // of the chunk id
  uint32_t size = 0;
};

struct AviLayout {
  bool ok = false;
  uint32_t riff_size = 0, avih_flags = 0;
  std::string top;         // ids of the top-level chunks after the form type
  bool odd_sizes = false;  // a top-level chunk of odd size
  std::vector<StreamHeader> streams;
  uint64_t movi_type_pos = 0;
  std::vector<Chunk> movi;
  bool has_index = false;
  std::vector<Chunk> index;  // pos holds the entry's offset
};

inline AviLayout ParseAvi(const std::vector<uint8_t>& b) {
  auto id = [&](size_t at) { return std::string(reinterpret_cast<const char*>(&b[at]), 4); };
  // Calls visit(id, body position, size) for each chunk of [from, to).
  auto walk = [&](size_t from, size_t to, auto visit) {
    for (size_t p = from; p + 8 <= to;) {
      const uint32_t size = Le32(&b[p + 4]);
      if (p + 8 + size > to) return;
      visit(id(p), p, size);
      p += 8 + size + (size & 1);
    }
  };
  AviLayout a;
  if (b.size() < 12 || id(0) != "RIFF" || id(8) != "AVI ") return a;
  a.riff_size = Le32(&b[4]);
  walk(12, b.size(), [&](const std::string& top, size_t pos, uint32_t size) {
    const size_t body = pos + 8, end = body + size;
    a.top += top;
    a.odd_sizes = a.odd_sizes || size % 2 != 0;
    if (top == "idx1") {
      a.has_index = true;
      for (size_t p = body; p + 16 <= end; p += 16)
        a.index.push_back({id(p), Le32(&b[p + 8]), Le32(&b[p + 12])});
    } else if (top == "LIST" && id(body) == "movi") {
      a.movi_type_pos = body;
      walk(body + 4, end, [&](const std::string& c, size_t p, uint32_t s) {
        a.movi.push_back({c, p, s});
      });
    } else if (top == "LIST" && id(body) == "hdrl") {
      walk(body + 4, end, [&](const std::string& c, size_t p, uint32_t s) {
        if (c == "avih") a.avih_flags = Le32(&b[p + 8 + 12]);
        if (c != "LIST" || id(p + 8) != "strl") return;
        StreamHeader h;
        walk(p + 12, p + 8 + s, [&](const std::string& sc, size_t q, uint32_t) {
          if (sc != "strh") return;
          const uint8_t* f = &b[q + 8];
          h = {id(q + 8), id(q + 12), Le32(f + 20), Le32(f + 24), Le32(f + 32)};
        });
        a.streams.push_back(h);
      });
    }
  });
  a.ok = true;
  return a;
}

// ffprobe's streams, and the errors and pictures of ffmpeg decoding the video.
struct Probe {
  std::string format;
  nlohmann::json streams = nlohmann::json::array();
  int decode_errors = 0;
  int decoded_frames = 0;
};

inline Probe ProbeFile(const std::filesystem::path& file) {
  const CliResult r = RunCommand(
      "ffprobe -v error -count_packets -count_frames -show_entries format=format_name:stream="
      "codec_type,codec_name,time_base,width,height,duration,sample_rate,channels,"
      "nb_read_packets,nb_read_frames -of json " +
      Quote(file.string()));
  const auto j = nlohmann::json::parse(r.out, nullptr, false);
  Probe p;
  if (r.exitCode != 0 || j.is_discarded() || !j.contains("format")) return p;
  p.format = j["format"].value("format_name", "");
  p.streams = j["streams"];
  for (const auto& s : p.streams) {
    if (s.value("codec_type", "") == "video")
      p.decoded_frames += std::stoi(s.value("nb_read_frames", "0"));
  }
  const CliResult d =
      RunCommand("ffmpeg -nostdin -v error -i " + Quote(file.string()) + " -map 0:v -f null -");
  p.decode_errors =
      static_cast<int>(std::count(d.err.begin(), d.err.end(), '\n')) + (d.exitCode != 0);
  return p;
}

// A stream in one line of the fields ffprobe gives.
inline std::string Summary(const nlohmann::json& stream) {
  std::string out;
  for (const char* name : {"codec_type", "codec_name", "width", "height", "time_base",
                           "sample_rate", "channels", "nb_read_packets"}) {
    if (!stream.contains(name)) continue;
    const auto& v = stream[name];
    out += (out.empty() ? "" : " ") + (v.is_string() ? v.get<std::string>() : v.dump());
  }
  return out;
}

}  // namespace lumora::test
