#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/CMultiPlayer.h"
#include "engine/CNullDisplay.h"
#include "tests/engine/TestMedia.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class RecordingOwner : public IPlayerOwner {
 public:
  void PostEndOfRecording() override {
    std::lock_guard guard(m_lock);
    m_times.push_back(Clock::now());
  }
  std::vector<Clock::time_point> Times() {
    std::lock_guard guard(m_lock);
    return m_times;
  }
  int Count() {
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_times.size());
  }

 private:
  std::mutex m_lock;
  std::vector<Clock::time_point> m_times;
};

bool WaitFor(const std::function<bool()>& done, int limitMs) {
  const auto until = Clock::now() + milliseconds(limitMs);
  while (Clock::now() < until) {
    if (done()) return true;
    std::this_thread::sleep_for(milliseconds(2));
  }
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

  RecordingOwner owner;
  CNullDisplayFactory factory;
  CMultiPlayer player;
  std::shared_ptr<FrameLog> log;
};

TEST_F(PlayerTest, DisplaysAreSetUpForEveryVideoWindow) {
  for (int i = 0; i < 2; ++i) {
    CNullDisplay* d = factory.Display(i);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->PixelFormat(), 5);
    EXPECT_EQ(d->Stretch(), 0);
    EXPECT_EQ(d->SelectedStill(), 0);
  }
  EXPECT_EQ(player.GetState(), kStateClosed);
  EXPECT_EQ(player.GetDuration(), -1);
  EXPECT_EQ(player.GetVideoStreamCount(), -1);

  factory.Display(1)->LoseDevice();
  EXPECT_EQ(player.RecoverDisplays(-1), 1);
  EXPECT_EQ(factory.Display(0)->ResetCount(), 0);
  EXPECT_EQ(factory.Display(1)->ResetCount(), 1);
  EXPECT_EQ(factory.Display(1)->IsDeviceLost(), 0);
  EXPECT_EQ(log->RedrawCount(1), 1);
  EXPECT_EQ(player.RecoverDisplays(0), 1);
  EXPECT_EQ(factory.Display(0)->FitCount(), 1);
  EXPECT_EQ(factory.Display(1)->FitCount(), 1);

  player.ZoomIn(-1);
  player.ZoomIn(1);
  player.ZoomIn(2);
  player.ZoomOut(0);
  EXPECT_EQ(log->ZoomCount(1), 3);
  EXPECT_EQ(log->ZoomCount(-1), 1);

  EXPECT_EQ(player.Redraw(nullptr), 1);
  EXPECT_EQ(log->RedrawCount(1), 3);
  EXPECT_EQ(player.Reserved14(1, 2), 0);
  EXPECT_EQ(player.Reserved18(50), 1);
}

TEST_F(PlayerTest, BadFilesLeaveThePlayerClosed) {
  EXPECT_EQ(player.Open(test::MediaDir() / "missing.avi"), 0);
  EXPECT_EQ(player.GetState(), kStateClosed);
  EXPECT_EQ(player.Play(), 1);
  EXPECT_EQ(player.GetState(), kStateClosed);
  EXPECT_EQ(player.Seek(1000), 1);
  EXPECT_EQ(player.Stop(), 1);
  EXPECT_EQ(player.GetState(), kStateClosed);
  EXPECT_EQ(player.GetPosition(), 0);

  // Sound only: no video stream to show.
  const auto soundOnly =
      test::MakeMedia("sound_only.wav", "-f lavfi -i sine=frequency=440:sample_rate=8000 -t 1");
  ASSERT_FALSE(soundOnly.empty());
  EXPECT_EQ(player.Open(soundOnly), 0);
  EXPECT_EQ(player.GetState(), kStateClosed);
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
    EXPECT_EQ(frames[i].pixelFormat, 5);
    EXPECT_NEAR(frames[i].time, 0.04 * static_cast<double>(i), 1e-6);
  }
  // Real time: 1.96 s from the first picture to the last.
  EXPECT_NEAR(Ms(frames.front().shownAt, frames.back().shownAt), 1960.0, 200.0);
  EXPECT_GE(owner.Times().front(), frames.back().shownAt);
  EXPECT_EQ(player.GetPosition(), 1960);

  // The end message repeats while the owner has not stopped the player.
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 3; }, 3000));
  EXPECT_EQ(player.GetState(), kStatePlaying);
  EXPECT_EQ(player.Stop(), 1);
  EXPECT_EQ(player.GetState(), kStateStopped);
  EXPECT_EQ(player.GetPosition(), 0);
  const int afterStop = owner.Count();
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(owner.Count(), afterStop);
  EXPECT_EQ(log->FrameCount(), 50);
  EXPECT_GE(log->RedrawCount(1), 1);
  EXPECT_EQ(player.Close(), 1);
  EXPECT_EQ(player.GetState(), kStateClosed);
}

