// Recordings as cameras and other tools write them, made with the ffmpeg
// command line: every picture ffprobe counts is shown once, in order, the
// first at 0 ms; playback reaches the end; and a flash in the picture and a
// click in the sound made at the same instant reach the null display and
// SDL's disk sound driver within 40 ms of each other.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <thread>

#include "engine/CMultiPlayer.h"
#include "engine/CNullDisplay.h"
#include "tests/engine/TestMedia.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;
constexpr double kFlashSeconds = 0.6;

const struct Clip {
  const char* name;
  const char* video;  // encoder options
  int width, height, fps;
  const char* audio;  // encoder options, empty for none
  int rate, channels;
  bool rear;  // a second, smaller video stream
} kClips[] = {
    {"h264_pcm_mono.avi", "-c:v libx264 -preset ultrafast -bf 0", 1280, 720, 30, "-c:a pcm_s16le",
     8000, 1, true},
    {"h264b_adpcm.avi", "-c:v libx264 -preset ultrafast -bf 3", 1920, 1080, 25,
     "-c:a adpcm_ima_wav", 16000, 1, false},
    {"mjpeg_pcm_stereo.avi", "-c:v mjpeg -q:v 5", 1440, 1080, 30, "-c:a pcm_s16le", 32000, 2,
     false},
    {"h264_silent.avi", "-c:v libx264 -preset ultrafast -bf 0", 2560, 1440, 25, "", 0, 0, false},
    {"h264b_aac.mp4", "-c:v libx264 -preset ultrafast -bf 3", 1920, 1080, 30, "-c:a aac", 48000, 2,
     false},
    {"h265_aac.mp4", "-c:v libx265 -preset ultrafast -x265-params log-level=none", 1280, 720, 60,
     "-c:a aac", 44100, 1, false},
    {"h264_mp3.mp4", "-c:v libx264 -preset ultrafast", 2560, 1440, 25, "-c:a libmp3lame", 44100, 2,
     false},
    {"h265_silent.mp4", "-c:v libx265 -preset ultrafast -x265-params log-level=none", 1440, 1080,
     30, "", 0, 0, false},
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
    maps += "-map " + std::string(c.rear ? "2" : "1") + ":a " + c.audio + " -ac " +
            std::to_string(c.channels) + " ";
  }
  return test::MakeMedia(c.name, args + maps + c.video);
}

int FfprobePictures(const std::filesystem::path& file, int stream) {
  const std::string out =
      test::RunCommand(
          "ffprobe -v error -count_frames -select_streams v:" + std::to_string(stream) +
          " -show_entries stream=nb_read_frames -of csv=p=0 " + test::Quote(file.string()))
          .out;
  return out.empty() ? -1 : std::atoi(out.c_str());
}

// SDL's disk sound driver writes what the device plays into a file from the
// moment the device opens. A thread finds when the file was made; a byte's
// offset in it then tells when it was played (the driver's own pace falls
// behind on a loaded machine by more than the sound may be off).
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
      // While nothing is written yet (the C library holds the first 4 KiB
      // back), the file's change time is when it was made; this thread may
      // be woken much later on a busy machine.
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
    std::ifstream in(m_file, std::ios::binary);
    std::int16_t sample = 0;
    for (long long i = 0; in.read(reinterpret_cast<char*>(&sample), 2); ++i)
      if (sample > 16000 || sample < -16000)
        return m_opened + std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(2.0 * i / bytesPerSecond));
    return std::nullopt;
  }

 private:
  std::filesystem::path m_file;
  std::atomic<bool> m_bRun{true};
  std::thread m_thread;
  Clock::time_point m_opened;
};

class EndFlag : public IPlayerOwner {
 public:
  void PostEndOfRecording() override { m_bEnded = true; }
  std::atomic<bool> m_bEnded{false};
};

TEST(Corpus, EveryPictureInOrderToTheEndWithSoundInStep) {
  for (const Clip& clip : kClips) {
    SCOPED_TRACE(clip.name);
    const auto file = MakeClip(clip);
    ASSERT_FALSE(file.empty());
    const int pictures = FfprobePictures(file, 0);
    ASSERT_GT(pictures, 0);
    const test::TempFolder folder;
    EndFlag owner;
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
      const auto until = Clock::now() + std::chrono::seconds(10);
      while (!owner.m_bEnded && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      sound.Stop();
      player.Close();
      EXPECT_TRUE(owner.m_bEnded);
      heard = sound.Click(clip.rate * 2);  // the engine plays mono 16-bit sound
    }
    const auto front = factory.Log()->FramesOf(0);
    ASSERT_EQ(static_cast<int>(front.size()), pictures);
    EXPECT_EQ(static_cast<int>(factory.Log()->FramesOf(1).size()),
              clip.rear ? FfprobePictures(file, 1) : 0);
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
      onTime = onTime && Ms(f->shownAt - front[0].shownAt).count() - f->time * 1000.0 <= 40.0;
    if (!onTime) {
      std::printf("%s: pictures came late on this machine; sound not judged\n", clip.name);
      continue;
    }
    EXPECT_NEAR(Ms(*heard - flash->shownAt).count(), 0.0, 40.0);
  }
}

}  // namespace
}  // namespace lumora
