// Thumbnail pages: which files a page shows and how paging stops at the ends;
// the picture of a recording is its first frame (checked against the ffmpeg
// tool's own decode); damaged files give nothing instead of a crash; the
// background worker reports every file and drops what a newer page replaced.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>

#include "TestSupport.h"
#include "display/CThumbnailSource.h"
#include "engine/CThumbnailDecoder.h"
#include "engine/CThumbnailWorker.h"
#include "library/CThumbnailPages.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

std::string Name(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "20240101_12%02d00_N1.avi", i);
  return text;
}

TEST(ThumbnailPages, SubFolderRecordingsAndPicturesTenToAPage) {
  test::TempFolder dir;
  const fs::path card = dir.path() / "card";
  for (int i = 0; i < 13; ++i) test::WriteText(card / "NORMAL" / Name(i), "x");
  test::WriteText(card / "EVENT" / "deep" / "20240101_130000_E1.MP4", "x");
  test::WriteText(card / "CAPTURE" / "20240101_120000" / "a.JPG", "x");
  test::WriteText(card / "CAPTURE" / "20240101_120000" / "b.jpg", "x");
  // Not shown: files in the root itself and files that are no picture.
  test::WriteText(card / "root.avi", "x");
  test::WriteText(card / "SETUP" / "data_factory.cfg", "x");
  test::WriteText(card / "DATA_LOGGER" / "DATA_LOGGER.dir", "x");

  const std::vector<fs::path> files = CThumbnailPages::Collect(card);
  ASSERT_EQ(files.size(), 16u);
  // Sub-folders in name order: CAPTURE, EVENT, NORMAL.
  EXPECT_EQ(files[0], card / "CAPTURE" / "20240101_120000" / "a.JPG");
  EXPECT_EQ(files[1], card / "CAPTURE" / "20240101_120000" / "b.jpg");
  EXPECT_EQ(files[2], card / "EVENT" / "deep" / "20240101_130000_E1.MP4");
  EXPECT_EQ(files[3], card / "NORMAL" / Name(0));
  EXPECT_EQ(files[15], card / "NORMAL" / Name(12));

  CThumbnailPages pages;
  pages.Load(files);
  EXPECT_EQ(pages.PageCount(), 2);
  EXPECT_EQ(pages.Page(), 0);
  std::vector<fs::path> page = pages.PageFiles();
  ASSERT_EQ(page.size(), 10u);
  EXPECT_EQ(page.front(), files[0]);
  EXPECT_EQ(page.back(), files[9]);
  EXPECT_FALSE(pages.PreviousPage());
  EXPECT_EQ(pages.Page(), 0);
  EXPECT_TRUE(pages.NextPage());
  page = pages.PageFiles();
  ASSERT_EQ(page.size(), 6u);
  EXPECT_EQ(pages.FirstIndex(), 10);
  EXPECT_EQ(page.front(), files[10]);
  EXPECT_EQ(page.back(), files[15]);
  EXPECT_FALSE(pages.NextPage());
  EXPECT_EQ(pages.Page(), 1);
  EXPECT_TRUE(pages.PreviousPage());
  EXPECT_EQ(pages.PageFiles().front(), files[0]);
}

TEST(ThumbnailPages, ExactPagesEmptyCardAndKinds) {
  CThumbnailPages pages;
  EXPECT_EQ(pages.PageCount(), 1);
  EXPECT_TRUE(pages.PageFiles().empty());
  EXPECT_FALSE(pages.NextPage());
  EXPECT_FALSE(pages.PreviousPage());
  std::vector<fs::path> twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back(Name(i));
  pages.Load(twenty);
  EXPECT_EQ(pages.PageCount(), 2);
  EXPECT_TRUE(pages.NextPage());
  EXPECT_EQ(pages.PageFiles().size(), 10u);
  EXPECT_FALSE(pages.NextPage());
  pages.Load({Name(0)});  // a new load starts at the first page
  EXPECT_EQ(pages.Page(), 0);
  EXPECT_TRUE(CThumbnailPages::Collect("/nonexistent/card").empty());
  EXPECT_TRUE(CThumbnailPages::Details("/nonexistent/card/a.avi").empty());
  EXPECT_EQ(CThumbnailPages::KindOf("x/A.AVI"), ThumbnailKind::Recording);
  EXPECT_EQ(CThumbnailPages::KindOf("x/a.mp4"), ThumbnailKind::Recording);
  EXPECT_EQ(CThumbnailPages::KindOf("x/a.Jpg"), ThumbnailKind::Picture);
  EXPECT_EQ(CThumbnailPages::KindOf("x/a.jpeg.txt"), ThumbnailKind::Other);
  EXPECT_EQ(CThumbnailPages::KindOf("x/avi"), ThumbnailKind::Other);
}