TEST_F(PlayerTest, FrontAndRearRunOnOneClockWithSound) {
  OpenAndPlay(test::FrontRear());
  EXPECT_EQ(player.GetDecoderCount(), 2);
  EXPECT_NEAR(static_cast<double>(player.GetDuration()), 3000.0, 50.0);
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 10000));
  player.Stop();
  const auto front = log->FramesOf(0);
  const auto rear = log->FramesOf(1);
  ASSERT_EQ(front.size(), 75u);
  ASSERT_EQ(rear.size(), 75u);
  for (std::size_t i = 0; i < front.size(); ++i) {
    EXPECT_EQ(front[i].width, 320);
    EXPECT_EQ(rear[i].width, 160);
    ASSERT_DOUBLE_EQ(front[i].time, rear[i].time);
    // Pictures of the same moment are shown within one frame of each other.
    EXPECT_LE(std::abs(Ms(front[i].shownAt, rear[i].shownAt)), 40.0) << i;
    // And at the pace of their time stamps.
    const double wall = Ms(front[0].shownAt, front[i].shownAt);
    EXPECT_NEAR(wall, front[i].time * 1000.0, 150.0) << i;
  }
  // Sound went to the sound output: the device played some of the three
  // seconds of 8 kHz sound and never more (how much by the end message
  // depends on how late a loaded machine wakes the dummy device's timer).
  EXPECT_GT(player.GetSoundBlocksWritten(), 0);
  if (player.IsSoundAvailable()) {
    EXPECT_GT(player.Sound()->GetBytesPlayed(), 8000);
    EXPECT_LE(player.Sound()->GetBytesPlayed(), 48000);
  }
}

TEST_F(PlayerTest, ChannelThatEndsEarlyDoesNotHoldTheOtherBack) {
  const auto file =
      test::MakeMedia("rear_shorter.avi",
                      "-f lavfi -i testsrc=size=160x120:rate=25:duration=2 "
                      "-f lavfi -i testsrc2=size=96x64:rate=25:duration=1 -map 0 -map 1 "
                      "-c:v libx264 -preset ultrafast -g 25");
  OpenAndPlay(file);
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 10000));
  player.Stop();
  const auto front = log->FramesOf(0);
  const auto rear = log->FramesOf(1);
  ASSERT_EQ(front.size(), 50u);
  ASSERT_EQ(rear.size(), 25u);
  EXPECT_NEAR(Ms(front.front().shownAt, front.back().shownAt), 1960.0, 200.0);
}

TEST_F(PlayerTest, DoubleSpeedDropsSoundAndDoublesThePictureRate) {
  ASSERT_EQ(player.SetSpeed(2.0f), 1);
  OpenAndPlay(test::FrontRear());
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 10000));
  player.Stop();
  const auto front = log->FramesOf(0);
  ASSERT_EQ(front.size(), 75u);
  EXPECT_NEAR(Ms(front.front().shownAt, front.back().shownAt), 1480.0, 200.0);
  EXPECT_EQ(player.GetSoundBlocksWritten(), 0);
}

TEST_F(PlayerTest, ReturningToNormalSpeedRestartsTheSound) {
  ASSERT_EQ(player.SetSpeed(2.0f), 1);
  OpenAndPlay(test::FrontRear());
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > 10; }, 5000));
  std::this_thread::sleep_for(milliseconds(200));
  EXPECT_EQ(player.GetSoundBlocksWritten(), 0);
  player.SetSpeed(1.0f);
  ASSERT_TRUE(WaitFor([&] { return player.GetSoundBlocksWritten() > 0; }, 3000));
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
  const auto frames = log->Frames();
  // About every 60 ms both channels get the same picture again.
  const int repeats = static_cast<int>(frames.size()) - before;
  EXPECT_GE(repeats, 2 * 5);
  EXPECT_LE(repeats, 2 * 10);
  for (std::size_t i = static_cast<std::size_t>(before); i < frames.size(); ++i)
    EXPECT_NEAR(frames[i].time * 1000.0, static_cast<double>(pausedAt), 40.0);
  EXPECT_EQ(player.GetPosition(), pausedAt);
  if (player.IsSoundAvailable()) {
    EXPECT_EQ(player.Sound()->IsPlaying(), 0);
  }

  EXPECT_EQ(player.Play(), 1);
  EXPECT_EQ(player.GetState(), kStatePlaying);
  const int resumedAt = log->FrameCount();
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > resumedAt + 6; }, 3000));
  player.Stop();
  const auto after = log->Frames();
  double firstNew = -1.0;
  for (std::size_t i = static_cast<std::size_t>(resumedAt); i < after.size(); ++i) {
    if (after[i].time * 1000.0 > static_cast<double>(pausedAt) + 1.0) {
      firstNew = after[i].time;
      break;
    }
  }
  EXPECT_NEAR(firstNew * 1000.0, static_cast<double>(pausedAt) + 40.0, 1.0);
}

