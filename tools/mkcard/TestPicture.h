#pragma once

#include <cstdint>
#include <string>

struct AVFrame;

namespace lumora {

// What the camera "sees" at one moment; drawn by TestPicture.
struct SceneState {
  double time_s = 0;        // seconds since the recording started
  double road_phase_m = 0;  // distance driven, moves the lane marks
  double steer = 0;         // -1..1, shifts the road sideways in turns
  int speed_kmh = 0;
  std::string caption;  // e.g. "2026-12-05 08:30:00"
};

// Draws a simple moving road scene (sky, road with moving lane marks, a car
// ahead, a bouncing marker) with a caption, into a YUV 4:2:0 frame. The rear
// view uses other colours and the channel letter "R".
class TestPicture {
 public:
  explicit TestPicture(bool rear) : rear_(rear) {}
  void Render(const SceneState& scene, AVFrame* frame) const;

 private:
  bool rear_;
};

}  // namespace lumora
