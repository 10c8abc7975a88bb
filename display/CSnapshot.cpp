#include "display/CSnapshot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <system_error>

#include "data/CDrivingTrack.h"
#include "display/CPictureGrabber.h"
#include "engine/CFileManager.h"

namespace lumora {

namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

SnapshotMoment SnapshotMoment::FromTrack(const CDrivingTrack& track, std::int64_t positionMs) {
  SnapshotMoment m;
  const CGPSData* fix = track.FindFix(positionMs);
  if (fix == nullptr) return m;
  if (fix->m_bHasTimeField) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", fix->m_nHour % 24, fix->m_nMinute,
                  fix->m_nSecond);
    m.timeOfDay = text;
  }
  if (fix->m_nValid) {
    m.latitude = Format("%.6f", fix->GetLatitudeDegrees());
    m.longitude = Format("%.6f", fix->GetLongitudeDegrees());
    m.speed = Format("%.1f", fix->m_dSpeed);
    m.heading = Format("%.1f", fix->m_dCourse);
  }
  return m;
}

SnapshotMoment SnapshotMoment::FromRecording(const std::filesystem::path& recording,
                                             std::int64_t positionMs) {
  CFileManager reader;
  if (reader.Open(recording) != 1) return {};
  CDrivingTrack track;
  track.SetDuration(static_cast<std::int32_t>(
      std::clamp<std::int64_t>(reader.GetDuration(), 0, std::numeric_limits<std::int32_t>::max())));
  track.Load(reader.GetUserDataCount(),
             [&](std::uint8_t* buffer, std::uint32_t* length, std::uint32_t* cts) {
               return reader.GetNextUserData(buffer, length, cts);
             });
  return FromTrack(track, positionMs);
}

PngWriter::TextChunks SnapshotMoment::Texts() const {
  return {{"TimeOfDay", timeOfDay},
          {"Latitude", latitude},
          {"Longitude", longitude},
          {"Speed", speed},
          {"Heading", heading}};
}

std::string CSnapshot::FileName(const std::filesystem::path& recording, std::int64_t positionMs,
                                int channel) {
  const std::int64_t ms = std::max<std::int64_t>(0, positionMs);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02lld-%02lld-%02lld.%03lld",
                static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return recording.stem().string() + "_" + stamp + (channel == kRear ? "_R.png" : "_F.png");
}

CSnapshot::Result CSnapshot::Save(const std::filesystem::path& recording, double seconds,
                                  const std::vector<int>& channels,
                                  const std::filesystem::path& folder,
                                  const SnapshotMoment& moment) {
  Result result;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) {
    result.error = folder.string();
    result.unwritable = true;
    return result;
  }
  CPictureGrabber grabber;
  if (!grabber.Open(recording, &result.error)) return result;
  const auto positionMs = static_cast<std::int64_t>(std::llround(seconds * 1000.0));
  std::vector<std::pair<std::filesystem::path, std::vector<std::uint8_t>>> files;
  for (int channel : channels) {
    if (channel >= grabber.ChannelCount()) continue;
    RgbPicture picture;
    if (!grabber.Grab(channel, seconds, &picture, &result.error)) return result;
    files.emplace_back(folder / FileName(recording, positionMs, channel),
                       PngWriter::Encode(picture, moment.Texts()));
  }
  if (files.empty()) {
    result.error = "the recording has no such channel";
    return result;
  }
  // Every file goes under a temporary name first; only when all are complete
  // are they renamed, and a failure removes what was written.
  std::vector<std::filesystem::path> parts;
  auto fail = [&] {
    for (const auto& part : parts) std::filesystem::remove(part, ec);
    result.error = folder.string();
    result.unwritable = true;
    return result;
  };
  for (const auto& [path, bytes] : files) {
    std::filesystem::path part = path;
    part += ".part";
    parts.push_back(part);
    if (bytes.empty() || !WriteFile(part, bytes)) return fail();
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::filesystem::rename(parts[i], files[i].first, ec);
    if (ec) {
      for (std::size_t k = 0; k < i; ++k) std::filesystem::remove(files[k].first, ec);
      return fail();
    }
    result.written.push_back(files[i].first);
  }
  return result;
}

}  // namespace lumora
