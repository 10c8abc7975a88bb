// The decoder of one video channel (and of the sound on channel 0): what it
// opens, the pictures it delivers after a seek, and the sound it makes.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <thread>

#include "engine/CFFMpegDecoder.h"
#include "tests/engine/TestMedia.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;

// Takes every picture and sound block the decoder delivers until both its
// inputs are used up; false when that takes over 20 s.
bool Drain(CFFMpegDecoder& d, const std::function<void(const DecInfo&)>& onPicture,
           const std::function<void(const DecInfo&)>& onSound) {
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
    if (took) continue;
    if (d.DecodeState() == 2 && d.VideoPool()->Count() == 0 && d.AudioState() != 0 &&
        d.AudioPool()->Count() == 0 && d.PendingAudioPackets() == 0)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
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

TEST(DecoderOpen, EachDecoderShowsItsOwnVideoStreamAndOnlyChannelZeroHasSound) {
  const auto file = test::FrontRear();
  ASSERT_FALSE(file.empty());
  const struct {
    int width, height, audioStream, audioState;
  } rows[] = {{320, 240, 2, 0}, {160, 120, -1, -1}};
  for (int channel : {0, 1}) {
    SCOPED_TRACE(channel);
    const auto& r = rows[channel];
    CFFMpegDecoder d;
    ASSERT_EQ(d.Init(channel, file), 0);
    ASSERT_EQ(d.Open(), 0);
    EXPECT_EQ(d.VideoStreamIndex(), channel);
    EXPECT_EQ(d.Width(), r.width);
    EXPECT_EQ(d.AudioStreamIndex(), r.audioStream);
    EXPECT_EQ(d.AudioState(), r.audioState);
    EXPECT_NEAR(d.GetDuration(), 3.0, 0.05);
    ASSERT_EQ(d.Start(), 0);
    int pictures = 0;
    int sound = 0;
    const auto picture = [&](const DecInfo& p) {
      EXPECT_EQ(p.nChannel, channel);
      EXPECT_EQ(p.nWidth, r.width);
      EXPECT_EQ(p.nHeight, r.height);
      EXPECT_EQ(p.nPixelFormat, 0);
      ++pictures;
    };
    ASSERT_TRUE(Drain(d, picture, [&](const DecInfo&) { ++sound; }));
    EXPECT_EQ(pictures, 75);
    EXPECT_EQ(sound > 0, channel == 0);
    d.Stop();
    d.Close();
    EXPECT_EQ(d.DecodeState(), -1);
    EXPECT_EQ(d.AudioState(), -1);
  }
}

TEST(DecoderOpen, OnlyFilesWhoseHeadersLeaveSomethingOutAreProbed) {
  const auto avi = test::FrontRear();
  // A raw H.264 stream has no header: its picture size is known only after
  // the probe has parsed and decoded the first picture.
  const auto raw = test::MakeMedia(
      "raw.h264", "-f lavfi -i testsrc=size=160x120:rate=25 -c:v libx264 -g 25 -t 1 -f h264");
  ASSERT_FALSE(avi.empty());
  ASSERT_FALSE(raw.empty());
  for (const auto& [file, described] : {std::pair{avi, true}, std::pair{raw, false}}) {
    SCOPED_TRACE(file);
    AVFormatContext* format = nullptr;
    ASSERT_GE(avformat_open_input(&format, file.c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(CFFMpegDecoder::HeadersDescribeStreams(format), described);
    avformat_close_input(&format);
    CFFMpegDecoder d;  // either way the decoder shows the pictures
    ASSERT_EQ(d.Init(0, file), 0);
    ASSERT_EQ(d.Open(), 0);
    EXPECT_EQ(d.Width(), described ? 320 : 160);
    ASSERT_EQ(d.Start(), 0);
    const DecInfo* first = FirstPicture(d);
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->dTime, 0.0, 1e-6);
    d.Stop();
  }
}

TEST(DecoderOpen, RefusesMissingAndBrokenFilesAndEmptyPaths) {
  const test::TempFolder folder;
  std::string garbage(4096, '\0');
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919);
  CFFMpegDecoder d;
  EXPECT_EQ(d.Init(0, ""), -1);
  for (const auto& file : {folder / "missing.avi", folder.Write("garbage.avi", garbage)}) {
    ASSERT_EQ(d.Init(0, file), 0);
    EXPECT_EQ(d.Open(), -1) << file;
    EXPECT_EQ(d.GetDuration(), 0.0);
    EXPECT_EQ(d.Start(), -1);
  }
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

std::uint64_t LumaSum(const DecInfo& p) {
  std::uint64_t sum = 0;
  for (int y = 0; y < p.nHeight; ++y)
    for (int x = 0; x < p.nWidth; ++x) sum += p.data[0][y * p.size[0] + x] * (1 + (x ^ y) % 7);
  return sum;
}

TEST(DecoderSeek, FirstPictureIsTheOneAtTheTargetDecodedFromTheKeyFrameBefore) {
  const auto file = test::FrontRear();
  ASSERT_FALSE(file.empty());
  for (int channel : {0, 1}) {
    CFFMpegDecoder d;
    ASSERT_EQ(d.Init(channel, file), 0);
    ASSERT_EQ(d.Open(), 0);
    ASSERT_EQ(d.Start(), 0);
    std::map<long, std::uint64_t> reference;  // every picture decoded from the start
    const auto keep = [&](const DecInfo& p) {
      reference[std::lround(p.dTime * 1000)] = LumaSum(p);
    };
    ASSERT_TRUE(Drain(d, keep, nullptr));
    ASSERT_EQ(reference.size(), 75u);
    // Key frames sit on whole seconds: the pictures from the one before the
    // target up to it are decoded and dropped, none earlier.
    const struct {
      double target;
      long firstMs;
      int dropped;
    } rows[] = {{2.7, 2720, 18}, {0.8, 800, 20}, {2.2, 2200, 5}, {1.0, 1000, 0}};
    for (const auto& r : rows) {
      SCOPED_TRACE(testing::Message() << "channel " << channel << " at " << r.target);
      // Stopped first, so that nothing decoded before the seek reaches the pool.
      d.Stop();
      d.VideoPool()->Clear();
      d.AudioPool()->Clear();
      d.Seek(r.target);
      EXPECT_NE(d.IsSeeking(), 0);
      ASSERT_EQ(d.Start(), 0);
      const DecInfo* first = FirstPicture(d);
      ASSERT_NE(first, nullptr);
      EXPECT_EQ(std::lround(first->dTime * 1000), r.firstMs);
      EXPECT_EQ(LumaSum(*first), reference[r.firstMs]);
      EXPECT_EQ(d.DroppedSinceSeek(), r.dropped);
    }
    d.Stop();
  }
}

TEST(DecoderSeek, PicturesBeforeTheFirstKeyFrameAreDiscarded) {
  // A cut that keeps the pictures before its first key frame (at 0.6 s).
  const auto source = test::MakeMedia(
      "mpeg4_source.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -c:v mpeg4 -g 25 -t 3");
  ASSERT_FALSE(source.empty());
  const auto cut =
      test::MakeMedia("mpeg4_cut.avi", "-i '" + source.string() + "' -ss 0.4 -c copy -copyinkf");
  ASSERT_FALSE(cut.empty());
  CFFMpegDecoder d;
  ASSERT_EQ(d.Init(0, cut), 0);
  ASSERT_EQ(d.Open(), 0);
  ASSERT_EQ(d.Start(), 0);
  const DecInfo* first = FirstPicture(d);
  ASSERT_NE(first, nullptr);
  EXPECT_NEAR(first->dTime, 0.6, 1e-6);
  d.Stop();
}

struct SoundSummary {
  int blocks = 0;
  int peak = 0;
  std::int64_t samples = 0;
};

SoundSummary DecodeSound(const std::filesystem::path& file, double gain) {
  SoundSummary s;
  CFFMpegDecoder d;
  d.SetVolume(gain);
  EXPECT_EQ(d.Init(0, file), 0);
  EXPECT_EQ(d.Open(), 0);
  EXPECT_EQ(d.FilterStatus(), 0);
  EXPECT_EQ(d.Start(), 0);
  EXPECT_TRUE(Drain(d, nullptr, [&](const DecInfo& a) {
    EXPECT_EQ(a.nChannels, 1);
    EXPECT_EQ(a.nBitsPerSample, 16);
    EXPECT_EQ(a.nSampleRate, d.AudioSampleRate());
    const auto* samples = reinterpret_cast<const std::int16_t*>(a.data[0]);
    for (int i = 0; i < a.size[0] / 2; ++i) s.peak = std::max(s.peak, std::abs(int{samples[i]}));
    s.samples += a.size[0] / 2;
    ++s.blocks;
  }));
  d.Stop();
  return s;
}

TEST(DecoderSound, MonoAndStereoBothBecomeAmplifiedMono16Bit) {
  const std::string video = "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine=frequency=440";
  const auto mono = test::MakeMedia(
      "mono.avi",
      video + ":sample_rate=8000 -ac 1 -c:v libx264 -preset ultrafast -c:a pcm_s16le -t 2");
  const auto stereo = test::MakeMedia(
      "stereo.mp4",
      video + ":sample_rate=16000 -ac 2 -c:v libx264 -preset ultrafast -c:a aac -t 2");
  for (const auto& [file, rate] : {std::pair{mono, 8000}, std::pair{stereo, 16000}}) {
    SCOPED_TRACE(file);
    ASSERT_FALSE(file.empty());
    const SoundSummary plain = DecodeSound(file, 1.0);
    const SoundSummary loud = DecodeSound(file, 3.0);
    ASSERT_GT(plain.blocks, 0);
    EXPECT_NEAR(static_cast<double>(plain.samples), 2.0 * rate, rate * 0.1);  // 2 s, one channel
    EXPECT_GT(plain.peak, 1000);
    EXPECT_NEAR(static_cast<double>(loud.peak) / plain.peak, 3.0, 0.1);
  }
}

TEST(DecoderSound, RecordingWithoutSoundHasNoAudioComponent) {
  const auto file = test::VideoOnly();
  ASSERT_FALSE(file.empty());
  CFFMpegDecoder d;
  ASSERT_EQ(d.Init(0, file), 0);
  ASSERT_EQ(d.Open(), 0);
  EXPECT_EQ(d.AudioState(), -1);
  EXPECT_EQ(d.FilterStatus(), -1);
  ASSERT_EQ(d.Start(), 0);
  int pictures = 0;
  EXPECT_TRUE(Drain(
      d, [&](const DecInfo&) { ++pictures; }, nullptr));
  EXPECT_EQ(pictures, 50);
  EXPECT_EQ(d.VideoInputEnded(), 1);
  d.Stop();
  EXPECT_EQ(d.Start(), 0);  // Start may follow Stop without reopening
  d.Stop();
}

}  // namespace
}  // namespace lumora