TEST(ThumbnailDecoder, FitKeepsTheShapeAndNeverEnlarges) {
  int w = 0;
  int h = 0;
  CThumbnailDecoder::FitSize(1920, 1080, 112, 84, &w, &h);
  EXPECT_EQ(w, 112);
  EXPECT_EQ(h, 63);
  CThumbnailDecoder::FitSize(640, 480, 112, 84, &w, &h);
  EXPECT_EQ(w, 112);
  EXPECT_EQ(h, 84);
  CThumbnailDecoder::FitSize(480, 1000, 112, 84, &w, &h);  // tall
  EXPECT_EQ(h, 84);
  EXPECT_EQ(w, 40);
  CThumbnailDecoder::FitSize(100, 50, 112, 84, &w, &h);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 50);
  CThumbnailDecoder::FitSize(10000, 1, 112, 84, &w, &h);
  EXPECT_EQ(w, 112);
  EXPECT_EQ(h, 1);
}

class RecordingThumbnail : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingOptions options;
    options.seconds = 1;
    options.front_width = 320;
    options.front_height = 180;
    options.crf = 20;
    avi = dir.path() / "20240101_120000_N1.avi";
    std::string error;
    ASSERT_TRUE(WriteRecording(avi, options, &error)) << error;
  }
  // The first frame as the ffmpeg tool decodes it, RGB24.
  std::vector<std::uint8_t> ToolFrame(const fs::path& file) {
    const fs::path raw = dir.path() / "frame.rgb";
    const int rc =
        test::Run("ffmpeg -v error -y -i '" + file.string() +
                  "' -map 0:v:0 -frames:v 1 -f rawvideo -pix_fmt rgb24 '" + raw.string() + "'");
    if (rc != 0) return {};
    return test::ReadBytes(raw);
  }
  test::TempFolder dir;
  fs::path avi;
};

TEST_F(RecordingThumbnail, FirstKeyFrameMatchesTheToolsFirstFrame) {
  std::string error;
  const auto thumb = CThumbnailDecoder::FirstKeyFrame(avi, 320, 180, &error);
  ASSERT_TRUE(thumb) << error;
  ASSERT_EQ(thumb->width, 320);
  ASSERT_EQ(thumb->height, 180);
  const std::vector<std::uint8_t> expected = ToolFrame(avi);
  ASSERT_EQ(expected.size(), thumb->rgb.size());
  double sum = 0;
  int worst = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const int d = std::abs(int(expected[i]) - int(thumb->rgb[i]));
    sum += d;
    worst = std::max(worst, d);
  }
  EXPECT_LE(sum / static_cast<double>(expected.size()), 2.0);
  EXPECT_LE(worst, 16);
  // The picture is not flat: the comparison means something.
  const auto [lo, hi] = std::minmax_element(thumb->rgb.begin(), thumb->rgb.end());
  EXPECT_GT(int(*hi) - int(*lo), 100);
}

TEST_F(RecordingThumbnail, ScaledIntoTheBoxAndMp4Too) {
  std::string error;
  const auto small = CThumbnailSource::Make(avi, 112, 84, &error);
  ASSERT_TRUE(small) << error;
  EXPECT_EQ(small->width, 112);
  EXPECT_EQ(small->height, 63);
  EXPECT_EQ(small->rgb.size(), 112u * 63u * 3u);

  RecordingOptions options;
  options.seconds = 1;
  const fs::path mp4 = dir.path() / "clip.mp4";
  ASSERT_TRUE(WriteMp4Recording(mp4, options, &error)) << error;
  const auto fromMp4 = CThumbnailSource::Make(mp4, 112, 84, &error);
  ASSERT_TRUE(fromMp4) << error;
  EXPECT_EQ(fromMp4->width, 112);
}

