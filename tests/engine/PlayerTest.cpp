// The player on headless displays: end notice, speed, pause, seek, skip and
// steps, and a corpus of recordings with both channels and the sound on one
// clock; timings allow for a loaded machine (damaged files: tests/faults).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "engine/CMultiPlayer.h"
#include "engine/CNullDisplay.h"
#include "tests/engine/TestMedia.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Counts the end notices (on the player thread) and keeps the first's time.
class EndNotices : public IPlayerOwner {
 public:
  void PostEndOfRecording() override {
    if (count == 0) first = Clock::now().time_since_epoch().count();
    ++count;
  }
  std::atomic<int> count{0};
  std::atomic<Clock::rep> first{0};
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
    ASSERT_EQ(player.Open(file), 1);
    ASSERT_EQ(player.Play(), 1);
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

TEST_F(PlayerTest, DisplaysAreRecoveredAndBadFilesLeaveThePlayerClosed) {
  ASSERT_NE(factory.Display(1), nullptr);
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

  // Missing, not a recording, or sound only: no video stream to show.
  const test::TempFolder folder;
  const auto soundOnly =
      test::MakeMedia("sound_only.wav", "-f lavfi -i sine=frequency=440:sample_rate=8000 -t 1");
  for (const auto& file : {std::filesystem::path(), folder / "missing.avi",
                           folder.Write("text.avi", "not a recording"), soundOnly}) {
    EXPECT_EQ(player.Open(file), 0) << file;
    EXPECT_EQ(player.Play(), 1);
    EXPECT_EQ(player.Seek(1000), 1);
    EXPECT_EQ(player.Stop(), 1);
    EXPECT_EQ(player.GetState(), kStateClosed);
    EXPECT_EQ(player.GetDuration(), -1);
    EXPECT_EQ(player.GetPosition(), 0);
  }
}

TEST_F(PlayerTest, PlaysToTheEndWhenOneChannelEndsEarlyAndKeepsSayingSo) {
  OpenAndPlay(test::MakeMedia("rear_shorter.avi",
                              "-f lavfi -i testsrc=size=160x120:rate=25:duration=2 "
                              "-f lavfi -i testsrc2=size=96x64:rate=25:duration=1 -map 0 -map 1 "
                              "-c:v libx264 -preset ultrafast -g 25"));
  ASSERT_TRUE(WaitFor([&] { return owner.count >= 1; }, 10000));
  const auto frames = log->FramesOf(0);
  ASSERT_EQ(frames.size(), 50u);
  EXPECT_EQ(log->FramesOf(1).size(), 25u);
  // Real time: 1.96 s from the first picture to the last; then the notice.
  EXPECT_NEAR(Ms(frames.front().shownAt, frames.back().shownAt), 1960.0, 200.0);
  EXPECT_GE(owner.first.load(), frames.back().shownAt.time_since_epoch().count());
  EXPECT_EQ(player.GetPosition(), 1960);
  // The notice repeats while the owner has not stopped the player.
  ASSERT_TRUE(WaitFor([&] { return owner.count >= 3; }, 3000));
  EXPECT_EQ(player.GetState(), kStatePlaying);
  EXPECT_EQ(player.Stop(), 1);
  EXPECT_EQ(player.GetState(), kStateStopped);
  EXPECT_EQ(player.GetPosition(), 0);
  const int afterStop = owner.count;
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(owner.count, afterStop);
  EXPECT_EQ(log->FrameCount(), 75);
  EXPECT_EQ(player.Close(), 1);
  EXPECT_EQ(player.GetState(), kStateClosed);
}

// A recording as the camera writes it: front, rear, sound and user data.
TEST_F(PlayerTest, CameraRecordingPlaysBothChannelsWithSoundAndUserData) {
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

  ASSERT_TRUE(WaitFor([&] { return owner.count >= 1; }, 10000));
  player.Stop();
  EXPECT_EQ(static_cast<int>(log->FramesOf(0).size()), truth.video_frames);
  EXPECT_EQ(static_cast<int>(log->FramesOf(1).size()), truth.video_frames);
  // The device played some of the two seconds of 8 kHz sound, never more (how
  // much by the notice depends on how late a loaded machine wakes it).
  EXPECT_GT(player.GetSoundBlocksWritten(), 0);
  if (player.IsSoundAvailable()) {
    EXPECT_GT(player.Sound()->GetBytesPlayed(), 8000);
    EXPECT_LE(player.Sound()->GetBytesPlayed(), 32000);
  }
}

TEST_F(PlayerTest, DoubleSpeedDoublesThePaceWithoutSoundUntilNormalSpeed) {
  ASSERT_EQ(player.SetSpeed(2.0f), 1);
  OpenAndPlay(test::FrontRear());
  ASSERT_TRUE(WaitFor([&] { return log->FramesOf(0).size() >= 38; }, 5000));
  const auto front = log->FramesOf(0);
  EXPECT_NEAR(Ms(front[0].shownAt, front[37].shownAt), 740.0, 200.0);  // 1.48 s at 2x
  EXPECT_EQ(player.GetSoundBlocksWritten(), 0);
  player.SetSpeed(1.0f);
  EXPECT_TRUE(WaitFor([&] { return player.GetSoundBlocksWritten() > 0; }, 3000));
  player.Stop();
}

TEST_F(PlayerTest, PauseStepSeekAndSkipLandOnThePicturesAsked) {
  OpenAndPlay(test::FrontRear());
  ASSERT_TRUE(WaitFor([&] { return player.GetPosition() >= 800; }, 5000));
  EXPECT_EQ(player.StepPicture(1), 0);  // only while paused
  EXPECT_EQ(player.Pause(), 1);
  EXPECT_EQ(player.GetState(), kStatePaused);
  std::this_thread::sleep_for(milliseconds(100));
  const int before = log->FrameCount();
  const long pausedAt = LastShownMs();
  std::this_thread::sleep_for(milliseconds(500));
  // About every 60 ms both channels get the same picture again, silently.
  EXPECT_GE(log->FrameCount() - before, 2 * 5);
  EXPECT_LE(log->FrameCount() - before, 2 * 10);
  EXPECT_EQ(LastShownMs(), pausedAt);
  EXPECT_NEAR(static_cast<double>(player.GetPosition()), pausedAt, 40.0);
  if (player.IsSoundAvailable()) {
    EXPECT_EQ(player.Sound()->IsPlaying(), 0);
  }
  // A step shows the next or the previous picture, a seek the new place.
  for (const auto& [direction, shown] : {std::pair{1, 40}, {1, 80}, {-1, 40}}) {
    EXPECT_EQ(player.StepPicture(direction), 1);
    const auto wanted = pausedAt + shown;  // a lambda cannot name a structured binding in clang 14
    EXPECT_TRUE(WaitFor([&] { return LastShownMs() == wanted; }, 3000)) << LastShownMs();
  }
  EXPECT_EQ(player.Seek(2000), 1);
  EXPECT_TRUE(WaitFor([&] { return LastShownMs() == 2000; }, 3000));
  EXPECT_EQ(player.GetState(), kStatePaused);
  // Playing on continues with the next picture.
  EXPECT_EQ(player.Play(), 1);
  const int resumedAt = log->FrameCount();
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > resumedAt + 6; }, 3000));
  const auto after = log->Frames();
  const auto next = std::find_if(after.begin() + resumedAt, after.end(),
                                 [&](const auto& f) { return f.time > 2.001; });
  ASSERT_NE(next, after.end());
  EXPECT_NEAR(next->time, 2.04, 1e-6);

  EXPECT_EQ(player.Seek(2500), 1);
  ASSERT_TRUE(
      WaitFor([&] { return player.IsClockRunning() && player.GetPosition() >= 2500; }, 5000));
  EXPECT_LT(player.GetPosition(), 2600);
  // Back past the start: the first picture of the recording comes next.
  EXPECT_EQ(player.SkipBackward(5.0), 1);
  EXPECT_DOUBLE_EQ(player.GetStartTime(), 0.0);
  const int mark = log->FrameCount();
  ASSERT_TRUE(WaitFor([&] { return log->FrameCount() > mark + 4; }, 5000));
  const auto frames = log->Frames();
  const auto first =
      std::find_if(frames.begin() + mark, frames.end(), [](const auto& f) { return f.time < 2.4; });
  ASSERT_NE(first, frames.end());
  EXPECT_DOUBLE_EQ(first->time, 0.0);
  // On past the end: the player ends there and says so.
  EXPECT_EQ(player.SkipForward(5.0), 1);
  EXPECT_DOUBLE_EQ(player.GetStartTime(), static_cast<double>(player.GetDuration()) / 1000.0);
  ASSERT_TRUE(WaitFor([&] { return owner.count >= 1; }, 5000));
  EXPECT_EQ(player.GetState(), kStatePlaying);
  player.Stop();
}

