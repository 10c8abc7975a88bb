#include "display/CCaptureFolder.h"
#include "display/CDrawBitmap.h"
#include "display/CPrintScale.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TestSupport.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

TEST(DrawBitmap, SmallPictureCopiesOnlyItsOwnPixels) {
  test::TempFolder dir;
  const auto jpeg = test::MakeJpeg(dir.path(), 37, 21);
  ASSERT_FALSE(jpeg.empty());
  CDrawBitmap bitmap;
  std::vector<std::uint8_t> dest(320 * 240 * 3 + 64, 0xAB);
  const long long copied =
      bitmap.LoadFromMemory(jpeg.data(), jpeg.size(), dest.data(), dest.size(), 0);
  const std::size_t stride = (37 * 3 + 3) & ~3u;
  ASSERT_EQ(copied, static_cast<long long>(stride * 21));
  EXPECT_EQ(bitmap.PixelDataSize(), stride * 21);
  EXPECT_EQ(std::memcmp(dest.data(), bitmap.Pixels(), stride * 21), 0);
  for (std::size_t i = stride * 21; i < dest.size(); ++i) ASSERT_EQ(dest[i], 0xAB) << i;

  // The header: 40 bytes, size, one plane, 24 bits, no compression.
  const auto& block = bitmap.Block();
  ASSERT_EQ(block.size(), 40 + stride * 21);
  EXPECT_EQ(Get32(block.data()), 40u);
  EXPECT_EQ(Get32(block.data() + 4), 37u);
  EXPECT_EQ(Get32(block.data() + 8), 21u);
  EXPECT_EQ(block[12] | (block[13] << 8), 1);
  EXPECT_EQ(block[14] | (block[15] << 8), 24);
  for (int i = 16; i < 40; ++i) EXPECT_EQ(block[i], 0) << i;
  EXPECT_EQ(bitmap.SourceRect().right, 38);
  EXPECT_EQ(bitmap.SourceRect().bottom, 22);
  EXPECT_EQ(bitmap.DestRect().right, 38);

  // Bottom-up rows: the last stored row is the picture's top, where green is
  // 0; the first stored row is its bottom, where green is 255.
  const std::uint8_t* top = bitmap.Pixels() + stride * 20;
  const std::uint8_t* bottom = bitmap.Pixels();
  EXPECT_LT(top[1], 40);
  EXPECT_GT(bottom[1], 215);
}

TEST(DrawBitmap, LargePictureCopiesTheModeSizeAndNeverPastTheDestination) {
  test::TempFolder dir;
  const auto jpeg = test::MakeJpeg(dir.path(), 720, 496);
  ASSERT_FALSE(jpeg.empty());
  CDrawBitmap bitmap;
  std::vector<std::uint8_t> big(640 * 480 * 3 + 16, 0x5A);
  EXPECT_EQ(bitmap.LoadFromMemory(jpeg.data(), jpeg.size(), big.data(), big.size(), 1),
            640 * 480 * 3);
  for (std::size_t i = 640 * 480 * 3; i < big.size(); ++i) ASSERT_EQ(big[i], 0x5A);
  std::vector<std::uint8_t> small(320 * 240 * 3 + 16, 0x5A);
  EXPECT_EQ(bitmap.LoadFromMemory(jpeg.data(), jpeg.size(), small.data(), small.size(), 2),
            320 * 240 * 3);
  EXPECT_EQ(std::memcmp(small.data(), bitmap.Pixels(), 320 * 240 * 3), 0);
  for (std::size_t i = 320 * 240 * 3; i < small.size(); ++i) ASSERT_EQ(small[i], 0x5A);
  // A caller's buffer smaller than the copy is filled and not overrun.
  std::vector<std::uint8_t> tiny(1000 + 8, 0x11);
  EXPECT_EQ(bitmap.LoadFromMemory(jpeg.data(), jpeg.size(), tiny.data(), 1000, 1), 1000);
  for (std::size_t i = 1000; i < tiny.size(); ++i) ASSERT_EQ(tiny[i], 0x11);
  EXPECT_EQ(bitmap.LoadFromMemory(jpeg.data(), jpeg.size(), nullptr, 0, 1), 0);
  EXPECT_FALSE(bitmap.Empty());
  EXPECT_EQ(bitmap.Width(), 720);
}

