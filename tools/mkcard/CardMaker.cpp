#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "tools/mkcard/DriveModel.h"
#include "tools/mkcard/SampleCard.h"
#include "tools/mkcard/SettingsFiles.h"
#include "tools/mkcard/StillEncoder.h"
#include "tools/mkcard/UserDataPayload.h"

namespace fs = std::filesystem;

namespace lumora {
namespace {

constexpr int kStillWidth = 640;
constexpr int kStillHeight = 360;

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

std::string Stamp(const CivilTime& t, const char* separator) {
  char text[32];
  std::snprintf(text, sizeof(text), "%04d%02d%02d%s%02d%02d%02d", t.year, t.month, t.day, separator,
                t.hour, t.minute, t.second);
  return text;
}

bool WriteFile(const fs::path& file, const void* data, size_t size, std::string* error) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) return Fail(error, "cannot write " + file.string());
  return true;
}

bool WriteText(const fs::path& file, const std::string& text, std::string* error) {
  return WriteFile(file, text.data(), text.size(), error);
}

// Gives a file the camera's local time as its last-write time (card lists show it).
void SetFileTime(const fs::path& file, const CivilTime& t) {
  const auto sys = std::chrono::sys_seconds(std::chrono::seconds(CivilToSeconds(t)));
  std::error_code ec;
  fs::last_write_time(file, std::chrono::file_clock::from_sys(sys), ec);
}

// What one slot of the card's recording schedule holds.
enum class Slot { kTwoChannel, kPair, kInfinite, kEvent, kParking };

Slot SlotOf(int i) {
  static const Slot kBase[] = {Slot::kTwoChannel, Slot::kPair,  Slot::kTwoChannel,
                               Slot::kInfinite,   Slot::kEvent, Slot::kParking};
  if (i < 6) return kBase[i];
  return i % 3 == 0 ? Slot::kPair : Slot::kTwoChannel;
}

class CardMaker {
 public:
  CardMaker(const fs::path& dir, const CardOptions& o, CardTruth* truth)
      : dir_(dir), o_(o), truth_(*truth) {}

  bool Run(std::string* error) {
    if (!CheckOptions(error) || !MakeFolders(error)) return false;
    for (int i = 0; i < o_.recordings; ++i) {
      if (!WriteSlot(i, error)) return false;
    }
    if (o_.cut_at > 0 && !WritePowerCut(error)) return false;
    return WriteExtras(error) && WriteDriveLogs(error) && WriteSettings(error);
  }

 private:
  bool CheckOptions(std::string* error) const {
    if (o_.recordings < 0 || o_.recordings > 500) return Fail(error, "recordings must be 0..500");
    if (o_.channels != 1 && o_.channels != 2) return Fail(error, "channels must be 1 or 2");
    if (o_.seconds < 1 || o_.seconds > 3600) return Fail(error, "seconds must be 1..3600");
    return true;
  }

  bool MakeFolders(std::string* error) {
    for (const char* sub : {"NORMAL", "EVENT", "PARKING", "DIT/GPS", "CAPTURE", "SETUP", "cfg"}) {
      std::error_code ec;
      fs::create_directories(dir_ / sub, ec);
      if (ec) return Fail(error, "cannot create " + (dir_ / sub).string() + ": " + ec.message());
    }
    return true;
  }

  RecordingOptions Base(int drive_index) const {
    RecordingOptions r;
    r.seed = o_.seed;
    r.seconds = o_.seconds;
    r.fps = o_.fps;
    r.front_width = o_.front_width;
    r.front_height = o_.front_height;
    r.rear_width = o_.rear_width;
    r.rear_height = o_.rear_height;
    r.channels = o_.channels == 2 ? ChannelLayout::kFrontAndRear : ChannelLayout::kFrontOnly;
    r.with_index = o_.with_index;
    r.drive_offset_s = static_cast<double>(drive_index) * o_.seconds;
    r.start = AddSeconds(o_.start, static_cast<int64_t>(drive_index) * o_.seconds);
    return r;
  }

  bool Write(const fs::path& rel, const std::string& kind, const RecordingOptions& r,
             std::string* error, bool skipped = false) {
    CardRecording rec;
    rec.path = rel;
    rec.kind = kind;
    rec.skipped_by_scan = skipped;
    std::string why;
    if (!WriteRecording(dir_ / rel, r, &why, &rec.truth)) {
      return Fail(error, rel.string() + ": " + why);
    }
    SetFileTime(dir_ / rel, AddSeconds(r.start, r.seconds));
    truth_.recordings.push_back(std::move(rec));
    return true;
  }

