#include "tools/cli/export/CTrackExport.h"

#include <libxml/xmlwriter.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>

namespace lumora {

namespace {

std::string Format(const char* fmt, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

// Keeps well-formed UTF-8 and drops what XML 1.0 cannot hold (control
// characters, broken sequences), so that any file name makes a valid name.
std::string CleanText(const std::string& in) {
  std::string out;
  for (std::size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    std::size_t len = c < 0x80         ? 1
                      : (c >> 5) == 6  ? 2
                      : (c >> 4) == 14 ? 3
                      : (c >> 3) == 30 ? 4
                                       : 0;
    bool ok = len > 0 && i + len <= in.size();
    for (std::size_t k = 1; ok && k < len; ++k) {
      ok = (static_cast<unsigned char>(in[i + k]) & 0xC0) == 0x80;
    }
    if (ok && len == 1 && c < 0x20 && c != '\t' && c != '\n' && c != '\r') ok = false;
    if (ok) {
      out.append(in, i, len);
      i += len;
    } else {
      out.push_back('?');
      ++i;
    }
  }
  return out;
}

const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

struct BufferFree {
  void operator()(xmlBuffer* b) const { xmlBufferFree(b); }
};
struct WriterFree {
  void operator()(xmlTextWriter* w) const { xmlFreeTextWriter(w); }
};

// Small helpers that remember the first failure of the writer.
class Gpx {
 public:
  explicit Gpx(xmlTextWriter* w) : m_w(w) {}
  bool ok() const { return m_ok; }
  void Start(const char* name) { Check(xmlTextWriterStartElement(m_w, X(name))); }
  void End() { Check(xmlTextWriterEndElement(m_w)); }
  void Attr(const char* name, const std::string& value) {
    Check(xmlTextWriterWriteAttribute(m_w, X(name), X(value.c_str())));
  }
  void Element(const char* name, const std::string& text) {
    Check(xmlTextWriterWriteElement(m_w, X(name), X(text.c_str())));
  }
  void Check(int rc) { m_ok = m_ok && rc >= 0; }

 private:
  xmlTextWriter* m_w;
  bool m_ok = true;
};

}  // namespace

std::string CTrackExport::DateText(const CGPSData& fix) {
  if (!fix.m_bHasDateField) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", CGPSData::FullYear(fix.m_nYear), fix.m_nMonth,
                fix.m_nDay);
  return buf;
}

std::string CTrackExport::UtcTimeText(const CGPSData& fix) {
  if (!fix.m_bHasTimeField) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", fix.GetUtcHour(), fix.m_nMinute, fix.m_nSecond);
  return buf;
}

bool CTrackExport::IsMappable(const CGPSData& fix) {
  const double lat = fix.GetLatitudeDegrees();
  const double lon = fix.GetLongitudeDegrees();
  return fix.m_nValid == 1 && std::isfinite(lat) && std::isfinite(lon) && lat >= -90.0 &&
         lat <= 90.0 && lon >= -180.0 && lon < 180.0;
}

nlohmann::json CTrackExport::FixToJson(const CGPSData& fix) {
  nlohmann::json j;
  j["cts"] = fix.m_uCts;
  j["valid"] = fix.m_nValid;
  j["lat"] = fix.m_dLatitude;
  j["lon"] = fix.m_dLongitude;
  j["lat_deg"] = fix.GetLatitudeDegrees();
  j["lon_deg"] = fix.GetLongitudeDegrees();
  j["speed_kmh"] = fix.m_dSpeed;
  j["course"] = fix.m_dCourse;
  const std::string date = DateText(fix);
  const std::string time = UtcTimeText(fix);
  j["date"] = date.empty() ? nlohmann::json(nullptr) : nlohmann::json(date);
  j["time"] = time.empty() ? nlohmann::json(nullptr) : nlohmann::json(time);
  return j;
}

nlohmann::json CTrackExport::ToJson(const CDrivingTrack& track) {
  nlohmann::json gsensor = nlohmann::json::array();
  for (int i = 0; i < track.GetGSampleCount(); ++i) {
    const GSensorSample& s = *track.GetSample(i);
    const AdasRecord& a = *track.GetAdas(i);
    nlohmann::json row;
    row["index"] = i;
    row["a"] = {s.ax, s.ay, s.az};
    row["b"] = {s.bx, s.by, s.bz};
    if (s.time[0] != 0) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", s.time[3], s.time[4], s.time[5]);
      row["time"] = buf;
    } else {
      row["time"] = nullptr;
    }
    row["adas"] = nlohmann::json::array();
    for (std::uint16_t w : a.words) row["adas"].push_back(w);
    gsensor.push_back(std::move(row));
  }
  nlohmann::json gps = nlohmann::json::array();
  for (const CGPSData& fix : track.TextData().m_arrGPS) gps.push_back(FixToJson(fix));
  return {
      {"gsensor", std::move(gsensor)}, {"gps", std::move(gps)}, {"slots", track.GetSlotCount()}};
}

