// The decoder of one video channel (and of the sound on channel 0): what it
// opens, its pictures against ffmpeg's own decoding, from the start and
// after a seek, the picture memory it reuses, and the sound it makes.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/CFFMpegDecoder.h"
#include "engine/PictureBufferPool.h"
#include "tests/engine/TestMedia.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;
using Take = std::function<void(const DecInfo&)>;

// Takes every picture and sound block the decoder delivers until both its
// inputs are used up; false when that takes over 20 s.
bool Drain(CFFMpegDecoder& d, const Take& onPicture, const Take& onSound) {
  const auto until = Clock::now() + std::chrono::seconds(20);
  while (Clock::now() < until) {
    bool took = false;
    for (auto [pool, on] : {std::pair{d.VideoPool(), &onPicture}, {d.AudioPool(), &onSound}}) {
      if (DecInfo* p = pool->PeekFirst()) {
        if (*on) (*on)(*p);
        pool->RemoveFirst();
        took = true;
      }
    }
    if (!took && d.DecodeState() == 2 && d.VideoPool()->Count() == 0 && d.AudioState() != 0 &&
        d.AudioPool()->Count() == 0 && d.PendingAudioPackets() == 0)
      return true;
    if (!took) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

// The first picture delivered after Start (or a seek), or null.
DecInfo* FirstPicture(CFFMpegDecoder& d) {
  const auto until = Clock::now() + std::chrono::seconds(10);
  DecInfo* first = nullptr;
  while (Clock::now() < until && (d.IsSeeking() || (first = d.VideoPool()->PeekFirst()) == nullptr))
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return first;
}

// The visible bytes of a picture's Y, U and V planes.
std::string Planes(const DecInfo& p) {
  std::string bytes;
  for (int plane = 0; plane < 3; ++plane) {
    const int w = plane == 0 ? p.nWidth : (p.nWidth + 1) / 2;
    const int h = plane == 0 ? p.nHeight : (p.nHeight + 1) / 2;
    for (int y = 0; y < h; ++y)
      bytes.append(reinterpret_cast<const char*>(p.data[plane] + y * p.size[plane]), w);
  }
  return bytes;
}

// ffmpeg's decoding of video stream `stream`: the planes of each picture.
std::vector<std::string> FfmpegPictures(const std::filesystem::path& file, int stream, int width,
                                        int height) {
  const std::string all =
      test::RunCommand("ffmpeg -v error -i " + test::Quote(file.string()) +
                       " -map 0:v:" + std::to_string(stream) + " -f rawvideo -pix_fmt yuv420p -")
          .out;
  const std::size_t size = static_cast<std::size_t>(width * height * 3 / 2);
  std::vector<std::string> pictures;
  for (std::size_t at = 0; at + size <= all.size(); at += size)
    pictures.push_back(all.substr(at, size));
  return pictures;
}

TEST(DecoderOpen, EachChannelShowsItsOwnStreamAsFfmpegDecodesItAndOnlyChannelZeroSounds) {
  const auto frontRear = test::FrontRear();
  const struct {
    std::filesystem::path file;
    int channel, width, height, audioStream, audioState, pictures;
  } rows[] = {
      {frontRear, 0, 320, 240, 2, 0, 75},
      {frontRear, 1, 160, 120, -1, -1, 75},
      {test::VideoOnly(), 0, 160, 120, -1, -1, 50},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.file << " channel " << r.channel);
    const auto expected = FfmpegPictures(r.file, r.channel, r.width, r.height);
    ASSERT_EQ(static_cast<int>(expected.size()), r.pictures);
    CFFMpegDecoder d;
    ASSERT_EQ(d.Init(r.channel, r.file), 0);
    ASSERT_EQ(d.Open(), 0);
    EXPECT_EQ(d.Width(), r.width);
    EXPECT_EQ(d.AudioStreamIndex(), r.audioStream);
    EXPECT_EQ(d.AudioState(), r.audioState);
    EXPECT_EQ(d.FilterStatus(), r.audioState);
    EXPECT_NEAR(d.GetDuration(), r.pictures / 25.0, 0.05);
    ASSERT_EQ(d.Start(), 0);
    int pictures = 0;
    int sound = 0;
    const auto picture = [&](const DecInfo& p) {
      EXPECT_EQ(p.nChannel, r.channel);
      EXPECT_EQ(p.nPixelFormat, 0);
      EXPECT_NEAR(p.dTime, pictures * 0.04, 1e-6);
      EXPECT_EQ(p.size[0] % 32, 0);  // rows aligned for the displays' conversions
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p.data[0]) % 32, 0u);
      EXPECT_TRUE(pictures < r.pictures && Planes(p) == expected[pictures]) << pictures;
      ++pictures;
    };
    ASSERT_TRUE(Drain(d, picture, [&](const DecInfo&) { ++sound; }));
    EXPECT_EQ(pictures, r.pictures);
    EXPECT_EQ(sound > 0, r.audioStream >= 0);
    EXPECT_EQ(d.VideoInputEnded(), 1);
    d.Stop();
    EXPECT_EQ(d.Start(), 0);  // Start may follow Stop without reopening
    d.Stop();
    d.Close();
    EXPECT_EQ(d.DecodeState(), -1);
    EXPECT_EQ(d.AudioState(), -1);
  }
  EXPECT_GE(PictureBufferPool::PoolCount(), 1);  // 4:2:0 pictures use the shared pools
}

