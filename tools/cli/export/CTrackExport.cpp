#include "tools/cli/export/CTrackExport.h"

#include <libxml/xmlwriter.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <vector>

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
class XmlOut {
 public:
  explicit XmlOut(xmlTextWriter* w) : m_w(w) {}
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

// An indented UTF-8 document written into memory.
class XmlDocument {
 public:
  XmlDocument()
      : m_buffer(xmlBufferCreate()),
        m_writer(m_buffer ? xmlNewTextWriterMemory(m_buffer.get(), 0) : nullptr),
        m_out(m_writer.get()) {
    if (!m_writer) return;
    xmlTextWriterSetIndent(m_writer.get(), 1);
    xmlTextWriterSetIndentString(m_writer.get(), X("  "));
    m_out.Check(xmlTextWriterStartDocument(m_writer.get(), "1.0", "UTF-8", nullptr));
  }
  bool ok() const { return m_writer != nullptr && m_out.ok(); }
  XmlOut& out() { return m_out; }
  // The document text; empty when any write failed.
  std::string Finish() {
    m_out.Check(xmlTextWriterEndDocument(m_writer.get()));
    m_writer.reset();  // flushes into the buffer
    if (!m_out.ok()) return {};
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(m_buffer.get())),
                       static_cast<std::size_t>(xmlBufferLength(m_buffer.get())));
  }

 private:
  std::unique_ptr<xmlBuffer, BufferFree> m_buffer;
  std::unique_ptr<xmlTextWriter, WriterFree> m_writer;
  XmlOut m_out;
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

std::int64_t CTrackExport::SampleTimeMs(const CDrivingTrack& track, int i) {
  const int n = track.GetGSampleCount();
  return n > 0 ? static_cast<std::int64_t>(i) * track.GetDuration() / n : 0;
}

nlohmann::json CTrackExport::ToJson(const CDrivingTrack& track, const TrackRange& range) {
  nlohmann::json gsensor = nlohmann::json::array();
  for (int i = 0; i < track.GetGSampleCount(); ++i) {
    if (!range.Contains(SampleTimeMs(track, i))) continue;
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
  for (const CGPSData& fix : track.TextData().m_arrGPS) {
    if (range.Contains(fix.m_uCts)) gps.push_back(FixToJson(fix));
  }
  return {
      {"gsensor", std::move(gsensor)}, {"gps", std::move(gps)}, {"slots", track.GetSlotCount()}};
}

std::string CTrackExport::ToCsv(const CDrivingTrack& track, const TrackRange& range) {
  std::ostringstream out;
  out << "cts,valid,lat,lon,lat_deg,lon_deg,speed_kmh,course,date,time\n";
  for (const CGPSData& f : track.TextData().m_arrGPS) {
    if (!range.Contains(f.m_uCts)) continue;
    out << f.m_uCts << ',' << f.m_nValid << ',' << Format("%.6f", f.m_dLatitude) << ','
        << Format("%.6f", f.m_dLongitude) << ',' << Format("%.9f", f.GetLatitudeDegrees()) << ','
        << Format("%.9f", f.GetLongitudeDegrees()) << ',' << Format("%.4f", f.m_dSpeed) << ','
        << Format("%.2f", f.m_dCourse) << ',' << DateText(f) << ',' << UtcTimeText(f) << '\n';
  }
  return out.str();
}

std::string CTrackExport::ToGpx(const CDrivingTrack& track, const std::string& name,
                                const TrackRange& range) {
  XmlDocument doc;
  if (!doc.ok()) return {};
  XmlOut& g = doc.out();
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
    if (!IsMappable(f) || !range.Contains(f.m_uCts)) continue;
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
  return doc.Finish();
}

std::string CTrackExport::ToKml(const CDrivingTrack& track, const std::string& name,
                                const TrackRange& range) {
  std::vector<const CGPSData*> points;
  for (const CGPSData& f : track.TextData().m_arrGPS) {
    // gx:Track pairs every coordinate with a time, so fixes without one are left out.
    if (IsMappable(f) && range.Contains(f.m_uCts) && !DateText(f).empty() &&
        !UtcTimeText(f).empty()) {
      points.push_back(&f);
    }
  }
  XmlDocument doc;
  if (!doc.ok()) return {};
  XmlOut& g = doc.out();
  g.Start("kml");
  g.Attr("xmlns", "http://www.opengis.net/kml/2.2");
  g.Attr("xmlns:gx", "http://www.google.com/kml/ext/2.2");
  g.Start("Document");
  g.Element("name", CleanText(name));
  g.Start("Schema");
  g.Attr("id", "drive");
  g.Attr("name", "drive");
  for (const char* field : {"speed_kmh", "course"}) {
    g.Start("gx:SimpleArrayField");
    g.Attr("name", field);
    g.Attr("type", "float");
    g.End();
  }
  g.End();  // Schema
  g.Start("Placemark");
  g.Element("name", CleanText(name));
  g.Start("gx:Track");
  g.Element("altitudeMode", "clampToGround");
  for (const CGPSData* f : points) g.Element("when", DateText(*f) + "T" + UtcTimeText(*f) + "Z");
  for (const CGPSData* f : points) {
    g.Element("gx:coord", Format("%.9f", f->GetLongitudeDegrees()) + " " +
                              Format("%.9f", f->GetLatitudeDegrees()) + " 0");
  }
  g.Start("ExtendedData");
  g.Start("SchemaData");
  g.Attr("schemaUrl", "#drive");
  g.Start("gx:SimpleArrayData");
  g.Attr("name", "speed_kmh");
  for (const CGPSData* f : points) g.Element("gx:value", Format("%.4f", f->m_dSpeed));
  g.End();
  g.Start("gx:SimpleArrayData");
  g.Attr("name", "course");
  for (const CGPSData* f : points) g.Element("gx:value", Format("%.2f", f->m_dCourse));
  g.End();
  g.End();  // SchemaData
  g.End();  // ExtendedData
  g.End();  // gx:Track
  g.End();  // Placemark
  g.End();  // Document
  g.End();  // kml
  return doc.Finish();
}

}  // namespace lumora
