// The player on headless displays: both channels on one clock with the
// sound, the end notice, speed, pause, seek, skip and one-picture steps, and
// damaged files. Timings allow for a loaded machine.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/CMultiPlayer.h"
#include "engine/CNullDisplay.h"
#include "tests/engine/TestMedia.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class EndNotices : public IPlayerOwner {
 public:
  void PostEndOfRecording() override {
    std::lock_guard guard(m_lock);
    m_times.push_back(Clock::now());
  }
  std::vector<Clock::time_point> Times() {
    std::lock_guard guard(m_lock);
    return m_times;
  }
  int Count() { return static_cast<int>(Times().size()); }

 private:
  std::mutex m_lock;
  std::vector<Clock::time_point> m_times;
};

bool WaitFor(const std::function<bool()>& done, int limitMs) {
  const auto until = Clock::now() + milliseconds(limitMs);
  while (!done() && Clock::now() < until) std::this_thread::sleep_for(milliseconds(2));
  return done();
}

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    void* windows[2] = {nullptr, nullptr};
    ASSERT_EQ(player.Create(&owner, windows, 2, &factory), 1);
    log = factory.Log();
  }
  void OpenAndPlay(const std::filesystem::path& file) {
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(player.Open(file), 1);
    ASSERT_EQ(player.GetState(), kStateStopped);
    ASSERT_EQ(player.Play(), 1);
    ASSERT_EQ(player.GetState(), kStatePlaying);
  }
  // The time of the picture shown last, in ms.
  long LastShownMs() {
    const auto frames = log->Frames();
    return frames.empty() ? -1 : std::lround(frames.back().time * 1000);
  }

  EndNotices owner;
  CNullDisplayFactory factory;
  CMultiPlayer player;
  std::shared_ptr<FrameLog> log;
};

TEST_F(PlayerTest, DisplaysAreSetUpAndBadFilesLeaveThePlayerClosed) {
  for (int i = 0; i < 2; ++i) {
    ASSERT_NE(factory.Display(i), nullptr);
    EXPECT_EQ(factory.Display(i)->PixelFormat(), 5);
    EXPECT_EQ(factory.Display(i)->Stretch(), 0);
    EXPECT_EQ(factory.Display(i)->SelectedStill(), 0);
  }
  factory.Display(1)->LoseDevice();
  EXPECT_EQ(player.RecoverDisplays(-1), 1);  // only the lost one is reset
  EXPECT_EQ(factory.Display(0)->ResetCount(), 0);
  EXPECT_EQ(factory.Display(1)->ResetCount(), 1);
  EXPECT_EQ(factory.Display(1)->IsDeviceLost(), 0);
  EXPECT_EQ(player.RecoverDisplays(0), 1);
  EXPECT_EQ(factory.Display(1)->FitCount(), 1);
  player.ZoomIn(-1);
  player.ZoomIn(1);
  player.ZoomIn(2);
  player.ZoomOut(0);
  EXPECT_EQ(log->ZoomCount(1), 3);
  EXPECT_EQ(log->ZoomCount(-1), 1);

  const test::TempFolder folder;
  const auto soundOnly =
      test::MakeMedia("sound_only.wav", "-f lavfi -i sine=frequency=440:sample_rate=8000 -t 1");
  for (const auto& file : {folder / "missing.avi", soundOnly}) {
    EXPECT_EQ(player.Open(file), 0) << file;
    EXPECT_EQ(player.Play(), 1);
    EXPECT_EQ(player.Seek(1000), 1);
    EXPECT_EQ(player.Stop(), 1);
    EXPECT_EQ(player.GetState(), kStateClosed);
    EXPECT_EQ(player.GetDuration(), -1);
    EXPECT_EQ(player.GetVideoStreamCount(), -1);
    EXPECT_EQ(player.GetPosition(), 0);
  }
}

