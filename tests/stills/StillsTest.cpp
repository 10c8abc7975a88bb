// Stills: the bitmap a JPEG still becomes, where a recording's stills are
// found, and the size of a printed window.
#include "display/CDrawBitmap.h"
#include "display/CPrintScale.h"
#include "tests/support/Pictures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// Mode 0 copies out the whole picture, mode 1 640 x 480 x 3 bytes, mode 2
// 320 x 240 x 3, never more than the caller's buffer.
TEST(DrawBitmap, CopiesItsOwnPixelsUpToTheModeSize) {
  test::TempFolder dir;
  const auto small = test::MakeJpeg(dir.path(), 37, 21);
  const auto large = test::MakeJpeg(dir.path(), 720, 496);
  ASSERT_FALSE(small.empty() || large.empty());
  const struct {
    const std::vector<std::uint8_t>& jpeg;
    int mode;
    std::size_t room;
    long long copied;
  } rows[] = {{small, 0, 320 * 240 * 3, 112 * 21},  // rows of 37 * 3 padded to 112
              {large, 1, 640 * 480 * 3 + 16, 640 * 480 * 3},
              {large, 2, 320 * 240 * 3 + 16, 320 * 240 * 3},
              {large, 1, 1000, 1000},
              {large, 1, 0, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.room);
    CDrawBitmap bitmap;
    std::vector<std::uint8_t> dest(row.room + 8, 0x5A);
    EXPECT_EQ(bitmap.LoadFromMemory(row.jpeg.data(), row.jpeg.size(),
                                    row.room ? dest.data() : nullptr, row.room, row.mode),
              row.copied);
    EXPECT_EQ(std::memcmp(dest.data(), bitmap.Pixels(), row.copied), 0);
    EXPECT_EQ(std::vector<std::uint8_t>(dest.begin() + row.copied, dest.end()),
              std::vector<std::uint8_t>(dest.size() - row.copied, 0x5A));
  }
  // A 40-byte header (its size, width, height, one plane, 24 bits, the rest
  // 0) before bottom-up rows: the last stored row is the top, where green is 0.
  CDrawBitmap bitmap;
  ASSERT_EQ(bitmap.LoadFromMemory(small.data(), small.size(), nullptr, 0, 0), 0);
  std::vector<std::uint8_t> header(40, 0);
  header[0] = 40;
  header[4] = 37;
  header[8] = 21;
  header[12] = 1;
  header[14] = 24;
  ASSERT_EQ(bitmap.Block().size(), 40u + 112 * 21);
  EXPECT_EQ(bitmap.PixelDataSize(), 112u * 21);
  EXPECT_EQ(std::vector<std::uint8_t>(bitmap.Block().begin(), bitmap.Block().begin() + 40), header);
  EXPECT_EQ(bitmap.SourceRect().right, 38);
  EXPECT_EQ(bitmap.SourceRect().bottom, 22);
  EXPECT_EQ(bitmap.DestRect().right, 38);
  EXPECT_LT(bitmap.Pixels()[112 * 20 + 1], 40);
  EXPECT_GT(bitmap.Pixels()[1], 215);
}

// Bad pictures fail with the decoder's messages and leave the bitmap empty;
// a huge frame size is refused before anything is allocated.
TEST(DrawBitmap, BadPicturesFailCleanlyWithMessages) {
  test::TempFolder dir;
  const auto good = test::MakeJpeg(dir.path(), 48, 40);
  ASSERT_FALSE(good.empty());
  auto huge = good;
  for (std::size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      std::fill_n(huge.begin() + i + 5, 4, 0xFF);  // 65535 x 65535
      break;
    }
  }
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* message;  // the last one
  } rows[] = {{"junk", {1, 2, 3, 4, 5}, "Can not read the file header"},
              {"huge", huge, "The picture is too large to show"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CDrawBitmap bitmap;
    ASSERT_GT(bitmap.LoadFromMemory(good.data(), good.size(), nullptr, 0, 0), -1);
    std::vector<std::string> messages;
    std::vector<std::uint8_t> dest(64, 0);
    EXPECT_EQ(bitmap.LoadFromMemory(row.bytes.data(), row.bytes.size(), dest.data(), dest.size(), 0,
                                    [&](const std::string& m) { messages.push_back(m); }),
              -1);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(messages.empty() ? "" : messages.back(), row.message);
  }
}

// The area's share of its reference (1024 x 768 for a window, the screen
// otherwise) fitted to the page, never larger than the page.
TEST(PrintScale, PrintedSizeOnThePage) {
  using P = CPrintScale;
  const struct {
    int area, w, h, screenW, screenH, pageW, pageH, width, height;
  } rows[] = {
      {P::kWindow, 1024, 768, 1920, 1080, 4960, 7016, 4960, 3720},  // portrait A4
      {P::kWindow, 1024, 768, 1920, 1080, 7016, 4960, 6613, 4960},  // landscape
      {P::kClient, 960, 540, 1920, 1080, 7016, 4960, 3508, 1973},
      {P::kScreen, 1280, 1024, 1280, 1024, 7016, 4960, 6200, 4960},
      {P::kWindow, 2048, 768, 1920, 1080, 7016, 4960, 7016, 2631},  // wider: shrunk
      {P::kWindow, 0, 768, 1920, 1080, 7016, 4960, 0, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.area) + " " + std::to_string(row.w));
    const PrintSize p = CPrintScale::Compute(row.area, row.w, row.h, row.screenW, row.screenH,
                                             row.pageW, row.pageH);
    EXPECT_EQ(p.width, row.width);
    EXPECT_EQ(p.height, row.height);
  }
}

}  // namespace
}  // namespace lumora