TEST_F(PlayerTest, SkipForwardStopsAtTheEndAndSkipBackwardAtTheStart) {
  OpenAndPlay(test::FrontRear(4.0));
  ASSERT_TRUE(WaitFor([&] { return player.GetPosition() >= 400; }, 5000));
  EXPECT_EQ(player.Seek(3000), 1);
  ASSERT_TRUE(
      WaitFor([&] { return player.IsClockRunning() && player.GetPosition() >= 3000; }, 5000));
  EXPECT_LT(player.GetPosition(), 3100);
  EXPECT_EQ(player.SkipBackward(5.0), 1);
  EXPECT_DOUBLE_EQ(player.GetStartTime(), 0.0);
  const int mark = log->FrameCount();
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > mark + 4; }, 5000));
  // The first picture after the skip is the start of the recording.
  const auto frames = log->Frames();
  double firstAfter = -1.0;
  for (std::size_t i = static_cast<std::size_t>(mark); i < frames.size(); ++i) {
    if (frames[i].time < 2.5) {
      firstAfter = frames[i].time;
      break;
    }
  }
  EXPECT_DOUBLE_EQ(firstAfter, 0.0);

  ASSERT_TRUE(WaitFor([&] { return player.GetPosition() >= 200; }, 5000));
  EXPECT_EQ(player.SkipForward(5.0), 1);
  EXPECT_DOUBLE_EQ(player.GetStartTime(), static_cast<double>(player.GetDuration()) / 1000.0);
  ASSERT_TRUE(WaitFor([&] { return owner.Count() >= 1; }, 5000));
  EXPECT_EQ(player.GetState(), kStatePlaying);
  player.Stop();
}

TEST_F(PlayerTest, SeekWhilePausedShowsTheNewPlace) {
  OpenAndPlay(test::FrontRear());
  ASSERT_TRUE(WaitFor([&] { return player.GetPosition() >= 200; }, 5000));
  player.Pause();
  EXPECT_EQ(player.Seek(2000), 1);
  ASSERT_TRUE(
      WaitFor([&] { return player.IsClockRunning() && player.GetPosition() == 2000; }, 5000));
  std::this_thread::sleep_for(milliseconds(150));
  const auto frames = log->Frames();
  ASSERT_FALSE(frames.empty());
  EXPECT_DOUBLE_EQ(frames.back().time, 2.0);
  EXPECT_EQ(player.GetState(), kStatePaused);
  player.Stop();
}

TEST_F(PlayerTest, DamagedAndShrinkingFilesStillEnd) {
  const auto source = test::FrontRear();
  ASSERT_FALSE(source.empty());
  // Random bytes written over the middle of the file.
  const auto damaged = test::ScratchFile("damaged.avi");
  std::filesystem::copy_file(source, damaged, std::filesystem::copy_options::overwrite_existing);
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
  player.Stop();
  player.Close();
  std::filesystem::remove(damaged);

  // A file cut short while it plays.
  const auto shrinking = test::ScratchFile("shrinking.avi");
  std::filesystem::copy_file(source, shrinking, std::filesystem::copy_options::overwrite_existing);
  const int before = owner.Count();
  OpenAndPlay(shrinking);
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > 20; }, 5000));
  std::filesystem::resize_file(shrinking, std::filesystem::file_size(shrinking) / 2);
  std::filesystem::remove(shrinking);
  ASSERT_TRUE(WaitFor([&] { return owner.Count() > before; }, 10000));
  player.Stop();
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
    ASSERT_EQ(player.Open(file), 1) << i;
    ASSERT_EQ(player.Play(), 1) << i;
    std::this_thread::sleep_for(milliseconds(i % 7));
    player.Seek((i * 337) % 3000);
    if (i % 3 == 0) player.Pause();
    std::this_thread::sleep_for(milliseconds(i % 5));
    ASSERT_EQ(player.Stop(), 1) << i;
    if (i % 4 == 0) {
      // Open straight from the stopped state closes first.
      continue;
    }
    ASSERT_EQ(player.Close(), 1) << i;
    ASSERT_EQ(player.GetState(), kStateClosed);
  }
  player.Close();
}

}  // namespace
}  // namespace lumora
