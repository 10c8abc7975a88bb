#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkcard/CivilTime.h"

namespace lumora {

// Which video channels one AVI file carries. Front and rear together give the
// stream order front video (00dc), rear video (01dc), sound, user data.
enum class ChannelLayout { kFrontAndRear, kFrontOnly, kRearOnly };

// How the user data travels in the AVI:
//  kXblb    one "txts" stream with handler "XBLB"; idx1 offsets relative to the
//           movi list type field (the camera's usual form);
//  kAdas    one "txts" stream with handler "ADAS"; idx1 offsets absolute;
//  kTwoUser two "txts" streams with handler "USER"; the first carries one RMC
//           sentence a second, the second carries every record under chunk id
//           "09tx"; idx1 offsets absolute;
//  kNone    no user-data stream at all.
enum class UserDataLayout { kXblb, kAdas, kTwoUser, kNone };

struct RecordingOptions {
  uint32_t seed = 1;      // selects the drive (route, speeds) and the noise
  int seconds = 3;        // recording length
  int fps = 30;           // video frame rate
  int front_width = 320;  // front channel picture size
  int front_height = 180;
  int rear_width = 160;  // rear channel picture size
  int rear_height = 90;
  ChannelLayout channels = ChannelLayout::kFrontAndRear;
  bool audio = true;  // 8 kHz mono 16-bit PCM; never in rear-only files
  UserDataLayout user_data = UserDataLayout::kXblb;
  bool with_index = true;  // write the idx1 index
  // 0 < cut_at < 1: the recording a power cut leaves behind: no idx1, the
  // RIFF and movi sizes never written (0), the file ending at this fraction
  // of its length; the truth keeps what lies before the cut.
  double cut_at = 0;
  uint32_t junk_bytes = 0;    // > 0: a JUNK chunk of this size before the movi list
  CivilTime start;            // local time (UTC+9) of the first frame
  double drive_offset_s = 0;  // where in the seeded drive the recording starts
  bool parked = false;        // the car stands still (parking recordings)
  int event_second = -1;      // second with an impact: G spike and event marker
  int no_fix_seconds = 0;     // leading seconds whose RMC sentences have no fix
  int crf = 30;               // x264 constant rate factor
};

// One GPS fix as written into a "$GPRMC" sentence.
struct GpsFixTruth {
  uint32_t cts_ms = 0;   // time stamp the reader gives the record
  int record_index = 0;  // ordinal among the collected user-data records
  bool valid = false;    // status "A"
  int utc_hour = 0, utc_minute = 0, utc_second = 0;
  int day = 0, month = 0, year2 = 0;  // date field ddmmyy
  double lat_nmea = 0;                // ddmm.mmmm as written (positive: "N")
  double lon_nmea = 0;                // dddmm.mmmm as written (positive: "E")
  double lat_deg = 0;                 // decimal degrees of the written values
  double lon_deg = 0;
  double speed_knots = 0;  // as written
  double speed_kmh = 0;    // knots * 1.852
  double course_deg = 0;   // as written
  std::string sentence;    // without the trailing CR LF
};

// One G-sensor record ("M") as written.
struct GSampleTruth {
  uint32_t cts_ms = 0;
  int record_index = 0;
  double ax_g = 0, ay_g = 0, az_g = 0;  // set A accelerations in g (before rounding)
  std::array<int16_t, 3> raw_a{};       // bytes 1-6: Y, Z, X (2048 = 0 g)
  std::array<int16_t, 3> raw_b{};       // bytes 7-12: Y, Z, X (0 = 0 g)
  std::array<int8_t, 6> time_block{};   // bytes 13-18
  std::array<uint16_t, 21> words{};     // driver-assistance words 0-20
};

// One user-data chunk of the stream the container reader collects, in file order.
// Through idx1 a record is the unpadded chunk body; the sequential movi scan
// (files without idx1) reads the body padded to an even length, so the odd
// 61-byte G records then come with one extra zero byte.
struct UserRecordTruth {
  uint32_t cts_ms = 0;           // k * dwScale * 1000 / dwRate
  std::vector<uint8_t> payload;  // unpadded chunk body
};

struct RecordingTruth {
  int video_streams = 0;
  int64_t duration_ms = 0;  // video frames * 1000 / fps
  int video_frames = 0;     // per video stream
  int audio_samples = 0;
  std::string
      user_data_chunk_id;  // id of the collected records ("03tx", "09tx", ...), empty for kNone
  uint32_t text_scale = 0, text_rate = 0;  // strh of the collected stream
  bool fallback_reachable = false;         // records also found without idx1 (ids 03tx/04tx/09tx)
  std::vector<UserRecordTruth> records;
  std::vector<GpsFixTruth> fixes;
  std::vector<GSampleTruth> g_samples;
  std::vector<std::string> stream_chunk_ids;  // per stream in header order, as in movi
  uint64_t cut_length = 0;                    // file length after a power cut, else 0
};

// Writes one camera AVI recording. Returns false with a message on failure.
bool WriteRecording(const std::filesystem::path& file, const RecordingOptions& options,
                    std::string* error, RecordingTruth* truth = nullptr);

// Writes one MP4 recording (H.264 video of the front channel, no user data).
bool WriteMp4Recording(const std::filesystem::path& file, const RecordingOptions& options,
                       std::string* error);

}  // namespace lumora