TEST(DecoderSeek, WindowStartsOneAndAHalfSecondsEarlyAndStaysInsideTheStream) {
  const struct {
    double seconds;
    AVRational timeBase;
    std::int64_t duration, target, min, max;
  } rows[] = {
      {0.8, {1, 25}, 75, 0, 0, 15},
      {3.5, {1, 25}, 0, 50, 35, 65},  // no duration known
      {100.0, {1, 25}, 75, 74, 59, 74},
      {2.0, {1, 90000}, 900000, 45000, 44985, 45015},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.seconds);
    const auto w = CFFMpegDecoder::ComputeSeekWindow(r.seconds, r.timeBase, r.duration);
    EXPECT_EQ(w.target, r.target);
    EXPECT_EQ(w.min, r.min);
    EXPECT_EQ(w.max, r.max);
  }
}

TEST(DecoderSeek, FirstPictureIsTheOneAtTheTargetDecodedFromTheKeyFrameBefore) {
  const auto file = test::FrontRear();
  for (int channel : {0, 1}) {
    const auto expected = FfmpegPictures(file, channel, 320 >> channel, 240 >> channel);
    ASSERT_EQ(expected.size(), 75u);
    CFFMpegDecoder d;
    ASSERT_EQ(d.Init(channel, file), 0);
    ASSERT_EQ(d.Open(), 0);
    // Key frames sit on whole seconds: the pictures from the one before the
    // target up to it are decoded and dropped, none earlier.
    const struct {
      double target;
      int picture, dropped;
    } rows[] = {{2.2, 55, 5}, {2.7, 68, 18}, {0.8, 20, 20}, {1.0, 25, 0}};
    for (const auto& r : rows) {
      SCOPED_TRACE(testing::Message() << "channel " << channel << " at " << r.target);
      d.Seek(r.target);
      EXPECT_NE(d.IsSeeking(), 0);
      ASSERT_EQ(d.Start(), 0);
      const DecInfo* first = FirstPicture(d);
      ASSERT_NE(first, nullptr);
      EXPECT_NEAR(first->dTime, r.picture * 0.04, 1e-6);
      EXPECT_TRUE(Planes(*first) == expected[r.picture]);
      EXPECT_EQ(d.DroppedSinceSeek(), r.dropped);
      // Stopped before the next seek, so nothing decoded before it stays.
      d.Stop();
      d.VideoPool()->Clear();
      d.AudioPool()->Clear();
    }
  }
}

TEST(DecoderSeek, HeaderlessStreamsAreProbedAndPicturesBeforeTheFirstKeyFrameDropped) {
  // Raw H.264: the picture size is known only once a probe decoded a picture.
  const auto raw = test::MakeMedia(
      "raw.h264", "-f lavfi -i testsrc=size=160x120:rate=25 -c:v libx264 -t 1 -f h264");
  // A cut that keeps the pictures before its first key frame (at 0.6 s).
  const auto mpeg4 = test::MakeMedia(
      "mpeg4_source.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -c:v mpeg4 -g 25 -t 3");
  const auto cut = test::MakeMedia(
      "mpeg4_cut.avi", "-i " + test::Quote(mpeg4.string()) + " -ss 0.4 -c copy -copyinkf");
  for (const auto& [file, time] : {std::pair{raw, 0.0}, {cut, 0.6}}) {
    SCOPED_TRACE(file);
    CFFMpegDecoder d;
    ASSERT_EQ(d.Init(0, file), 0);
    ASSERT_EQ(d.Open(), 0);
    EXPECT_EQ(d.Width(), 160);
    ASSERT_EQ(d.Start(), 0);
    const DecInfo* first = FirstPicture(d);
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->dTime, time, 1e-6);
    d.Stop();
  }
}

TEST(DecoderSound, StereoBecomesAmplifiedMono16Bit) {
  const auto file = test::MakeMedia("stereo.mp4",
                                    "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i "
                                    "sine=frequency=440:sample_rate=16000 -ac 2 -c:v libx264 "
                                    "-preset ultrafast -c:a aac -t 2");
  int peaks[2] = {0, 0};
  for (int gain : {1, 3}) {
    CFFMpegDecoder d;
    d.SetVolume(gain);
    ASSERT_EQ(d.Init(0, file), 0);
    ASSERT_EQ(d.Open(), 0);
    ASSERT_EQ(d.Start(), 0);
    std::int64_t samples = 0;
    ASSERT_TRUE(Drain(d, nullptr, [&](const DecInfo& a) {
      EXPECT_EQ(a.nChannels, 1);
      EXPECT_EQ(a.nBitsPerSample, 16);
      EXPECT_EQ(a.nSampleRate, 16000);
      const auto* s = reinterpret_cast<const std::int16_t*>(a.data[0]);
      for (int i = 0; i < a.size[0] / 2; ++i)
        peaks[gain / 3] = std::max(peaks[gain / 3], std::abs(int{s[i]}));
      samples += a.size[0] / 2;
    }));
    EXPECT_NEAR(static_cast<double>(samples), 32000.0, 1600.0);  // 2 s of one channel
    d.Stop();
  }
  EXPECT_GT(peaks[0], 1000);
  EXPECT_NEAR(static_cast<double>(peaks[1]) / peaks[0], 3.0, 0.1);
}

}  // namespace
}  // namespace lumora