TEST(DrawBitmap, BadPicturesFailCleanlyWithMessages) {
  test::TempFolder dir;
  CDrawBitmap bitmap;
  std::vector<std::string> messages;
  auto collect = [&](const std::string& m) { messages.push_back(m); };
  std::vector<std::uint8_t> dest(64, 0);
  const std::uint8_t junk[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(bitmap.LoadFromMemory(junk, sizeof junk, dest.data(), dest.size(), 0, collect), -1);
  EXPECT_TRUE(bitmap.Empty());
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "Can not read the file header");
  EXPECT_EQ(bitmap.LoadFromMemory(nullptr, 0, dest.data(), dest.size(), 0, collect), -1);

  messages.clear();
  const auto progressive = test::MakeJpeg(dir.path(), 32, 32, "-progressive");
  ASSERT_FALSE(progressive.empty());
  EXPECT_EQ(bitmap.LoadFromMemory(progressive.data(), progressive.size(), dest.data(), dest.size(),
                                  0, collect),
            -1);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "Prog + Huff is not supported");

  // A huge frame size in an otherwise valid header is refused before any
  // allocation.
  auto huge = test::MakeJpeg(dir.path(), 16, 16);
  ASSERT_FALSE(huge.empty());
  for (std::size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = huge[i + 6] = huge[i + 7] = huge[i + 8] = 0xFF;  // 65535 x 65535
      break;
    }
  }
  messages.clear();
  EXPECT_EQ(bitmap.LoadFromMemory(huge.data(), huge.size(), dest.data(), dest.size(), 0, collect),
            -1);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_FALSE(messages.empty());

  // Truncated and random data never crash and never leave a half bitmap.
  const auto good = test::MakeJpeg(dir.path(), 48, 40);
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    std::vector<std::uint8_t> bad(good.begin(), good.begin() + rng() % good.size());
    if (round % 2) {
      for (int k = 0; k < 8 && !bad.empty(); ++k) bad[rng() % bad.size()] = rng() & 0xFF;
    }
    const long long r = bitmap.LoadFromMemory(bad.data(), bad.size(), dest.data(), dest.size(), 0);
    EXPECT_EQ(r < 0, bitmap.Empty());
  }
}

TEST(CaptureFolder, FolderRuleAndCaseInsensitiveSearch) {
  test::TempFolder dir;
  const fs::path card = dir.path() / "card";
  const fs::path recording = card / "NORMAL" / "20150102_030405_N1.avi";
  test::WriteText(recording, "x");
  EXPECT_EQ(CCaptureFolder::FolderOf(recording), card / "CAPTURE");
  EXPECT_EQ(CCaptureFolder::KeyOf(recording), "20150102");
  test::WriteText(card / "capture" / "20150102_030405" / "20150102_030406.jpg", "a");
  test::WriteText(card / "capture" / "20150102_030405" / "20150102_030420.JPG", "b");
  test::WriteText(card / "capture" / "20150102_030405" / "notes.txt", "c");
  test::WriteText(card / "capture" / "20150102_030405" / "deeper" / "x.jpg", "d");
  test::WriteText(card / "capture" / "20150103_000000" / "20150103_000001.jpg", "e");
  test::WriteText(card / "capture" / "20150102.jpg", "f");
  EXPECT_EQ(CCaptureFolder::FolderOf(recording), card / "capture");
  const auto pictures = CCaptureFolder::FindPictures(recording);
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0].filename(), "20150102_030406.jpg");
  EXPECT_EQ(pictures[1].filename(), "20150102_030420.JPG");
  // The walk of the whole folder also finds pictures further down.
  const auto below = CCaptureFolder::FindPicturesBelow(card / "capture", "20150102");
  ASSERT_EQ(below.size(), 2u);
  EXPECT_EQ(CCaptureFolder::FindPicturesBelow(card / "capture", "20150103").size(), 1u);
  EXPECT_TRUE(
      CCaptureFolder::FindPictures(dir.path() / "x" / "y" / "20990101_000000_N1.avi").empty());
  EXPECT_TRUE(CCaptureFolder::IsPictureName("a.JpG"));
  EXPECT_FALSE(CCaptureFolder::IsPictureName("a.jpeg"));
  EXPECT_FALSE(CCaptureFolder::IsPictureName("jpg"));
}

