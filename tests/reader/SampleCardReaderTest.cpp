// The reader on recordings written by the sample-card generator: every
// layout the camera uses, with and without the index, checked against what
// the generator says it wrote.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CFileManager.h"
#include "tests/reader/RiffBuilder.h"
#include "tools/mkcard/SampleCard.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora::test {
namespace {

constexpr int kSeconds = 3;

struct Drained {
  std::vector<std::vector<std::uint8_t>> payloads;
  std::vector<std::uint32_t> cts;
};

// Drains the manager with the 1024-byte buffer the main window offers.
Drained DrainManager(CFileManager& manager) {
  Drained out;
  std::uint8_t buffer[1024];
  for (;;) {
    std::uint32_t length = sizeof buffer, cts = 0;
    const std::int32_t rc = manager.GetNextUserData(buffer, &length, &cts);
    if (rc == kNoMoreRecords) break;
    EXPECT_EQ(rc, 0) << "record " << out.payloads.size();
    if (rc != 0) break;
    out.payloads.emplace_back(buffer, buffer + length);
    out.cts.push_back(cts);
  }
  return out;
}

RecordingTruth Write(const std::filesystem::path& file, UserDataLayout layout, bool index,
                     ChannelLayout channels = ChannelLayout::kFrontAndRear) {
  RecordingOptions options;
  options.seed = 7;
  options.seconds = kSeconds;
  options.fps = 10;
  options.user_data = layout;
  options.with_index = index;
  options.channels = channels;
  RecordingTruth truth;
  std::string error;
  EXPECT_TRUE(WriteRecording(file, options, &error, &truth)) << error;
  return truth;
}

void ExpectCameraRecords(const Drained& got, const RecordingTruth& truth, bool padded,
                         int seconds = kSeconds) {
  ASSERT_EQ(got.payloads.size(), truth.records.size());
  ASSERT_FALSE(got.payloads.empty());
  for (std::size_t i = 0; i < got.payloads.size(); ++i) {
    std::vector<std::uint8_t> want = truth.records[i].payload;
    if (padded && want.size() % 2 != 0) want.push_back(0);
    EXPECT_EQ(got.payloads[i], want) << "record " << i;
    EXPECT_EQ(got.cts[i], truth.records[i].cts_ms) << "record " << i;
  }
  // One counter runs over all records: cts = k * dwScale * 1000 / dwRate.
  ASSERT_GT(truth.text_rate, 0u);
  for (std::size_t k = 0; k < got.cts.size(); ++k) {
    EXPECT_EQ(got.cts[k], static_cast<std::uint32_t>(static_cast<std::uint64_t>(k) *
                                                     truth.text_scale * 1000 / truth.text_rate));
  }
  // Ten G-sensor records a second, and one RMC sentence a second that sits
  // on the whole second.
  std::size_t gRecords = 0;
  std::size_t sentences = 0;
  for (std::size_t i = 0; i < got.payloads.size(); ++i) {
    if (!got.payloads[i].empty() && got.payloads[i][0] == 'M') ++gRecords;
    const std::string text(got.payloads[i].begin(), got.payloads[i].end());
    if (text.rfind("$GPRMC,", 0) == 0) {
      EXPECT_EQ(got.cts[i], 1000 * sentences);
      ++sentences;
    }
  }
  EXPECT_EQ(gRecords, static_cast<std::size_t>(10 * seconds));
  EXPECT_EQ(sentences, static_cast<std::size_t>(seconds));
  EXPECT_EQ(sentences, truth.fixes.size());
}

TEST(SampleCardRecordings, EveryUserDataLayoutIsReadWithItsTimes) {
  TempDir dir;
  for (const auto layout :
       {UserDataLayout::kXblb, UserDataLayout::kAdas, UserDataLayout::kTwoUser}) {
    SCOPED_TRACE(static_cast<int>(layout));
    const auto file = dir / "rec_N1.avi";
    const RecordingTruth truth = Write(file, layout, true);
    CFileManager manager;
    ASSERT_EQ(manager.Open(file), 1);
    EXPECT_EQ(manager.GetVideoStreamCount(), truth.video_streams);
    EXPECT_EQ(manager.GetVideoStreamCount(), 2);
    EXPECT_NEAR(static_cast<double>(manager.GetDuration()), static_cast<double>(truth.duration_ms),
                1.0);
    EXPECT_EQ(manager.GetUserDataCount(), static_cast<int>(truth.records.size()));
    ExpectCameraRecords(DrainManager(manager), truth, false);
  }
}

TEST(SampleCardRecordings, WithoutIndexTheSequentialScanFindsTheRecords) {
  TempDir dir;
  const auto file = dir / "cut_N1.avi";
  RecordingTruth truth = Write(file, UserDataLayout::kXblb, false);
  ASSERT_TRUE(truth.fallback_reachable);
  CFileManager manager;
  ASSERT_EQ(manager.Open(file), 1);
  EXPECT_EQ(manager.GetVideoStreamCount(), 2);
  ExpectCameraRecords(DrainManager(manager), truth, true);

  // Two USER streams: the scan collects "09tx" and also the first USER
  // stream's "03tx" sentences, in file order, on one time counter.
  truth = Write(file, UserDataLayout::kTwoUser, false);
  ASSERT_EQ(manager.Open(file), 1);
  const Drained got = DrainManager(manager);
  ASSERT_EQ(got.payloads.size(), truth.records.size() + kSeconds);
  std::size_t next = 0;
  for (std::size_t k = 0; k < got.payloads.size(); ++k) {
    EXPECT_EQ(got.cts[k], static_cast<std::uint32_t>(static_cast<std::uint64_t>(k) *
                                                     truth.text_scale * 1000 / truth.text_rate));
    std::vector<std::uint8_t> want =
        next < truth.records.size() ? truth.records[next].payload : std::vector<std::uint8_t>{};
    if (want.size() % 2 != 0) want.push_back(0);
    if (got.payloads[k] == want) {
      ++next;
    } else {
      const std::string text(got.payloads[k].begin(), got.payloads[k].end());
      EXPECT_EQ(text.rfind("$GPRMC,", 0), 0u) << "record " << k;
    }
  }
  EXPECT_EQ(next, truth.records.size());
}

TEST(SampleCardRecordings, FrontOnlyAndNoUserDataFiles) {
  TempDir dir;
  RecordingTruth truth =
      Write(dir / "front_N1.avi", UserDataLayout::kXblb, true, ChannelLayout::kFrontOnly);
  CFileManager manager;
  ASSERT_EQ(manager.Open(dir / "front_N1.avi"), 1);
  EXPECT_EQ(manager.GetVideoStreamCount(), 1);
  ExpectCameraRecords(DrainManager(manager), truth, false);

  truth = Write(dir / "plain_N1.avi", UserDataLayout::kNone, true);
  ASSERT_EQ(manager.Open(dir / "plain_N1.avi"), 1);
  EXPECT_EQ(manager.GetVideoStreamCount(), 2);
  EXPECT_EQ(manager.GetUserDataCount(), 0);
}

TEST(SampleCardRecordings, EveryRecordingOfASmallCard) {
  TempDir dir;
  CardOptions options;
  options.seconds = 2;
  options.recordings = 2;
  options.fps = 10;
  options.front_width = 320;
  options.front_height = 180;
  options.rear_width = 160;
  options.rear_height = 90;
  options.with_stills = false;
  CardTruth truth;
  std::string error;
  ASSERT_TRUE(MakeCard(dir.Path(), options, &error, &truth)) << error;
  int avis = 0;
  for (const auto& rec : truth.recordings) {
    SCOPED_TRACE(rec.path.string());
    CFileManager manager;
    ASSERT_EQ(manager.Open(dir.Path() / rec.path), 1);
    EXPECT_GE(manager.GetVideoStreamCount(), 1);
    if (rec.path.extension() != ".avi") {
      EXPECT_EQ(manager.GetUserDataCount(), 0);
      continue;
    }
    ++avis;
    EXPECT_EQ(manager.GetVideoStreamCount(), rec.truth.video_streams);
    EXPECT_NEAR(static_cast<double>(manager.GetDuration()),
                static_cast<double>(rec.truth.duration_ms), 1.0);
    const Drained got = DrainManager(manager);
    ASSERT_EQ(got.payloads.size(), rec.truth.records.size());
    for (std::size_t i = 0; i < got.payloads.size(); ++i) {
      EXPECT_EQ(got.payloads[i], rec.truth.records[i].payload);
      EXPECT_EQ(got.cts[i], rec.truth.records[i].cts_ms);
    }
  }
  EXPECT_GE(avis, 3);
}

}  // namespace
}  // namespace lumora::test
