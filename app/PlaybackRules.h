#pragma once
// Small rules of the playback commands: the time label text, the volume word,
// the speed toggle and the row that a driver-assistance lookup reads.

#include <cstdint>
#include <string>

namespace lumora {

class PlaybackRules {
 public:
  // What the update does while the player is paused or stopped.
  enum class HeldStep {
    kFollow,  // inside the recording: follow the position (slider, panel, map)
    kHold,    // at the start, or at the end with no end notice yet: only the slider
    kNext,    // the recording played to its end: open the next row
  };
  // Step of the "<- SEC" / "-> SEC" buttons, in seconds.
  static constexpr double kStepSeconds = 5.0;
  // A recording with this many user-data records or more counts as having none.
  static constexpr int kMaxUserDataRecords = 18000;
  static constexpr int kUserDataBufferSize = 1024;
  static constexpr int kEndOfRecords = 38;
  static constexpr std::uint32_t kFail = 0x80004005u;
  // Output volume word with both 16-bit halves at half level.
  static constexpr std::uint32_t kHalfVolume = 0x7FFF7FFFu;
  // Resting place of the map marker after Stop.
  static constexpr double kRestLongitude = 139.774494;
  static constexpr double kRestLatitude = 35.684066;
  static constexpr int kInitialVolume = 50;
  static constexpr int kSpeedSliderCentre = 5;

  // "%02d:%02d:%02d" of a millisecond count (negative counts read as 0).
  static std::string TimeText(std::int64_t ms);
  // w + (w << 16) where w = trunc(v x 655.35): one level for both channels.
  static std::uint32_t VolumeWord(int sliderValue);
  // The multiplier after pressing the speed button while playing: 1 <-> 2.
  static int NextSpeed(int multiplier) { return multiplier == 1 ? 2 : 1; }
  // trunc(position / duration x rows); 0 when there is no duration.
  static int RowAt(std::int64_t position, std::int64_t duration, int rowCount);
  // "javascript:DrawCurrent('%lf', '%lf')" with the longitude first.
  static std::string DrawCurrentCall(double longitude, double latitude);
  // Paused or stopped at `position`: 0 < position < duration follows it; only a
  // recording whose end notice came (it played to its end) moves on; a pause
  // at 0 (while priming, or stepped back to the start) keeps the recording.
  static HeldStep StepWhileHeld(std::int64_t position, std::int64_t duration, bool endReached);
  // The mouse wheel over the seek slider: kStepSeconds per notch (positive
  // notches forward), limited to 0 .. duration.
  static std::int64_t WheelTarget(std::int64_t position, std::int64_t duration, int notches);
  // The seek slider's tooltip: the time of a recording's position; in DIT
  // mode, where the slider counts replay points, the share of the drive in
  // per cent (the slider's own "%d%%" would show milliseconds or points).
  static std::string SeekTooltip(bool ditMode, int position, int maximum);
  // True when the user-data record count is worth draining (1..17999).
  static bool UsableRecordCount(int count) { return count > 0 && count < kMaxUserDataRecords; }
};

}  // namespace lumora
