// lumora-bench trackdecode FILE [--repeat N]: time of decoding a recording's
// user-data records into the driving-data track (G-sensor samples, GPS fixes,
// heading table, resampled G curve), against the RIFF walk that collects the
// same records. The records are read once into memory first, so the decode
// time holds no file access.

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "bench/BenchCommand.h"
#include "data/CDrivingTrack.h"
#include "engine/CFileTypeN.h"

namespace {

double CpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct Record {
  std::vector<std::uint8_t> payload;
  std::uint32_t cts = 0;
};

double MedianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int RunTrackDecode(const std::string& file, int repeat, std::int64_t durationMs) {
  if (repeat < 1) {
    std::cerr << "trackdecode: --repeat must be at least 1\n";
    return bench::kBadInput;
  }
  std::vector<Record> records;
  std::vector<double> walks;
  for (int run = 0; run < repeat; ++run) {
    lumora::CFileTypeN reader;
    reader.SetFileName(file);
    const double start = CpuMs();
    reader.ScanUserData();
    walks.push_back(CpuMs() - start);
    if (run > 0) continue;
    const std::uint32_t largest = std::max<std::uint32_t>(1, reader.GetLargestUserDataLength());
    std::vector<std::uint8_t> buffer(largest);
    for (int i = 0; i < reader.GetUserDataCount(); ++i) {
      std::uint32_t length = largest;
      std::uint32_t cts = 0;
      if (reader.GetNextUserData(buffer.data(), &length, &cts) != 0) break;
      records.push_back({std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + length), cts});
    }
  }
  if (records.empty()) {
    std::cerr << "trackdecode: no user-data records in " << file << "\n";
    return bench::kBadInput;
  }
  if (durationMs <= 0) durationMs = static_cast<std::int64_t>(records.back().cts) + 1000;
  std::vector<double> decodes;
  int samples = 0;
  int fixes = 0;
  for (int run = 0; run < repeat; ++run) {
    auto track = std::make_unique<lumora::CDrivingTrack>();
    std::size_t next = 0;
    const double start = CpuMs();
    track->SetDuration(static_cast<std::int32_t>(durationMs));
    track->Load(static_cast<int>(records.size()),
                [&](std::uint8_t* buffer, std::uint32_t* length, std::uint32_t* cts) {
                  if (next >= records.size()) return std::int32_t{38};
                  const Record& r = records[next++];
                  const std::uint32_t n = std::min<std::uint32_t>(
                      *length, static_cast<std::uint32_t>(r.payload.size()));
                  std::copy_n(r.payload.begin(), n, buffer);
                  *length = n;
                  *cts = r.cts;
                  return std::int32_t{0};
                });
    decodes.push_back(CpuMs() - start);
    samples = track->GetGSampleCount();
    fixes = static_cast<int>(track->TextData().m_arrGPS.size());
  }
  nlohmann::ordered_json out;
  out["track_decode_ms"] = MedianOf(decodes);  // median CPU time
  out["riff_walk_ms"] = MedianOf(walks);       // median CPU time of the walk
  out["ratio"] = MedianOf(decodes) / std::max(1e-6, MedianOf(walks));
  out["records"] = records.size();
  out["g_samples"] = samples;
  out["gps_fixes"] = fixes;
  out["repeat"] = repeat;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kTrackDecode{
    "trackdecode", "Time decoding a recording's user data into the driving-data track",
    [](CLI::App& sub) -> bench::RunFn {
      auto file = std::make_shared<std::string>();
      auto repeat = std::make_shared<int>(5);
      auto duration = std::make_shared<std::int64_t>(0);
      sub.add_option("FILE", *file, "AVI recording")->required()->check(CLI::ExistingFile);
      sub.add_option("--repeat", *repeat, "timed runs (the median is reported)");
      sub.add_option("--duration-ms", *duration, "recording length (default: last record + 1 s)");
      return [=] { return RunTrackDecode(*file, *repeat, *duration); };
    }};

}  // namespace
