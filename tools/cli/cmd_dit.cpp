// lumora-cli dit FILE [--limit KMH] [--format json|gpx]: the statistics of one
// driving-information file as JSON, or the drive as a GPX track.
#include <chrono>
#include <iostream>
#include <memory>

#include <nlohmann/json.hpp>

#include "data/CDrivingTrack.h"
#include "library/CDitDriveList.h"
#include "library/CDitFile.h"
#include "library/CDitStatistics.h"
#include "tools/cli/CliCommand.h"
#include "tools/cli/export/CTrackExport.h"

namespace {

namespace fs = std::filesystem;

struct Options {
  std::string file;
  int limit = lumora::CDitStatistics::kDefaultLimit;
  std::string format = "json";
};

// A DIT point as a GPS fix of the track exporter. The file holds the camera's
// local time (UTC plus nine hours); the fix keeps the UTC date and the hour
// plus nine, as decoded sentences do.
lumora::CGPSData ToFix(const lumora::DitPoint& p) {
  using namespace std::chrono;
  const std::string& t = p.m_strDateTime;
  const int year = std::stoi(t.substr(0, 4));
  const auto month = static_cast<unsigned>(std::stoi(t.substr(4, 2)));
  const auto day = static_cast<unsigned>(std::stoi(t.substr(6, 2)));
  const sys_seconds local = sys_days{std::chrono::year{year} / std::chrono::month{month} /
                                     std::chrono::day{day}} +
                            hours{p.Hour()} + minutes{p.Minute()} + seconds{p.Second()};
  const sys_seconds utc = local - hours{lumora::CGPSData::kHourOffset};
  const sys_days utcDay = floor<days>(utc);
  const year_month_day ymd{utcDay};
  const hh_mm_ss<seconds> hms{utc - utcDay};
  lumora::CGPSData fix;
  fix.m_nValid = 1;
  fix.m_dLatitude = p.m_dLatitude;
  fix.m_dLongitude = p.m_dLongitude;
  fix.m_cNorthSouth = p.m_dLatitude < 0 ? 'S' : 'N';
  fix.m_cEastWest = p.m_dLongitude < 0 ? 'W' : 'E';
  fix.m_dSpeed = p.m_nSpeed;
  fix.m_nYear = static_cast<int>(ymd.year()) % 100;
  fix.m_nMonth = static_cast<int>(static_cast<unsigned>(ymd.month()));
  fix.m_nDay = static_cast<int>(static_cast<unsigned>(ymd.day()));
  fix.m_nHour = static_cast<int>(hms.hours().count()) + lumora::CGPSData::kHourOffset;
  fix.m_nMinute = static_cast<int>(hms.minutes().count());
  fix.m_nSecond = static_cast<int>(hms.seconds().count());
  fix.m_bHasDateField = ymd.ok();
  fix.m_bHasTimeField = true;
  return fix;
}

int Run(const Options& o) {
  const fs::path path(o.file);
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    std::cerr << "dit: cannot open " << o.file << "\n";
    return cli::kBadInput;
  }
  if (o.limit < 0) {
    std::cerr << "dit: the over-speed limit must be 0 or more\n";
    return cli::kBadInput;
  }
  std::vector<lumora::DitPoint> points;
  if (!lumora::CDitFile::Read(path, &points)) {
    std::cerr << "dit: cannot open " << o.file << "\n";
    return cli::kBadInput;
  }
  if (points.empty()) {
    std::cerr << lumora::CDitDriveList::kInvalidCaption << path.filename().string() << "\n";
    return cli::kBadInput;
  }
  if (o.format == "gpx") {
    lumora::CDrivingTrack track;
    for (const lumora::DitPoint& p : points) track.TextData().m_arrGPS.push_back(ToFix(p));
    const std::string gpx = lumora::CTrackExport::ToGpx(track, path.stem().string());
    if (gpx.empty()) {
      std::cerr << "dit: the GPX text could not be written\n";
      return 1;
    }
    std::cout << gpx;
    return 0;
  }
  const lumora::CDitStatistics s = lumora::CDitStatistics::Of(points, o.limit);
  const nlohmann::ordered_json out = {{"points", s.Points()},
                              {"distance", s.DistanceText()},
                              {"moving", s.MovingText()},
                              {"total", s.TotalText()},
                              {"overspeed", s.OverspeedText()}};
  std::cout << out.dump(2) << "\n";
  return 0;
}

cli::CliCommand command("dit", "Statistics of a driving-information (.DIT) file, or its GPX track",
                        [](CLI::App& sub) -> cli::RunFn {
                          auto o = std::make_shared<Options>();
                          sub.add_option("FILE", o->file, "DIT file")->required();
                          sub.add_option("--limit", o->limit, "Over-speed limit in km/h");
                          sub.add_option("--format", o->format, "json or gpx")
                              ->check(CLI::IsMember({"json", "gpx"}));
                          return [o] { return Run(*o); };
                        });

}  // namespace