std::string CTrackExport::ToCsv(const CDrivingTrack& track) {
  std::ostringstream out;
  out << "cts,valid,lat,lon,lat_deg,lon_deg,speed_kmh,course,date,time\n";
  for (const CGPSData& f : track.TextData().m_arrGPS) {
    out << f.m_uCts << ',' << f.m_nValid << ',' << Format("%.6f", f.m_dLatitude) << ','
        << Format("%.6f", f.m_dLongitude) << ',' << Format("%.9f", f.GetLatitudeDegrees()) << ','
        << Format("%.9f", f.GetLongitudeDegrees()) << ',' << Format("%.4f", f.m_dSpeed) << ','
        << Format("%.2f", f.m_dCourse) << ',' << DateText(f) << ',' << UtcTimeText(f) << '\n';
  }
  return out.str();
}

std::string CTrackExport::ToGpx(const CDrivingTrack& track, const std::string& name) {
  std::unique_ptr<xmlBuffer, BufferFree> buffer(xmlBufferCreate());
  if (!buffer) return {};
  std::unique_ptr<xmlTextWriter, WriterFree> writer(xmlNewTextWriterMemory(buffer.get(), 0));
  if (!writer) return {};
  xmlTextWriterSetIndent(writer.get(), 1);
  xmlTextWriterSetIndentString(writer.get(), X("  "));
  Gpx g(writer.get());
  g.Check(xmlTextWriterStartDocument(writer.get(), "1.0", "UTF-8", nullptr));
  g.Start("gpx");
  g.Attr("version", "1.1");
  g.Attr("creator", "Lumora Viewer");
  g.Attr("xmlns", "http://www.topografix.com/GPX/1/1");
  g.Attr("xmlns:gpxtpx", "http://www.garmin.com/xmlschemas/TrackPointExtension/v2");
  g.Attr("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
  g.Attr("xsi:schemaLocation",
         "http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd "
         "http://www.garmin.com/xmlschemas/TrackPointExtension/v2 "
         "http://www.garmin.com/xmlschemas/TrackPointExtensionv2.xsd");
  g.Start("metadata");
  g.Element("name", CleanText(name));
  g.End();
  g.Start("trk");
  g.Element("name", CleanText(name));
  g.Start("trkseg");
  for (const CGPSData& f : track.TextData().m_arrGPS) {
    if (!IsMappable(f)) continue;
    g.Start("trkpt");
    g.Attr("lat", Format("%.9f", f.GetLatitudeDegrees()));
    g.Attr("lon", Format("%.9f", f.GetLongitudeDegrees()));
    const std::string date = DateText(f);
    const std::string time = UtcTimeText(f);
    if (!date.empty() && !time.empty()) g.Element("time", date + "T" + time + "Z");
    // GPX 1.1 has no speed or course of its own; the track-point extension
    // that common tools read carries them (speed in m/s).
    g.Start("extensions");
    g.Start("gpxtpx:TrackPointExtension");
    g.Element("gpxtpx:speed", Format("%.3f", f.m_dSpeed / 3.6));
    double course = std::fmod(f.m_dCourse, 360.0);
    if (course < 0.0) course += 360.0;
    if (!(course >= 0.0 && course < 360.0)) course = 0.0;
    g.Element("gpxtpx:course", Format("%.2f", course));
    g.End();
    g.End();
    g.End();
  }
  g.End();  // trkseg
  g.End();  // trk
  g.End();  // gpx
  g.Check(xmlTextWriterEndDocument(writer.get()));
  writer.reset();  // flushes into the buffer
  if (!g.ok()) return {};
  return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                     static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

}  // namespace lumora