TEST_F(RecordingThumbnail, DamagedFilesGiveNothing) {
  const std::vector<std::uint8_t> bytes = test::ReadBytes(avi);
  auto write = [&](const std::string& name, const std::vector<std::uint8_t>& data) {
    const fs::path p = dir.path() / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    return p;
  };
  std::mt19937 rng(7);
  std::vector<std::uint8_t> noise(64 * 1024);
  for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
  // The headers, cut where the chunk data begins (just after "movi").
  const std::string text(bytes.begin(), bytes.end());
  const std::size_t movi = text.find("movi");
  ASSERT_NE(movi, std::string::npos);
  std::vector<std::uint8_t> head(bytes.begin(),
                                 bytes.begin() + static_cast<std::ptrdiff_t>(movi + 4));
  // Headers intact, every picture byte after them scrambled.
  std::vector<std::uint8_t> scrambled = bytes;
  for (std::size_t i = 4096; i < scrambled.size(); ++i)
    scrambled[i] ^= static_cast<std::uint8_t>(rng());
  const std::vector<fs::path> bad = {write("head.avi", head), write("noise.avi", noise),
                                     write("empty.avi", {}), dir.path() / "missing.avi"};
  for (const fs::path& p : bad) {
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CThumbnailSource::Make(p, 112, 84, &error)) << p;
    EXPECT_FALSE(error.empty()) << p;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << p;
  }
  // A scrambled file may or may not give a picture, but never hangs or crashes.
  std::string error;
  const auto start = std::chrono::steady_clock::now();
  const auto maybe = CThumbnailSource::Make(write("scrambled.avi", scrambled), 112, 84, &error);
  if (maybe) {
    EXPECT_EQ(maybe->rgb.size(), std::size_t(maybe->width) * maybe->height * 3);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(RecordingThumbnail, CancelAbandonsTheDecode) {
  std::atomic<bool> cancel{true};
  ThumbnailLimits limits;
  limits.cancel = &cancel;
  std::string error;
  EXPECT_FALSE(CThumbnailDecoder::FirstKeyFrame(avi, 112, 84, &error, limits));
  cancel = false;
  EXPECT_TRUE(CThumbnailDecoder::FirstKeyFrame(avi, 112, 84, &error, limits)) << error;
}

TEST(StillThumbnail, CapturedPictureThroughOurDecoderAndBrokenOnesFail) {
  test::TempFolder dir;
  const std::vector<std::uint8_t> jpeg = test::MakeJpeg(dir.path(), 320, 240);
  ASSERT_FALSE(jpeg.empty());
  const fs::path pic = dir.path() / "pic320x240.jpg";
  std::string error;
  const auto thumb = CThumbnailSource::Make(pic, 112, 84, &error);
  ASSERT_TRUE(thumb) << error;
  EXPECT_EQ(thumb->width, 112);
  EXPECT_EQ(thumb->height, 84);
  // The test picture: red grows to the right, green downwards.
  auto at = [&](int x, int y, int c) { return int(thumb->rgb[(y * 112 + x) * 3 + c]); };
  EXPECT_LT(at(2, 42, 0), 40);
  EXPECT_GT(at(109, 42, 0), 215);
  EXPECT_LT(at(56, 2, 1), 40);
  EXPECT_GT(at(56, 81, 1), 215);

  const fs::path cut = dir.path() / "cut.jpg";
  std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), 100);
  EXPECT_FALSE(CThumbnailSource::Make(cut, 112, 84, &error));
  EXPECT_FALSE(error.empty());
  const std::vector<std::uint8_t> progressive = test::MakeJpeg(dir.path(), 64, 48, "-progressive");
  ASSERT_FALSE(progressive.empty());
  EXPECT_FALSE(CThumbnailSource::Make(dir.path() / "pic64x48.jpg", 112, 84, &error));
  EXPECT_NE(error.find("Prog + Huff is not supported"), std::string::npos) << error;
}

TEST(ThumbnailWorker, ReportsEveryFileAndDropsReplacedBatches) {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<std::uint64_t, int>> results;
  std::atomic<bool> sawCancel{false};
  CThumbnailWorker worker(
      [&](const fs::path& path, const std::atomic<bool>& cancel) -> std::optional<Thumbnail> {
        if (path == "slow") {
          // Holds until the batch is replaced.
          while (!cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
          sawCancel = true;
          return std::nullopt;
        }
        if (path == "bad") return std::nullopt;
        Thumbnail t;
        t.width = 1;
        t.height = 1;
        t.rgb = {1, 2, 3};
        return t;
      },
      [&](std::uint64_t batch, int index, std::optional<Thumbnail> picture) {
        std::lock_guard<std::mutex> lock(mutex);
        results.emplace_back(batch, picture ? index : -1 - index);
        changed.notify_all();
      });
  const std::uint64_t first = worker.Start({"a", "bad", "c"});
  worker.WaitIdle();
  {
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0], std::make_pair(first, 0));
    EXPECT_EQ(results[1], std::make_pair(first, -2));
    EXPECT_EQ(results[2], std::make_pair(first, 2));
    results.clear();
  }
  const std::uint64_t slow = worker.Start({"slow", "never"});
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const std::uint64_t third = worker.Start({"z"});
  EXPECT_GT(third, slow);
  worker.WaitIdle();
  EXPECT_TRUE(sawCancel);
  std::lock_guard<std::mutex> lock(mutex);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0], std::make_pair(third, 0));
}

}  // namespace
}  // namespace lumora
