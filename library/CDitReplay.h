#pragma once
// Replay of one drive in DIT mode: the stopped / running / paused states, the
// replay index, the speed multiplier, route markers and the pictures shown as
// the replay passes their time. Effects go through IDitReplayHost.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "library/CDitFile.h"
#include "library/CDitPictureList.h"
#include "library/IDitReplayHost.h"

namespace lumora {

class CDitReplay {
 public:
  enum State { kPaused = -1, kStopped = 0, kRunning = 1 };
  static constexpr int kBaseIntervalMs = 100;
  // Where the map marker rests outside a replay.
  static constexpr double kRestLatitude = 35.684066;
  static constexpr double kRestLongitude = 139.774494;
  // Work buffers held while DIT mode is on.
  static constexpr std::size_t kLargeBuffer = 6220800;
  static constexpr std::size_t kSmallBuffer = 2073600;

  explicit CDitReplay(IDitReplayHost* host) : m_host(host) {}

  static std::string DrawCurrentCall(double lon, double lat);
  static std::string IconMarkerCall(double lon, double lat);
  static std::string DeleteOverlayCall();
  // Columns of the point list: time, its first four characters, latitude,
  // longitude, speed and TTC.
  static std::vector<std::string> PointRow(const DitPoint& point);

  // Switching modes. Entering moves the marker to rest, holds the work
  // buffers and shows the selected drive's first point (empty path: none).
  void EnterMode(const std::filesystem::path& selected);
  // Leaving stops the replay, rests the marker, removes the route markers,
  // brings a multiplier above 2 down to 2 and frees the buffers.
  void LeaveMode();
  bool InMode() const { return m_bMode; }

  // A click on a drive row: only while stopped. Removes the markers, moves the
  // marker to the drive's first point and loads its pictures.
  bool SelectDrive(const std::filesystem::path& path);
  // Play / pause / resume; from stopped loads `selected` and starts.
  void Play(const std::filesystem::path& selected);
  // Stops the replay and moves the marker to the first point of `selected`
  // (the drive chosen in the list, which may differ from the one replayed),
  // showing its first picture; without an argument the drive loaded last.
  void Stop(const std::filesystem::path& selected);
  void Stop() { Stop(m_drive); }
  // One replay step (timer tick or after seeking).
  void Update();
  // A click at x on the progress strip starting at `left`, `width` wide.
  void Seek(int x, int left, int width);
  void CycleSpeed();
  void ToggleMarkers();

  int TimerInterval() const { return kBaseIntervalMs / m_nMultiplier; }
  State GetState() const { return m_state; }
  int Index() const { return m_nIndex; }
  int PointCount() const { return static_cast<int>(m_points.size()); }
  int Multiplier() const { return m_nMultiplier; }
  void SetMultiplier(int m);
  bool MarkersOn() const { return m_bMarkers; }
  int CaptureIndex() const { return m_nCaptureIndex; }
  int CaptureCount() const { return static_cast<int>(m_pictures.size()); }
  const std::vector<DitPoint>& Points() const { return m_points; }
  const std::vector<DitPicture>& Pictures() const { return m_pictures; }
  const std::filesystem::path& Drive() const { return m_drive; }
  // The point last drawn (index - 1), or nullptr.
  const DitPoint* CurrentPoint() const;
  bool HasBuffers() const { return !m_buffers[0].empty(); }
  std::vector<std::uint8_t>& Buffer(int i) { return m_buffers[i]; }

 private:
  bool LoadPoints(const std::filesystem::path& path);
  void LoadPictures(const std::filesystem::path& path, const DitPoint& first);
  void AddMarkers();
  void ShowFirstOf(const std::filesystem::path& path);
  void ShowPictureAt(int i);

  IDitReplayHost* m_host;
  bool m_bMode = false;
  State m_state = kStopped;
  int m_nIndex = 0;
  int m_nMultiplier = 1;
  bool m_bMarkers = true;
  int m_nCaptureIndex = 0;
  int m_nShownPicture = -1;
  std::filesystem::path m_drive;
  std::vector<DitPoint> m_points;
  std::vector<DitPicture> m_pictures;
  std::vector<std::uint8_t> m_buffers[3];
};

}  // namespace lumora
