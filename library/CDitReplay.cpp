#include "library/CDitReplay.h"

#include <cstdio>

namespace lumora {

namespace {

std::string TwoNumbers(const char* fmt, double a, double b) {
  char buf[160];
  std::snprintf(buf, sizeof buf, fmt, a, b);
  return buf;
}

}  // namespace

std::string CDitReplay::DrawCurrentCall(double lon, double lat) {
  return TwoNumbers("javascript:DrawCurrent('%lf', '%lf')", lon, lat);
}

std::string CDitReplay::IconMarkerCall(double lon, double lat) {
  return TwoNumbers("javascript:IconMarker('%lf', '%lf')", lon, lat);
}

std::string CDitReplay::DeleteOverlayCall() { return "javascript:DeleteOverlay()"; }

std::vector<std::string> CDitReplay::PointRow(const DitPoint& point) {
  char buf[64];
  std::vector<std::string> row;
  const std::string time = point.Time();
  row.push_back(time);
  row.push_back(time.substr(0, 4));
  std::snprintf(buf, sizeof buf, "%lf", point.m_dLatDeg);
  row.emplace_back(buf);
  std::snprintf(buf, sizeof buf, "%lf", point.m_dLonDeg);
  row.emplace_back(buf);
  std::snprintf(buf, sizeof buf, "%d", point.m_nSpeed);
  row.emplace_back(buf);
  std::snprintf(buf, sizeof buf, "%lf", point.m_dTtc);
  row.emplace_back(buf);
  return row;
}

void CDitReplay::SetMultiplier(int m) {
  m_nMultiplier = (m == 2 || m == 4 || m == 8) ? m : 1;
  m_host->ShowSpeedMultiplier(m_nMultiplier);
}

void CDitReplay::EnterMode(const std::filesystem::path& selected) {
  m_host->RunMapScript(DrawCurrentCall(kRestLongitude, kRestLatitude));
  m_bMode = true;
  m_drive = selected;
  m_buffers[0].assign(kLargeBuffer, 0);
  m_buffers[1].assign(kLargeBuffer, 0);
  m_buffers[2].assign(kSmallBuffer, 0);
  if (!selected.empty()) {
    DitPoint first;
    if (CDitFile::FirstPoint(selected, &first)) {
      m_host->RunMapScript(DrawCurrentCall(first.m_dLonDeg, first.m_dLatDeg));
      LoadPictures(selected, first);
    }
  }
  m_host->RefreshIndicator();
  m_host->Redraw();
}

void CDitReplay::LeaveMode() {
  Stop();
  m_host->RefreshIndicator();
  m_host->RunMapScript(DrawCurrentCall(kRestLongitude, kRestLatitude));
  m_bMode = false;
  m_host->RunMapScript(DeleteOverlayCall());
  if (m_nMultiplier > 2) SetMultiplier(2);
  for (auto& b : m_buffers) std::vector<std::uint8_t>().swap(b);
}

bool CDitReplay::SelectDrive(const std::filesystem::path& path) {
  if (m_state != kStopped) return false;
  m_host->RunMapScript(DeleteOverlayCall());
  m_host->Redraw();
  m_drive = path;
  DitPoint first;
  if (CDitFile::FirstPoint(path, &first)) {
    m_host->RunMapScript(DrawCurrentCall(first.m_dLonDeg, first.m_dLatDeg));
    LoadPictures(path, first);
  } else {
    m_pictures.clear();
    m_nCaptureIndex = 0;
  }
  return true;
}

bool CDitReplay::LoadPoints(const std::filesystem::path& path) {
  m_drive = path;
  const bool ok = CDitFile::Read(path, &m_points);
  m_nIndex = 0;
  m_nCaptureIndex = 0;
  m_nShownPicture = -1;
  return ok;
}

void CDitReplay::LoadPictures(const std::filesystem::path& path, const DitPoint& first) {
  m_pictures = CDitPictureList::List(CDitFile::CaptureSubfolder(path, first));
  m_nCaptureIndex = 0;
  m_nShownPicture = -1;
}

void CDitReplay::AddMarkers() {
  for (const DitPoint& p : m_points) m_host->RunMapScript(IconMarkerCall(p.m_dLonDeg, p.m_dLatDeg));
}

void CDitReplay::Play(const std::filesystem::path& selected) {
  switch (m_state) {
    case kRunning:
      m_host->StopReplayTimer();
      m_state = kPaused;
      m_host->ShowPauseLook(false);
      m_host->PausePlayer();
      return;
    case kPaused:
      m_state = kRunning;
      m_host->StartReplayTimer(TimerInterval());
      m_host->ShowPauseLook(true);
      return;
    case kStopped:
      break;
  }
  LoadPoints(selected);
  if (!m_points.empty()) {
    LoadPictures(selected, m_points.front());
  } else {
    m_pictures.clear();
  }
  m_host->RunMapScript(DeleteOverlayCall());
  if (m_bMarkers) AddMarkers();
  m_host->SetSliderRange(PointCount());
  m_state = kRunning;
  m_host->ShowPauseLook(true);
  m_host->StartReplayTimer(TimerInterval());
}

void CDitReplay::ShowPictureAt(int i) {
  if (i < 0 || i >= CaptureCount() || i == m_nShownPicture) return;
  m_nShownPicture = i;
  m_host->ShowPicture(m_pictures[static_cast<std::size_t>(i)].m_path);
}

void CDitReplay::ShowFirstOf(const std::filesystem::path& path) {
  DitPoint first;
  if (path.empty() || !CDitFile::FirstPoint(path, &first)) return;
  m_host->RunMapScript(DrawCurrentCall(first.m_dLonDeg, first.m_dLatDeg));
  ShowPictureAt(0);
}

void CDitReplay::Stop(const std::filesystem::path& selected) {
  if (m_state != kStopped) {
    m_host->StopReplayTimer();
    m_state = kStopped;
    m_nIndex = 0;
    m_host->ShowPauseLook(false);
    m_host->PausePlayer();
    m_host->RunMapScript(DeleteOverlayCall());
  }
  m_nCaptureIndex = 0;
  if (!selected.empty() && selected != m_drive) {
    m_drive = selected;
    DitPoint first;
    if (CDitFile::FirstPoint(selected, &first)) {
      LoadPictures(selected, first);
    } else {
      m_pictures.clear();
    }
  }
  ShowFirstOf(m_drive);
}

void CDitReplay::Update() {
  m_host->PublishPosition(m_nIndex, PointCount());
  if (m_nIndex < 0 || m_nIndex >= PointCount()) {
    Stop();
    m_nIndex = 0;
    m_host->SetSlider(0);
    m_host->Redraw();
    return;
  }
  const DitPoint& p = m_points[static_cast<std::size_t>(m_nIndex)];
  const int minute = p.Hour() * 100 + p.Minute();  // the point's "Min" column
  const int count = CaptureCount();
  while (m_nCaptureIndex < count) {
    if (CDitPictureList::Matches(m_pictures[static_cast<std::size_t>(m_nCaptureIndex)], minute)) {
      ShowPictureAt(m_nCaptureIndex);
      break;
    }
    if (m_nCaptureIndex == count - 1) break;
    ++m_nCaptureIndex;
  }
  m_host->RunMapScript(DrawCurrentCall(p.m_dLonDeg, p.m_dLatDeg));
  m_host->RefreshIndicator();
  ++m_nIndex;
  m_host->SetSlider(m_nIndex);
}

void CDitReplay::Seek(int x, int left, int width) {
  if (width <= 0) return;
  m_nIndex = static_cast<int>(static_cast<std::int64_t>(PointCount()) * (x - left) / width);
  Update();
}

void CDitReplay::CycleSpeed() {
  SetMultiplier(m_nMultiplier >= 8 ? 1 : m_nMultiplier * 2);
  if (m_state == kRunning) m_host->StartReplayTimer(TimerInterval());
}

void CDitReplay::ToggleMarkers() {
  if (!m_bMarkers) {
    m_bMarkers = true;
    m_host->ShowMarkerLook(true);
    AddMarkers();
  } else {
    m_bMarkers = false;
    m_host->ShowMarkerLook(false);
    m_host->RunMapScript(DeleteOverlayCall());
  }
}

const DitPoint* CDitReplay::CurrentPoint() const {
  if (m_nIndex <= 0 || m_nIndex > PointCount()) return nullptr;
  return &m_points[static_cast<std::size_t>(m_nIndex - 1)];
}

}  // namespace lumora
