// Thumbnail pages, pictures (a recording's first frame as ffmpeg decodes it,
// nothing from damaged files) and the worker that drops replaced pages.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>
#include <tuple>

#include "display/CThumbnailSource.h"
#include "engine/CThumbnailDecoder.h"
#include "engine/CThumbnailWorker.h"
#include "library/CThumbnailPages.h"
#include "tests/support/Cli.h"
#include "tests/support/Pictures.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(ThumbnailPages, SubFolderRecordingsAndPicturesTenToAPage) {
  TempFolder dir;
  for (int i = 10; i < 23; ++i)
    dir.File("card/NORMAL/20240101_12" + std::to_string(i) + "00_N1.avi", 1);
  // Pictures and recordings in any case; not the root's files nor others.
  for (const char* name :
       {"card/EVENT/deep/20240101_130000_E1.MP4", "card/CAPTURE/20240101_120000/a.JPG",
        "card/CAPTURE/20240101_120000/b.jpg", "card/root.avi", "card/SETUP/data_factory.cfg",
        "card/DATA_LOGGER/DATA_LOGGER.dir"})
    dir.File(name, 1);
  const fs::path card = dir / "card";
  const std::vector<fs::path> files = CThumbnailPages::Collect(card);
  ASSERT_EQ(files.size(), 16u);  // sub-folders in name order: CAPTURE, EVENT, NORMAL
  EXPECT_EQ(files[1], card / "CAPTURE/20240101_120000/b.jpg");
  EXPECT_EQ(files[2], card / "EVENT/deep/20240101_130000_E1.MP4");
  EXPECT_EQ(files[15], card / "NORMAL/20240101_122200_N1.avi");

  CThumbnailPages pages;
  EXPECT_EQ(pages.PageCount(), 1);
  EXPECT_TRUE(pages.PageFiles().empty());
  pages.Load(files);
  EXPECT_EQ(pages.PageCount(), 2);
  EXPECT_FALSE(pages.PreviousPage());
  EXPECT_EQ(pages.PageFiles(), std::vector<fs::path>(files.begin(), files.begin() + 10));
  EXPECT_TRUE(pages.NextPage());
  EXPECT_EQ(pages.FirstIndex(), 10);
  EXPECT_EQ(pages.PageFiles(), std::vector<fs::path>(files.begin() + 10, files.end()));
  EXPECT_FALSE(pages.NextPage());
  EXPECT_EQ(pages.Page(), 1);
  pages.Load(std::vector<fs::path>(files.begin(), files.begin() + 10));  // starts at page 0
  EXPECT_EQ(std::make_pair(pages.Page(), pages.PageCount()), std::make_pair(0, 1));
  EXPECT_TRUE(CThumbnailPages::Collect("/nonexistent/card").empty());

  // Name, local date of the last change and size in KiB.
  const fs::path file = dir.File("details.avi", 2048 + 100);
  using namespace std::chrono;
  const system_clock::time_point noon = sys_days(year(2015) / 1 / 2) + hours(12);
  fs::last_write_time(file, fs::file_time_type::clock::from_sys(noon));
  EXPECT_EQ(CThumbnailPages::Details(file), "details.avi\n15.01.02  2 KB");
  EXPECT_TRUE(CThumbnailPages::Details(dir / "missing.avi").empty());
}

TEST(ThumbnailDecoder, FitKeepsTheShapeAndNeverEnlarges) {
  // Source width and height, fitted width and height.
  const std::tuple<int, int, int, int> rows[] = {
      {1920, 1080, 112, 63}, {480, 1000, 40, 84}, {100, 50, 100, 50}, {10000, 1, 112, 1}};
  for (const auto& [sourceW, sourceH, fitW, fitH] : rows) {
    int w = 0, h = 0;
    CThumbnailDecoder::FitSize(sourceW, sourceH, 112, 84, &w, &h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(fitW, fitH)) << sourceW << "x" << sourceH;
  }
}

class RecordingThumbnail : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingOptions options;
    options.seconds = 1;
    options.front_width = 320;
    options.front_height = 180;
    options.crf = 20;
    std::string error;
    ASSERT_TRUE(WriteRecording(avi, options, &error)) << error;
  }
  TempFolder dir;
  fs::path avi = dir / "20240101_120000_N1.avi";
};

