#pragma once
// Test doubles for the main window's parts: a player that follows the engine's
// state rules and records every call, a track with settable rows, a map.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/IDrivingTrackPort.h"
#include "app/IMapCalls.h"
#include "app/IPlayerPort.h"

namespace lumora::test {

struct FakeRecording {
  std::int64_t duration = 60000;
  int channels = 2;
  int userData = 10;
};

class FakePlayer : public IPlayerPort {
 public:
  std::map<std::string, FakeRecording> recordings;  // by path; others use the default
  FakeRecording defaults;
  std::vector<std::string> calls;
  std::vector<std::string> opened;
  std::vector<std::int32_t> seeks;
  std::vector<float> speeds;
  std::vector<std::uint32_t> volumes;
  int state = 3;
  std::int64_t position = 0;
  FakeRecording current;
  int dataLeft = 0;

  int Create(IPlayerOwner*, void* const*, int count) override {
    calls.push_back("Create" + std::to_string(count));
    return 1;
  }
  int Open(const std::string& path) override {
    calls.push_back("Open");
    if (state == 0 || state == 1) Stop();
    if (state == 2) Close();
    if (path.find("unplayable") != std::string::npos) return 0;
    auto it = recordings.find(path);
    current = it == recordings.end() ? defaults : it->second;
    opened.push_back(path);
    dataLeft = current.userData;
    position = 0;
    state = 2;
    return 1;
  }
  int Close() override {
    calls.push_back("Close");
    state = 3;
    return 1;
  }
  std::int64_t GetPosition() override { return state <= 1 ? position : 0; }
  std::int64_t GetDuration() override { return state == 3 ? -1 : current.duration; }
  int GetState() override { return state; }
  int GetVideoStreamCount() override { return state == 3 ? -1 : current.channels; }
  int GetUserDataCount() override { return current.userData; }
  std::uint32_t GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                std::uint32_t* cts) override {
    if (dataLeft <= 0) return 38;
    const int index = current.userData - dataLeft--;
    buffer[0] = 'M';
    *length = 61;
    *cts = static_cast<std::uint32_t>(index * 100);
    return 0;
  }
  int Redraw() override { return 1; }
  int ResizeDisplays() override { return 1; }
  int SetSpeed(float speed) override {
    speeds.push_back(speed);
    return 1;
  }
  // Set while the player still runs an earlier seek.
  int seeking = 0;
  int IsSeeking() override { return seeking; }
  int Seek(std::int32_t ms) override {
    seeks.push_back(ms);
    if (state <= 1) position = ms;
    return 1;
  }
  int SkipBackward(double seconds) override {
    return Seek(static_cast<std::int32_t>(
        std::max<std::int64_t>(0, position - static_cast<std::int64_t>(seconds * 1000))));
  }
  int SkipForward(double seconds) override {
    const std::int64_t target = position + static_cast<std::int64_t>(seconds * 1000);
    return Seek(static_cast<std::int32_t>(target > current.duration ? current.duration : target));
  }
  int Pause() override {
    if (state == 0) state = 1;
    return 1;
  }
  int Play() override {
    calls.push_back("Play");
    if (state == 2 || state == 1) state = 0;
    return 1;
  }
  int Stop() override {
    calls.push_back("Stop");
    if (state != 3) state = 2;
    return 1;
  }
  int RecoverDisplays(int index) override {
    calls.push_back("Recover" + std::to_string(index));
    return 1;
  }
  void ZoomIn(int index) override { calls.push_back("ZoomIn" + std::to_string(index)); }
  void ZoomOut(int index) override { calls.push_back("ZoomOut" + std::to_string(index)); }
  int StepPicture(int direction) override {
    calls.push_back("Step" + std::to_string(direction));
    return state == 1 ? 1 : 0;
  }
  void SetOutputVolume(std::uint32_t word) override { volumes.push_back(word); }
};

class FakeTrack : public IDrivingTrackPort {
 public:
  int decoded = 0;
  int gpsFixes = 1;
  std::vector<std::vector<std::uint16_t>> rows;
  std::int32_t finishedWith = -2;

  void BeginLoad() override { decoded = 0; }
  void DecodeUserData(const std::uint8_t*, std::size_t, std::uint32_t) override { ++decoded; }
  void Finish(std::int32_t durationMs) override { finishedWith = durationMs; }
  int GpsFixCount() const override { return gpsFixes; }
  int AdasRowCount() const override { return static_cast<int>(rows.size()); }
  const std::uint16_t* AdasWords(int row) const override {
    if (row < 0 || row >= static_cast<int>(rows.size())) return nullptr;
    return rows[row].data();
  }
  bool FixAt(std::int64_t positionMs, double* longitude, double* latitude) const override {
    if (gpsFixes == 0) return false;
    *longitude = 139.0 + positionMs / 1e6;
    *latitude = 35.0;
    return true;
  }
};

class FakeMap : public IMapCalls {
 public:
  std::vector<std::string> scripts;
  std::vector<std::int64_t> marks;
  int pageLoads = 0;
  void CallScript(const std::string& text) override { scripts.push_back(text); }
  void MarkPosition(std::int64_t positionMs) override { marks.push_back(positionMs); }
  void LoadPage() override { ++pageLoads; }
};

}  // namespace lumora::test