  bool WriteSlot(int i, std::string* error) {
    // Moving recordings follow each other along one drive; parking recordings
    // come before it, with the car standing where the drive later starts.
    const Slot slot = SlotOf(i);
    RecordingOptions r = Base(moving_count_);
    if (slot == Slot::kParking) {
      r = Base(0);
      r.parked = true;
      r.drive_offset_s = 0;
      r.start = AddSeconds(o_.start, -3600 + static_cast<int64_t>(parking_count_) * o_.seconds);
      r.event_second = o_.seconds / 3;  // a knock on the parked car
      ++parking_count_;
      return Write(fs::path("PARKING") / (Stamp(r.start, "_") + "_P1.avi"), "PARKING", r, error);
    }
    ++moving_count_;
    const std::string stamp = Stamp(r.start, "_");
    if (moving_count_ <= 4 && o_.with_stills && !WriteStills(r, error)) return false;
    switch (slot) {
      case Slot::kTwoChannel:
        return Write(fs::path("NORMAL") / (stamp + "_N1.avi"), "NORMAL", r, error);
      case Slot::kPair: {
        r.channels = ChannelLayout::kFrontOnly;
        r.junk_bytes = 2048;  // some camera firmware pads the header
        if (!Write(fs::path("NORMAL") / (stamp + "_N1.avi"), "NORMAL", r, error)) return false;
        if (o_.channels == 1) return true;
        r.channels = ChannelLayout::kRearOnly;
        r.audio = false;
        return Write(fs::path("NORMAL") / (stamp + "_N2.avi"), "NORMAL", r, error);
      }
      case Slot::kInfinite:
        r.channels = ChannelLayout::kFrontOnly;
        r.junk_bytes = 1000;
        return Write(fs::path("NORMAL") / (stamp + "_I1.avi"), "NORMAL", r, error);
      case Slot::kEvent:
        r.event_second = o_.seconds / 2;
        return Write(fs::path("EVENT") / (stamp + "_E1.avi"), "EVENT", r, error);
      case Slot::kParking:
        break;
    }
    return true;
  }

  // Two 4:2:0 stills of a moving recording in CAPTURE/<its start>/, named by
  // their capture time: one ".jpg" and one ".JPG" (the camera writes both).
  bool WriteStills(const RecordingOptions& r, std::string* error) {
    const fs::path folder = fs::path("CAPTURE") / Stamp(r.start, "_");
    std::error_code ec;
    fs::create_directories(dir_ / folder, ec);
    if (ec) return Fail(error, "cannot create " + (dir_ / folder).string());
    DriveModel drive(r.seed, false, r.drive_offset_s + r.seconds + 1.0);
    for (int n = 0; n < 2; ++n) {
      const int second = n == 0 ? std::min(1, r.seconds - 1) : r.seconds / 2;
      const CivilTime at = AddSeconds(r.start, second);
      const DriveState s = drive.At(r.drive_offset_s + second);
      SceneState scene;
      scene.time_s = second;
      scene.road_phase_m = s.distance_m;
      scene.steer = s.steer;
      scene.speed_kmh = static_cast<int>(std::lround(s.speed_mps * 3.6));
      char caption[32];
      std::snprintf(caption, sizeof(caption), "%04d-%02d-%02d %02d:%02d:%02d", at.year, at.month,
                    at.day, at.hour, at.minute, at.second);
      scene.caption = caption;
      std::vector<uint8_t> jpeg;
      if (!StillEncoder::Encode(kStillWidth, kStillHeight, false, false, scene, &jpeg, error)) {
        return false;
      }
      const fs::path rel = folder / (Stamp(at, "_") + (n == 0 ? ".jpg" : ".JPG"));
      if (!WriteFile(dir_ / rel, jpeg.data(), jpeg.size(), error)) return false;
      SetFileTime(dir_ / rel, at);
      truth_.stills.push_back(rel);
    }
    return true;
  }

  // The recording the camera was writing when its power failed.
  bool WritePowerCut(std::string* error) {
    RecordingOptions r = Base(moving_count_++);
    r.cut_at = o_.cut_at;
    return Write(fs::path("NORMAL") / (Stamp(r.start, "_") + "_N1.avi"), "NORMAL", r, error);
  }