TEST_F(PlayerTest, OpenPlaySeekStopCloseManyTimes) {
  const auto file = test::FrontRear();
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

// Recordings as cameras and other tools write them, made with ffmpeg: every
// picture ffprobe counts is shown once, in order, the first at 0 ms, to the
// end; and a flash in the picture and a click in the sound made at the same
// instant reach the null display and SDL's disk sound driver within 40 ms.
constexpr double kFlashSeconds = 0.6;

const std::string kX264 = "-c:v libx264 -preset ultrafast ";
const std::string kX265 = "-c:v libx265 -preset ultrafast -x265-params log-level=none ";

const struct Clip {
  const char* name;
  std::string video;  // encoder options
  int width, height, fps;
  const char* audio;  // encoder, empty for none
  int rate, channels;
  bool rear;  // a second, smaller video stream
} kClips[] = {
    {"h264_pcm_mono.avi", kX264 + "-bf 0", 1280, 720, 30, "pcm_s16le", 8000, 1, true},
    {"h264b_adpcm.avi", kX264 + "-bf 3", 1920, 1080, 25, "adpcm_ima_wav", 16000, 1, false},
    {"mjpeg_pcm_stereo.avi", "-c:v mjpeg -q:v 5", 1440, 1080, 30, "pcm_s16le", 32000, 2, false},
    {"h264_silent.avi", kX264 + "-bf 0", 2560, 1440, 25, "", 0, 0, false},
    {"h264b_aac.mp4", kX264 + "-bf 3", 1920, 1080, 30, "aac", 48000, 2, false},
    {"h265_aac.mp4", kX265, 1280, 720, 60, "aac", 44100, 1, false},
    {"h264_mp3.mp4", kX264, 2560, 1440, 25, "libmp3lame", 44100, 2, false},
    {"h265_silent.mp4", kX265, 1440, 1080, 30, "", 0, 0, false},
};

// 1.2 s of a moving picture whose top rows are black, all white in the one
// frame at the flash; silence with a 4 ms click at the same instant.
std::filesystem::path MakeClip(const Clip& c) {
  const std::string fps = std::to_string(c.fps);
  std::string args = "-f lavfi -i \"testsrc2=size=" + std::to_string(c.width) + "x" +
                     std::to_string(c.height) + ":rate=" + fps +
                     ":duration=1.2,drawbox=w=iw:h=8:c=black:t=fill,drawbox=c=white:t=fill:"
                     "enable='eq(n," +
                     std::to_string(static_cast<int>(c.fps * kFlashSeconds)) + ")'\" ";
  std::string maps = "-map 0:v ";
  if (c.rear) {
    args += "-f lavfi -i testsrc=size=640x360:rate=" + fps + ":duration=1.2 ";
    maps += "-map 1:v ";
  }
  if (*c.audio != '\0') {
    args += "-f lavfi -i \"aevalsrc='if(between(t,0.6,0.604),0.5,0)':s=" + std::to_string(c.rate) +
            ":d=1.2\" ";
    maps += "-map " + std::string(c.rear ? "2" : "1") + ":a -c:a " + c.audio + " -ac " +
            std::to_string(c.channels) + " ";
  }
  return test::MakeMedia(c.name, args + maps + c.video);
}

int FfprobePictures(const std::filesystem::path& file, int stream) {
  return std::atoi(
      test::RunCommand(
          "ffprobe -v error -count_frames -select_streams v:" + std::to_string(stream) +
          " -show_entries stream=nb_read_frames -of csv=p=0 " + test::Quote(file.string()))
          .out.c_str());
}

// SDL's disk sound driver writes what the device plays into a file from the
// moment the device opens; a byte's offset then tells when it was played
// (the driver's own pace falls behind on a loaded machine).
class DiskSound {
 public:
  explicit DiskSound(std::filesystem::path file) : m_file(std::move(file)) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", m_file.c_str(), 1);
  }
  // Watches for the file of the device that opens for the first sound block.
  void Start() {
    std::filesystem::remove(m_file);
    m_thread = std::thread([this] {
      struct stat st {};
      while (m_bRun && ::stat(m_file.c_str(), &st) != 0)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      // The change time of the still empty file (the C library holds the
      // first 4 KiB back) is when it was made, whenever this thread wakes.
      const auto made = std::chrono::system_clock::time_point(
          std::chrono::duration_cast<std::chrono::system_clock::duration>(
              std::chrono::seconds(st.st_ctim.tv_sec) +
              std::chrono::nanoseconds(st.st_ctim.tv_nsec)));
      const auto sinceMade = std::chrono::system_clock::now() - made;
      m_opened = Clock::now();
      if (st.st_size == 0 && sinceMade.count() > 0)
        m_opened -= std::chrono::duration_cast<Clock::duration>(sinceMade);
    });
  }
  ~DiskSound() {
    Stop();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void Stop() {
    m_bRun = false;
    if (m_thread.joinable()) m_thread.join();
  }
  // When the first 16-bit sample above half of full scale was played, if any.
  std::optional<Clock::time_point> Click(int bytesPerSecond) const {
    const std::string bytes = test::ReadFile(m_file);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      const int sample = static_cast<std::int16_t>((bytes[i] & 0xFF) | (bytes[i + 1] << 8));
      if (sample > 16000 || sample < -16000)
        return m_opened + std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(1.0 * i / bytesPerSecond));
    }
    return std::nullopt;
  }

 private:
  std::filesystem::path m_file;
  std::atomic<bool> m_bRun{true};
  std::thread m_thread;
  Clock::time_point m_opened;
};