TEST_F(PlayerTest, OneStreamWithoutSoundPlaysToTheEndAndKeepsReportingIt) {
  OpenAndPlay(test::VideoOnly());
  EXPECT_EQ(player.GetVideoStreamCount(), 1);
  EXPECT_EQ(player.GetDecoderCount(), 1);
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 10000));
  const auto frames = log->Frames();
  ASSERT_EQ(frames.size(), 50u);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].channel, 0);
    EXPECT_EQ(frames[i].width, 160);
    EXPECT_NEAR(frames[i].time, 0.04 * static_cast<double>(i), 1e-6);
  }
  // Real time: 1.96 s from the first picture to the last; then the notice.
  EXPECT_NEAR(Ms(frames.front().shownAt, frames.back().shownAt), 1960.0, 200.0);
  EXPECT_GE(owner.Times().front(), frames.back().shownAt);
  EXPECT_EQ(player.GetPosition(), 1960);
  // The notice repeats while the owner has not stopped the player.
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 3; }, 3000));
  EXPECT_EQ(player.GetState(), kStatePlaying);
  EXPECT_EQ(player.Stop(), 1);
  EXPECT_EQ(player.GetState(), kStateStopped);
  EXPECT_EQ(player.GetPosition(), 0);
  const int afterStop = owner.Count();
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(owner.Count(), afterStop);
  EXPECT_EQ(log->FrameCount(), 50);
  EXPECT_EQ(player.Close(), 1);
  EXPECT_EQ(player.GetState(), kStateClosed);
}

// A recording as the camera writes it: front, rear, sound and user data.
TEST_F(PlayerTest, CameraRecordingPlaysBothChannelsOnOneClockWithSoundAndUserData) {
  RecordingOptions options;
  options.seconds = 2;
  RecordingTruth truth;
  std::string error;
  const test::TempFolder folder;
  ASSERT_TRUE(WriteRecording(folder / "camera.avi", options, &error, &truth)) << error;
  OpenAndPlay(folder / "camera.avi");
  EXPECT_EQ(player.GetVideoStreamCount(), 2);
  EXPECT_EQ(player.GetDecoderCount(), 2);
  EXPECT_NEAR(static_cast<double>(player.GetDuration()), 2000.0, 40.0);
  ASSERT_EQ(player.GetUserDataCount(), static_cast<int>(truth.records.size()));
  ASSERT_FALSE(truth.records.empty());
  std::vector<std::uint8_t> buffer(4096);
  std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
  std::uint32_t cts = 1;
  ASSERT_EQ(player.GetNextUserData(buffer.data(), &length, &cts), 0);
  EXPECT_EQ(cts, truth.records[0].cts_ms);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + length),
            truth.records[0].payload);

  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 10000));
  player.Stop();
  const auto front = log->FramesOf(0);
  const auto rear = log->FramesOf(1);
  ASSERT_EQ(static_cast<int>(front.size()), truth.video_frames);
  ASSERT_EQ(rear.size(), front.size());
  for (std::size_t i = 0; i < front.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(front[i].width, options.front_width);
    EXPECT_EQ(rear[i].width, options.rear_width);
    EXPECT_EQ(front[i].pixelFormat, 5);
    ASSERT_DOUBLE_EQ(front[i].time, rear[i].time);
    // Pictures of one moment within a picture of each other, at the pace of
    // their time stamps.
    EXPECT_LE(std::abs(Ms(front[i].shownAt, rear[i].shownAt)), 1000.0 / options.fps);
    EXPECT_NEAR(Ms(front[0].shownAt, front[i].shownAt), front[i].time * 1000.0, 150.0);
  }
  // The device played some of the two seconds of 8 kHz sound, never more (how
  // much by the notice depends on how late a loaded machine wakes it).
  EXPECT_GT(player.GetSoundBlocksWritten(), 0);
  if (player.IsSoundAvailable()) {
    EXPECT_GT(player.Sound()->GetBytesPlayed(), 8000);
    EXPECT_LE(player.Sound()->GetBytesPlayed(), 32000);
  }
}