TEST(CaptureFolder, StillsOfAGeneratedCardDecode) {
  test::TempFolder dir;
  const std::string mkcard = std::string(LUMORA_BINARY_DIR) + "/tools/mkcard/lumora-mkcard";
  ASSERT_EQ(test::Run("'" + mkcard + "' --seconds 2 --recordings 1 --no-mp4 '" +
                      (dir.path() / "card").string() + "' >/dev/null"),
            0);
  std::size_t found = 0;
  for (const auto& e : fs::recursive_directory_iterator(dir.path() / "card" / "NORMAL")) {
    if (e.path().extension() != ".avi") continue;
    for (const fs::path& picture : CCaptureFolder::FindPictures(e.path())) {
      ++found;
      const auto bytes = test::ReadBytes(picture);
      CDrawBitmap bitmap;
      std::vector<std::uint8_t> dest(320 * 240 * 3);
      EXPECT_GT(bitmap.LoadFromMemory(bytes.data(), bytes.size(), dest.data(), dest.size(), 0), 0)
          << picture;
      EXPECT_GT(bitmap.Width(), 0);
    }
  }
  EXPECT_GE(found, 2u);
}

TEST(PrintScale, WindowOnPortraitAndLandscapePages) {
  // A 1024 x 768 main window on an A4 page at 600 dpi.
  PrintSize p = CPrintScale::Compute(CPrintScale::kWindow, 1024, 768, 1920, 1080, 4960, 7016);
  EXPECT_DOUBLE_EQ(p.widthFactor, 1.0);
  EXPECT_NEAR(p.heightFactor, (4960.0 / 7016.0) / (1024.0 / 768.0), 1e-12);
  EXPECT_EQ(p.width, 4960);
  EXPECT_EQ(p.height, 3720);
  p = CPrintScale::Compute(CPrintScale::kWindow, 1024, 768, 1920, 1080, 7016, 4960);
  EXPECT_NEAR(p.widthFactor, (1024.0 / 768.0) / (7016.0 / 4960.0), 1e-12);
  EXPECT_DOUBLE_EQ(p.heightFactor, 1.0);
  EXPECT_EQ(p.width, 6613);
  EXPECT_EQ(p.height, 4960);
  // A half-size window prints at half the size.
  p = CPrintScale::Compute(CPrintScale::kWindow, 512, 384, 1920, 1080, 7016, 4960);
  EXPECT_EQ(p.width, 3307);
  EXPECT_EQ(p.height, 2480);
}

TEST(PrintScale, ScreenAreasAndFactorsAboveOne) {
  // A client area of half the screen: the screen is the reference.
  PrintSize p = CPrintScale::Compute(CPrintScale::kClient, 960, 540, 1920, 1080, 7016, 4960);
  EXPECT_DOUBLE_EQ(p.widthFactor, 0.5);
  EXPECT_NEAR(p.heightFactor, 0.5 * (7016.0 / 4960.0) / (1920.0 / 1080.0), 1e-12);
  EXPECT_EQ(p.width, 3508);
  EXPECT_EQ(p.height, 1973);
  p = CPrintScale::Compute(CPrintScale::kScreen, 1920, 1080, 1920, 1080, 7016, 4960);
  EXPECT_EQ(p.width, 7016);
  // A window wider than the reference: the larger factor becomes 1.
  p = CPrintScale::Compute(CPrintScale::kWindow, 2048, 768, 1920, 1080, 7016, 4960);
  EXPECT_DOUBLE_EQ(p.widthFactor, 1.0);
  EXPECT_NEAR(p.heightFactor, 1.0 / (2.0 * (1024.0 / 768.0) / (7016.0 / 4960.0)), 1e-12);
  EXPECT_EQ(p.width, 7016);
  EXPECT_EQ(p.height, 2631);
  // Nothing to print.
  p = CPrintScale::Compute(CPrintScale::kWindow, 0, 768, 1920, 1080, 7016, 4960);
  EXPECT_EQ(p.width, 0);
}

}  // namespace
}  // namespace lumora