TEST(Corpus, EveryPictureInOrderToTheEndWithSoundInStep) {
  for (const Clip& clip : kClips) {
    SCOPED_TRACE(clip.name);
    const auto file = MakeClip(clip);
    const int pictures = FfprobePictures(file, 0);
    ASSERT_GT(pictures, 0);
    const test::TempFolder folder;
    EndNotices owner;
    CNullDisplayFactory factory;
    std::optional<Clock::time_point> heard;
    {
      DiskSound sound(folder / "disk-sound.raw");
      CMultiPlayer player;
      void* windows[2] = {nullptr, nullptr};
      player.Create(&owner, windows, 2, &factory);
      ASSERT_EQ(player.Open(file), 1);
      sound.Start();
      ASSERT_EQ(player.Play(), 1);
      EXPECT_TRUE(WaitFor([&] { return owner.count > 0; }, 10000));
      sound.Stop();
      player.Close();
      heard = sound.Click(clip.rate * 2);  // the engine plays mono 16-bit sound
    }
    const auto front = factory.Log()->FramesOf(0);
    const auto rear = factory.Log()->FramesOf(1);
    ASSERT_EQ(static_cast<int>(front.size()), pictures);
    ASSERT_EQ(static_cast<int>(rear.size()), clip.rear ? FfprobePictures(file, 1) : 0);
    // Both channels on one clock: pictures of a moment within one of each other.
    for (std::size_t i = 0; i < rear.size(); ++i) {
      EXPECT_DOUBLE_EQ(rear[i].time, front[i].time);
      EXPECT_LE(std::abs(Ms(front[i].shownAt, rear[i].shownAt)), 1000.0 / clip.fps) << i;
    }
    EXPECT_NEAR(front.front().time, 0.0, 0.0005);
    for (std::size_t i = 1; i < front.size(); ++i)
      EXPECT_GT(front[i].time, front[i - 1].time) << "picture " << i;
    const auto flash = std::find_if(front.begin(), front.end(), [&](const FrameRecord& f) {
      return f.lumaSum > 128u * static_cast<unsigned>(clip.width);
    });
    ASSERT_NE(flash, front.end());
    EXPECT_NEAR(flash->time, kFlashSeconds, 0.5 / clip.fps);
    if (*clip.audio == '\0') continue;
    ASSERT_TRUE(heard.has_value());
    // Pictures are delayed, never skipped: on a machine too busy to decode in
    // time the sound runs dry, so the two are judged only where every
    // picture up to the flash came on time.
    bool onTime = true;
    for (auto f = front.begin(); f <= flash; ++f)
      onTime = onTime && Ms(front[0].shownAt, f->shownAt) - f->time * 1000.0 <= 40.0;
    if (!onTime) {
      std::printf("%s: pictures came late on this machine; sound not judged\n", clip.name);
      continue;
    }
    EXPECT_NEAR(Ms(flash->shownAt, *heard), 0.0, 40.0);
  }
}

}  // namespace
}  // namespace lumora