TEST_F(RecordingThumbnail, FirstKeyFrameMatchesTheToolsFirstFrame) {
  std::string error;
  const auto thumb = CThumbnailDecoder::FirstKeyFrame(avi, 320, 180, &error);
  ASSERT_TRUE(thumb) << error;
  ASSERT_EQ(std::make_pair(thumb->width, thumb->height), std::make_pair(320, 180));
  const fs::path raw = dir / "frame.rgb";
  const std::string tool = "ffmpeg -nostdin -v error -y -i " + test::Quote(avi) +
                           " -map 0:v:0 -frames:v 1 -f rawvideo -pix_fmt rgb24 " + test::Quote(raw);
  ASSERT_EQ(test::RunCommand(tool).exitCode, 0);
  const std::string expected = test::ReadFile(raw);
  ASSERT_EQ(expected.size(), thumb->rgb.size());
  double sum = 0;
  int worst = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const int d = std::abs(int(std::uint8_t(expected[i])) - int(thumb->rgb[i]));
    sum += d;
    worst = std::max(worst, d);
  }
  EXPECT_LE(sum / static_cast<double>(expected.size()), 2.0);
  EXPECT_LE(worst, 16);
  // The picture is not flat: the comparison means something.
  const auto [lo, hi] = std::minmax_element(thumb->rgb.begin(), thumb->rgb.end());
  EXPECT_GT(int(*hi) - int(*lo), 100);
  // Scaled into the thumbnail box, and from an MP4 file too.
  const auto small = CThumbnailSource::Make(avi, 112, 84, &error);
  ASSERT_TRUE(small) << error;
  EXPECT_EQ(std::make_pair(small->width, small->height), std::make_pair(112, 63));
  RecordingOptions options;
  options.seconds = 1;
  ASSERT_TRUE(WriteMp4Recording(dir / "clip.mp4", options, &error)) << error;
  const auto fromMp4 = CThumbnailSource::Make(dir / "clip.mp4", 112, 84, &error);
  ASSERT_TRUE(fromMp4) << error;
  EXPECT_EQ(fromMp4->width, 112);
}

TEST_F(RecordingThumbnail, DamagedFilesGiveNothingAndCancelAbandonsTheDecode) {
  const std::string bytes = test::ReadFile(avi);
  std::mt19937 rng(7);
  std::string noise(64 * 1024, '\0');
  for (char& b : noise) b = static_cast<char>(rng());
  const std::size_t movi = bytes.find("movi");
  ASSERT_NE(movi, std::string::npos);
  // The headers cut where the chunk data begins, noise, nothing, no file.
  std::string error;
  for (const fs::path& p :
       {dir.Write("head.avi", bytes.substr(0, movi + 4)), dir.Write("noise.avi", noise),
        dir.Write("empty.avi", ""), dir / "missing.avi"}) {
    error.clear();
    EXPECT_FALSE(CThumbnailSource::Make(p, 112, 84, &error)) << p;
    EXPECT_FALSE(error.empty()) << p;
  }
  std::atomic<bool> cancel{true};
  ThumbnailLimits limits;
  limits.cancel = &cancel;
  EXPECT_FALSE(CThumbnailDecoder::FirstKeyFrame(avi, 112, 84, &error, limits));
  cancel = false;
  EXPECT_TRUE(CThumbnailDecoder::FirstKeyFrame(avi, 112, 84, &error, limits)) << error;
}

TEST(StillThumbnail, CapturedPictureThroughOurDecoderAndBrokenOnesFail) {
  TempFolder dir;
  const std::vector<std::uint8_t> jpeg = test::MakeJpeg(dir.path(), 320, 240);
  ASSERT_FALSE(jpeg.empty());
  std::string error;
  const auto thumb = CThumbnailSource::Make(dir / "pic320x240.jpg", 112, 84, &error);
  ASSERT_TRUE(thumb) << error;
  EXPECT_EQ(std::make_pair(thumb->width, thumb->height), std::make_pair(112, 84));
  // The test picture: red grows to the right, green downwards.
  auto at = [&](int x, int y, int c) { return int(thumb->rgb[(y * 112 + x) * 3 + c]); };
  EXPECT_LT(at(2, 42, 0), 40);
  EXPECT_GT(at(109, 42, 0), 215);
  EXPECT_LT(at(56, 2, 1), 40);
  EXPECT_GT(at(56, 81, 1), 215);
  const fs::path cut = dir.Write("cut.jpg", std::string(jpeg.begin(), jpeg.begin() + 100));
  EXPECT_FALSE(CThumbnailSource::Make(cut, 112, 84, &error));
  EXPECT_FALSE(error.empty());
}

TEST(ThumbnailWorker, ReportsEveryFileAndDropsReplacedBatches) {
  // Results are read after WaitIdle, which follows every report.
  using Results = std::vector<std::pair<std::uint64_t, int>>;
  Results results;
  std::atomic<bool> sawCancel{false};
  CThumbnailWorker worker(
      [&](const fs::path& path, const std::atomic<bool>& cancel) -> std::optional<Thumbnail> {
        if (path == "slow") {  // holds until the batch is replaced
          while (!cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
          sawCancel = true;
          return std::nullopt;
        }
        if (path == "bad") return std::nullopt;
        return Thumbnail{1, 1, {1, 2, 3}};
      },
      [&](std::uint64_t batch, int index, std::optional<Thumbnail> picture) {
        results.emplace_back(batch, picture ? index : -1 - index);
      });
  const std::uint64_t first = worker.Start({"a", "bad", "c"});
  worker.WaitIdle();
  EXPECT_EQ(results, (Results{{first, 0}, {first, -2}, {first, 2}}));
  results.clear();
  const std::uint64_t slow = worker.Start({"slow", "never"});
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const std::uint64_t third = worker.Start({"z"});
  EXPECT_GT(third, slow);
  worker.WaitIdle();
  EXPECT_TRUE(sawCancel);
  EXPECT_EQ(results, (Results{{third, 0}}));
}

}  // namespace
}  // namespace lumora
