#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <thread>
#include <utility>
#include <vector>

#include "engine/CFFMpegDecoder.h"
#include "tests/engine/TestMedia.h"

namespace lumora {
namespace {

using Clock = std::chrono::steady_clock;

// Takes every picture and sound block the decoder delivers until both its
// inputs are used up (or the time limit passes). Returns false on timeout.
bool Drain(CFFMpegDecoder& d, const std::function<void(const DecInfo&)>& onPicture,
           const std::function<void(const DecInfo&)>& onSound, int limitMs = 20000) {
  const auto until = Clock::now() + std::chrono::milliseconds(limitMs);
  while (Clock::now() < until) {
    bool took = false;
    if (DecInfo* p = d.VideoPool()->PeekFirst()) {
      if (onPicture) onPicture(*p);
      d.VideoPool()->RemoveFirst();
      took = true;
    }
    if (DecInfo* a = d.AudioPool()->PeekFirst()) {
      if (onSound) onSound(*a);
      d.AudioPool()->RemoveFirst();
      took = true;
    }
    if (!took) {
      const bool videoDone = d.DecodeState() == 2 && d.VideoPool()->Count() == 0;
      const bool audioDone =
          d.AudioState() != 0 && d.AudioPool()->Count() == 0 && d.PendingAudioPackets() == 0;
      if (videoDone && audioDone) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  return false;
}

// The first picture delivered after Start (or after a seek), or -1 seconds.
double FirstPictureTime(CFFMpegDecoder& d, int limitMs = 10000) {
  const auto until = Clock::now() + std::chrono::milliseconds(limitMs);
  while (Clock::now() < until) {
    if (d.IsSeeking() == 0) {
      if (DecInfo* p = d.VideoPool()->PeekFirst()) return p->dTime;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return -1.0;
}

TEST(DecoderOpen, EachDecoderShowsItsOwnVideoStreamAndOnlyChannelZeroHasSound) {
  const auto file = test::FrontRear();
  ASSERT_FALSE(file.empty());
  CFFMpegDecoder front;
  CFFMpegDecoder rear;
  ASSERT_EQ(front.Init(0, file), 0);
  ASSERT_EQ(rear.Init(1, file), 0);
  ASSERT_EQ(front.Open(), 0);
  ASSERT_EQ(rear.Open(), 0);
  EXPECT_EQ(front.VideoStreamIndex(), 0);
  EXPECT_EQ(rear.VideoStreamIndex(), 1);
  EXPECT_EQ(front.Width(), 320);
  EXPECT_EQ(rear.Width(), 160);
  EXPECT_EQ(front.AudioStreamIndex(), 2);
  EXPECT_EQ(rear.AudioStreamIndex(), -1);
  EXPECT_EQ(front.AudioState(), 0);
  EXPECT_EQ(rear.AudioState(), -1);
  EXPECT_EQ(front.FilterStatus(), 0);
  EXPECT_NEAR(front.GetDuration(), 3.0, 0.05);

  ASSERT_EQ(front.Start(), 0);
  ASSERT_EQ(rear.Start(), 0);
  int frontPictures = 0;
  int rearPictures = 0;
  int frontSound = 0;
  int rearSound = 0;
  ASSERT_TRUE(Drain(
      front,
      [&](const DecInfo& p) {
        EXPECT_EQ(p.nChannel, 0);
        EXPECT_EQ(p.nWidth, 320);
        EXPECT_EQ(p.nHeight, 240);
        ++frontPictures;
      },
      [&](const DecInfo&) { ++frontSound; }));
  ASSERT_TRUE(Drain(
      rear,
      [&](const DecInfo& p) {
        EXPECT_EQ(p.nChannel, 1);
        EXPECT_EQ(p.nWidth, 160);
        EXPECT_EQ(p.nHeight, 120);
        EXPECT_EQ(p.nPixelFormat, 0);
        ++rearPictures;
      },
      [&](const DecInfo&) { ++rearSound; }));
  EXPECT_EQ(frontPictures, 75);
  EXPECT_EQ(rearPictures, 75);
  EXPECT_GT(frontSound, 0);
  EXPECT_EQ(rearSound, 0);
  front.Stop();
  rear.Stop();
  front.Close();
  EXPECT_EQ(front.DecodeState(), -1);
  EXPECT_EQ(front.AudioState(), -1);
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
    AVFormatContext* format = nullptr;
    ASSERT_GE(avformat_open_input(&format, file.c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(CFFMpegDecoder::HeadersDescribeStreams(format), described) << file;
    avformat_close_input(&format);

    // Either way the decoder opens the file and shows its pictures.
    CFFMpegDecoder d;
    ASSERT_EQ(d.Init(0, file), 0);
    ASSERT_EQ(d.Open(), 0) << file;
    EXPECT_EQ(d.Width(), described ? 320 : 160);
    ASSERT_EQ(d.Start(), 0);
    EXPECT_NEAR(FirstPictureTime(d), 0.0, 1e-6) << file;
    d.Stop();
  }
}

TEST(DecoderOpen, RefusesMissingFilesAndEmptyPaths) {
  CFFMpegDecoder d;
  EXPECT_EQ(d.Init(0, ""), -1);
  ASSERT_EQ(d.Init(0, test::MediaDir() / "no-such-file.avi"), 0);
  EXPECT_EQ(d.Open(), -1);
  EXPECT_EQ(d.GetDuration(), 0.0);
  EXPECT_EQ(d.Start(), -1);

  const auto garbage = test::ScratchFile("garbage.avi");
  {
    std::FILE* f = std::fopen(garbage.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < 4096; ++i) std::fputc((i * 7919) & 0xFF, f);
    std::fclose(f);
  }
  ASSERT_EQ(d.Init(0, garbage), 0);
  EXPECT_EQ(d.Open(), -1);
  std::filesystem::remove(garbage);
}

TEST(DecoderSeek, TargetStartsOneAndAHalfSecondsEarlyAndStaysInsideTheStream) {
  const AVRational tb{1, 25};
  auto w = CFFMpegDecoder::ComputeSeekWindow(0.8, tb, 75);
  EXPECT_EQ(w.target, 0);
  EXPECT_EQ(w.min, 0);
  EXPECT_EQ(w.max, 15);

  w = CFFMpegDecoder::ComputeSeekWindow(3.5, tb, 0);
  EXPECT_EQ(w.target, 50);
  EXPECT_EQ(w.min, 35);
  EXPECT_EQ(w.max, 65);

  w = CFFMpegDecoder::ComputeSeekWindow(100.0, tb, 75);
  EXPECT_EQ(w.target, 74);
  EXPECT_EQ(w.min, 59);
  EXPECT_EQ(w.max, 74);

  w = CFFMpegDecoder::ComputeSeekWindow(2.0, AVRational{1, 90000}, 900000);
  EXPECT_EQ(w.target, 45000);
  EXPECT_EQ(w.min, 44985);
  EXPECT_EQ(w.max, 45015);
}

std::uint64_t LumaSum(const DecInfo& p) {
  std::uint64_t sum = 0;
  for (int y = 0; y < p.nHeight; ++y)
    for (int x = 0; x < p.nWidth; ++x) sum += p.data[0][y * p.size[0] + x] * (1 + (x ^ y) % 7);
  return sum;
}

TEST(DecoderSeek, PicturesAfterASeekAreDecodedFromAKeyFrameAndStartAtTheTarget) {
  const auto file = test::FrontRear();
  ASSERT_FALSE(file.empty());
  CFFMpegDecoder d;
  ASSERT_EQ(d.Init(0, file), 0);
  ASSERT_EQ(d.Open(), 0);
  ASSERT_EQ(d.Start(), 0);
  // Every picture of the recording decoded from the start, by time.
  std::map<long, std::uint64_t> reference;
  ASSERT_TRUE(Drain(
      d, [&](const DecInfo& p) { reference[std::lround(p.dTime * 1000)] = LumaSum(p); }, nullptr));
  ASSERT_EQ(reference.size(), 75u);

  for (double target : {2.7, 0.8, 2.2, 1.0}) {
    // Stopped first, so that nothing decoded before the seek reaches the pool.
    d.Stop();
    d.VideoPool()->Clear();
    d.AudioPool()->Clear();
    d.Seek(target);
    EXPECT_NE(d.IsSeeking(), 0);
    ASSERT_EQ(d.Start(), 0);
    const auto until = Clock::now() + std::chrono::seconds(10);
    DecInfo* first = nullptr;
    while (Clock::now() < until &&
           (d.IsSeeking() || (first = d.VideoPool()->PeekFirst()) == nullptr))
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_NE(first, nullptr) << target;
    // The first picture at or after the target, whole: its references were
    // decoded from the key frame before it (key frames sit on whole seconds).
    const long ms = std::lround(first->dTime * 1000);
    EXPECT_EQ(ms, std::lround(std::ceil(target * 25 - 1e-9) * 40)) << target;
    ASSERT_TRUE(reference.count(ms)) << ms;
    EXPECT_EQ(LumaSum(*first), reference[ms]) << target;
  }
  d.Stop();
}

TEST(DecoderSeek, IndexedRecordingsAreReadFromTheLastKeyFrameBeforeTheTarget) {
  // Key frames every second: a seek to 2.2 s needs the pictures from 2.0 s
  // on, not the lead-in from 0.7 s (which starts at the key frame of 1.0 s).
  const auto file = test::FrontRear();
  ASSERT_FALSE(file.empty());
  for (int channel : {0, 1}) {
    CFFMpegDecoder d;
    ASSERT_EQ(d.Init(channel, file), 0);
    ASSERT_EQ(d.Open(), 0);
    d.Seek(2.2);
    ASSERT_EQ(d.Start(), 0);
    EXPECT_NEAR(FirstPictureTime(d), 2.2, 1e-6) << channel;
    EXPECT_EQ(d.DroppedSinceSeek(), 5) << channel;  // 2.00, 2.04 ... 2.16
    d.Stop();
    d.VideoPool()->Clear();
    // A target on a key frame needs nothing before it.
    d.Seek(1.0);
    ASSERT_EQ(d.Start(), 0);
    EXPECT_NEAR(FirstPictureTime(d), 1.0, 1e-6) << channel;
    EXPECT_EQ(d.DroppedSinceSeek(), 0) << channel;
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
  EXPECT_NEAR(FirstPictureTime(d), 0.6, 1e-6);
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
    EXPECT_EQ(a.size[0] % 2, 0);
    const auto* samples = reinterpret_cast<const std::int16_t*>(a.data[0]);
    for (int i = 0; i < a.size[0] / 2; ++i) s.peak = std::max(s.peak, std::abs(int{samples[i]}));
    s.samples += a.size[0] / 2;
    ++s.blocks;
  }));
  d.Stop();
  return s;
}

TEST(DecoderSound, MonoAndStereoBothBecomeAmplifiedMono16Bit) {
  const std::string video = "-f lavfi -i testsrc=size=64x48:rate=25 ";
  const auto mono =
      test::MakeMedia("mono.avi", video +
                                      "-f lavfi -i sine=frequency=440:sample_rate=8000 -ac 1 "
                                      "-c:v libx264 -preset ultrafast -c:a pcm_s16le -t 2");
  const auto stereo =
      test::MakeMedia("stereo.mp4", video +
                                        "-f lavfi -i sine=frequency=440:sample_rate=16000 -ac 2 "
                                        "-c:v libx264 -preset ultrafast -c:a aac -t 2");
  ASSERT_FALSE(mono.empty());
  ASSERT_FALSE(stereo.empty());

  for (const auto& [file, rate] : {std::pair{mono, 8000}, std::pair{stereo, 16000}}) {
    const SoundSummary plain = DecodeSound(file, 1.0);
    const SoundSummary loud = DecodeSound(file, 3.0);
    ASSERT_GT(plain.blocks, 0) << file;
    // Two seconds of samples, one channel.
    EXPECT_NEAR(static_cast<double>(plain.samples), 2.0 * rate, rate * 0.1) << file;
    EXPECT_GT(plain.peak, 1000) << file;
    EXPECT_NEAR(static_cast<double>(loud.peak) / plain.peak, 3.0, 0.1) << file;
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
  // Start may follow Stop without reopening.
  EXPECT_EQ(d.Start(), 0);
  d.Stop();
}

}  // namespace
}  // namespace lumora