  // A recording in a sub-folder (skipped by card scans) and one MP4 recording.
  bool WriteExtras(std::string* error) {
    RecordingOptions r = Base(moving_count_);
    r.seconds = std::min(o_.seconds, 3);
    r.front_width = o_.rear_width;
    r.front_height = o_.rear_height;
    r.channels = ChannelLayout::kFrontOnly;
    std::error_code ec;
    fs::create_directories(dir_ / "NORMAL" / "backup", ec);
    if (ec) return Fail(error, "cannot create NORMAL/backup");
    if (!Write(fs::path("NORMAL") / "backup" / (Stamp(r.start, "_") + "_N1.avi"), "NORMAL", r,
               error, true)) {
      return false;
    }
    if (!o_.with_mp4) return true;
    r = Base(moving_count_);
    r.seconds = std::min(o_.seconds, 5);
    r.channels = ChannelLayout::kFrontOnly;
    const fs::path rel = fs::path("NORMAL") / ("LUMORA^" + Stamp(r.start, "_") + "_F^1^2^NI.mp4");
    std::string why;
    if (!WriteMp4Recording(dir_ / rel, r, &why)) return Fail(error, rel.string() + ": " + why);
    SetFileTime(dir_ / rel, AddSeconds(r.start, r.seconds));
    CardRecording rec;
    rec.path = rel;
    rec.kind = "NORMAL";
    truth_.recordings.push_back(std::move(rec));
    return true;
  }

  // One DIT file for the card's drive (one point a second) and one for a
  // shorter drive in the afternoon.
  bool WriteDriveLogs(std::string* error) {
    const int drive_seconds = std::max(moving_count_ * o_.seconds, 60);
    if (!WriteDriveLog(o_.seed, o_.start, drive_seconds, error)) return false;
    return WriteDriveLog(o_.seed + 1, AddSeconds(o_.start, 6 * 3600 + 17 * 60), 180, error);
  }

  bool WriteDriveLog(uint32_t seed, const CivilTime& start, int seconds, std::string* error) {
    DriveModel drive(seed, false, seconds + 1.0);
    std::string text;
    for (int s = 0; s < seconds; ++s) {
      const DriveState d = drive.At(s);
      GpsFixTruth fix;
      MakeRmcSentence(AddSeconds(start, s), true, d.lat_deg, d.lon_deg, 0, 0, &fix);
      const int kmh = static_cast<int>(std::lround(d.speed_mps * 3.6));
      const double gap = d.speed_mps > 0.5 ? 22.0 + 16.0 * std::sin(s * 0.31 + seed) : 0.0;
      const double ttc = d.speed_mps > 0.5 ? gap / d.speed_mps : 0.0;
      char line[128];
      std::snprintf(line, sizeof(line), "%s,%.4f,%.4f,%d,%.1f\r\n",
                    Stamp(AddSeconds(start, s), "").c_str(), fix.lat_nmea, fix.lon_nmea, kmh, ttc);
      text += line;
    }
    const fs::path rel = fs::path("DIT") / "GPS" / (Stamp(start, "_") + ".DIT");
    if (!WriteText(dir_ / rel, text, error)) return false;
    SetFileTime(dir_ / rel, AddSeconds(start, seconds));
    truth_.dit_files.push_back(rel);
    return true;
  }

  bool WriteSettings(std::string* error) {
    const std::vector<uint8_t> record = MakeSetupRecord();
    const std::vector<uint8_t> factory = MakeFactoryFile(o_.seed);
    return WriteText(dir_ / "cfg" / "data_setup.cfg", MakeSetupFileText(), error) &&
           WriteFile(dir_ / "SETUP" / "data_setup.cfg", record.data(), record.size(), error) &&
           WriteFile(dir_ / "SETUP" / "data_factory.cfg", factory.data(), factory.size(), error) &&
           WriteText(dir_ / "wifi.cfg", MakeWifiFileText(o_.seed), error);
  }

  fs::path dir_;
  const CardOptions& o_;
  CardTruth& truth_;
  int moving_count_ = 0;
  int parking_count_ = 0;
};

}  // namespace

bool MakeCard(const fs::path& dir, const CardOptions& options, std::string* error,
              CardTruth* truth) {
  CardTruth local;
  CardTruth& t = truth ? *truth : local;
  t = CardTruth{};
  return CardMaker(dir, options, &t).Run(error);
}

}  // namespace lumora