TEST_F(PlayerTest, ChannelThatEndsEarlyDoesNotHoldTheOtherBack) {
  OpenAndPlay(test::MakeMedia("rear_shorter.avi",
                              "-f lavfi -i testsrc=size=160x120:rate=25:duration=2 "
                              "-f lavfi -i testsrc2=size=96x64:rate=25:duration=1 -map 0 -map 1 "
                              "-c:v libx264 -preset ultrafast -g 25"));
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 10000));
  player.Stop();
  const auto front = log->FramesOf(0);
  ASSERT_EQ(front.size(), 50u);
  EXPECT_EQ(log->FramesOf(1).size(), 25u);
  EXPECT_NEAR(Ms(front.front().shownAt, front.back().shownAt), 1960.0, 200.0);
}

TEST_F(PlayerTest, DoubleSpeedDoublesThePaceWithoutSoundUntilNormalSpeed) {
  ASSERT_EQ(player.SetSpeed(2.0f), 1);
  OpenAndPlay(test::FrontRear());
  ASSERT_TRUE(WaitFor([&] { return log->FramesOf(0).size() >= 38; }, 5000));
  const auto front = log->FramesOf(0);
  EXPECT_NEAR(Ms(front[0].shownAt, front[37].shownAt), 740.0, 150.0);  // 1.48 s at 2x
  EXPECT_EQ(player.GetSoundBlocksWritten(), 0);
  player.SetSpeed(1.0f);
  EXPECT_TRUE(WaitFor([&] { return player.GetSoundBlocksWritten() > 0; }, 3000));
  player.Stop();
}

TEST_F(PlayerTest, PauseRepeatsThePictureSilencesAndResumesWithoutAJump) {
  OpenAndPlay(test::FrontRear());
  ASSERT_TRUE(WaitFor([&] { return player.GetPosition() >= 800; }, 5000));
  EXPECT_EQ(player.Pause(), 1);
  EXPECT_EQ(player.GetState(), kStatePaused);
  std::this_thread::sleep_for(milliseconds(100));
  const int before = log->FrameCount();
  const std::int64_t pausedAt = player.GetPosition();
  std::this_thread::sleep_for(milliseconds(500));
  // About every 60 ms both channels get the same picture again.
  const auto frames = log->Frames();
  EXPECT_GE(static_cast<int>(frames.size()) - before, 2 * 5);
  EXPECT_LE(static_cast<int>(frames.size()) - before, 2 * 10);
  for (std::size_t i = static_cast<std::size_t>(before); i < frames.size(); ++i)
    EXPECT_NEAR(frames[i].time * 1000.0, static_cast<double>(pausedAt), 40.0);
  EXPECT_EQ(player.GetPosition(), pausedAt);
  if (player.IsSoundAvailable()) {
    EXPECT_EQ(player.Sound()->IsPlaying(), 0);
  }

  EXPECT_EQ(player.Play(), 1);
  const int resumedAt = log->FrameCount();
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > resumedAt + 6; }, 3000));
  player.Stop();
  const auto after = log->Frames();
  const auto next = std::find_if(after.begin() + resumedAt, after.end(), [&](const auto& f) {
    return f.time * 1000.0 > static_cast<double>(pausedAt) + 1.0;
  });
  ASSERT_NE(next, after.end());
  EXPECT_NEAR(next->time * 1000.0, static_cast<double>(pausedAt) + 40.0, 1.0);
}

TEST_F(PlayerTest, SeekSkipAndStepLandOnThePicturesAsked) {
  OpenAndPlay(test::FrontRear(4.0));
  ASSERT_TRUE(WaitFor([&] { return player.GetPosition() >= 400; }, 5000));
  EXPECT_EQ(player.StepPicture(1), 0);  // only while paused
  EXPECT_EQ(player.Seek(3000), 1);
  ASSERT_TRUE(
      WaitFor([&] { return player.IsClockRunning() && player.GetPosition() >= 3000; }, 5000));
  EXPECT_LT(player.GetPosition(), 3100);
  // Back past the start: the first picture of the recording comes next.
  EXPECT_EQ(player.SkipBackward(5.0), 1);
  EXPECT_DOUBLE_EQ(player.GetStartTime(), 0.0);
  const int mark = log->FrameCount();
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > mark + 4; }, 5000));
  const auto frames = log->Frames();
  const auto first =
      std::find_if(frames.begin() + mark, frames.end(), [](const auto& f) { return f.time < 2.5; });
  ASSERT_NE(first, frames.end());
  EXPECT_DOUBLE_EQ(first->time, 0.0);

  // Paused: a seek shows the new place, a step the next or previous picture.
  ASSERT_TRUE(WaitFor([&] { return player.GetPosition() >= 200; }, 5000));
  player.Pause();
  EXPECT_EQ(player.Seek(2000), 1);
  ASSERT_TRUE(
      WaitFor([&] { return player.IsClockRunning() && player.GetPosition() == 2000; }, 5000));
  EXPECT_TRUE(WaitFor([&] { return LastShownMs() == 2000; }, 1000));
  for (const auto& [direction, shown] : {std::pair{1, 2040}, {1, 2080}, {-1, 2040}}) {
    EXPECT_EQ(player.StepPicture(direction), 1);
    EXPECT_TRUE(WaitFor([&] { return LastShownMs() == shown; }, 3000)) << LastShownMs();
    EXPECT_EQ(player.GetState(), kStatePaused);
  }
  // On past the end: the player ends there and says so.
  player.Play();
  EXPECT_EQ(player.SkipForward(5.0), 1);
  EXPECT_DOUBLE_EQ(player.GetStartTime(), static_cast<double>(player.GetDuration()) / 1000.0);
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 5000));
  EXPECT_EQ(player.GetState(), kStatePlaying);
  player.Stop();
}

TEST_F(PlayerTest, DamagedAndShrinkingFilesStillEnd) {
  const auto source = test::FrontRear();
  ASSERT_FALSE(source.empty());
  const test::TempFolder folder;
  // Random bytes over the middle of the file.
  const auto damaged = folder / "damaged.avi";
  std::filesystem::copy_file(source, damaged);
  {
    std::fstream f(damaged, std::ios::in | std::ios::out | std::ios::binary);
    const auto size = std::filesystem::file_size(damaged);
    f.seekp(static_cast<std::streamoff>(size / 3));
    std::uint32_t x = 12345;
    for (std::uint64_t i = 0; i < size / 6; ++i) {
      x = x * 1103515245u + 12345u;
      f.put(static_cast<char>(x >> 24));
    }
  }
  OpenAndPlay(damaged);
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 10000));
  EXPECT_GT(log->FrameCount(), 0);
  player.Close();
  // A file cut short and removed while it plays.
  const auto shrinking = folder / "shrinking.avi";
  std::filesystem::copy_file(source, shrinking);
  const int before = owner.Count();
  OpenAndPlay(shrinking);
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > 20; }, 5000));
  std::filesystem::resize_file(shrinking, std::filesystem::file_size(shrinking) / 2);
  std::filesystem::remove(shrinking);
  ASSERT_TRUE(WaitFor([&] { return owner.Count() > before; }, 10000));
  player.Close();
}

TEST_F(PlayerTest, OpenPlaySeekStopCloseManyTimes) {
  const auto file = test::FrontRear();
  ASSERT_FALSE(file.empty());
#if defined(__SANITIZE_THREAD__)
  constexpr int kRounds = 40;  // the thread sanitizer makes every open slow
#else
  constexpr int kRounds = 200;
#endif
  for (int i = 0; i < kRounds; ++i) {
    ASSERT_EQ(player.Open(file), 1) << i;  // from the stopped state every 4th round
    ASSERT_EQ(player.Play(), 1) << i;
    std::this_thread::sleep_for(milliseconds(i % 7));
    player.Seek((i * 337) % 3000);
    if (i % 3 == 0) player.Pause();
    std::this_thread::sleep_for(milliseconds(i % 5));
    ASSERT_EQ(player.Stop(), 1) << i;
    if (i % 4 == 0) continue;
    ASSERT_EQ(player.Close(), 1) << i;
    ASSERT_EQ(player.GetState(), kStateClosed);
  }
  player.Close();
}

}  // namespace
}  // namespace lumora
