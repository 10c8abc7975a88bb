// Our JPEG decoder against djpeg, and its refusals with their messages.
// Damaged input at random is the fuzz corpus's (test_fuzz_replay).
#include "display/CJpegDecoder.h"
#include "tests/support/Cli.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace lumora {
namespace {

namespace fs = std::filesystem;

const fs::path kReal = fs::path(LUMORA_SHARED_DIR) / "testdata/real/jpeg";
constexpr std::uint8_t kFill = 0xAB;  // the row padding must keep it

struct Decoded {
  bool header = false;
  bool ok = false;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bits;  // bottom-up BGR rows padded to 4 bytes
  std::vector<std::string> messages;
};

Decoded Decode(const std::string& file) {
  Decoded d;
  CJpegDecoder decoder([&](const std::string& m) { d.messages.push_back(m); });
  d.header = decoder.ReadHeader(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  if (!d.header) return d;
  d.width = decoder.Width();
  d.height = decoder.Height();
  d.bits.assign(CJpegDecoder::RowStride(d.width) * d.height, kFill);
  d.ok = decoder.Decode(d.bits.data(), d.bits.size());
  return d;
}

// Compares with a binary PPM (top-down RGB): mean and largest difference.
void ExpectMatches(const Decoded& d, const fs::path& ppm, double meanLimit = 2.0,
                   int worstLimit = 8) {
  ASSERT_TRUE(d.ok);
  const std::string ref = test::ReadFile(ppm);
  std::istringstream in(ref);
  std::string magic;
  int w = 0, h = 0, maxval = 0;
  in >> magic >> w >> h >> maxval;
  const std::size_t start = static_cast<std::size_t>(in.tellg()) + 1;
  ASSERT_EQ(d.width, w);
  ASSERT_EQ(d.height, h);
  ASSERT_EQ(ref.size(), start + 3u * w * h);
  const std::size_t stride = CJpegDecoder::RowStride(w);
  double sum = 0;
  int worst = 0;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* row = d.bits.data() + stride * (h - 1 - y);
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        const int theirs = static_cast<std::uint8_t>(ref[start + (y * w + x) * 3 + c]);
        const int diff = std::abs(row[x * 3 + 2 - c] - theirs);
        sum += diff;
        worst = std::max(worst, diff);
      }
    for (std::size_t p = w * 3u; p < stride; ++p) ASSERT_EQ(row[p], kFill) << "row " << y;
  }
  EXPECT_LE(sum / (3.0 * w * h), meanLimit);
  EXPECT_LE(worst, worstLimit);
}

// Renumbers table 1 as quantisation table 3 and Huffman table 2, in the
// tables and in the frame and scan headers that select them.
std::string MoveChromaTables(std::string f) {
  for (std::size_t p = 2; p + 4 <= f.size() && static_cast<std::uint8_t>(f[p]) == 0xFF;) {
    const int marker = static_cast<std::uint8_t>(f[p + 1]);
    const std::size_t length =
        static_cast<std::uint8_t>(f[p + 2]) << 8 | static_cast<std::uint8_t>(f[p + 3]);
    auto* s = reinterpret_cast<std::uint8_t*>(&f[p + 4]);
    if (marker == 0xDB) {
      for (std::size_t i = 0; i < length - 2; i += 65) s[i] = s[i] == 1 ? 3 : s[i];
    } else if (marker == 0xC4) {
      for (std::size_t i = 0; i < length - 2;) {
        int total = 0;
        for (int l = 1; l <= 16; ++l) total += s[i + l];
        if ((s[i] & 0x0F) == 1) s[i] = static_cast<std::uint8_t>((s[i] & 0xF0) | 2);
        i += 17 + total;
      }
    } else if (marker == 0xC0) {
      for (int c = 0; c < s[5]; ++c) s[8 + 3 * c] = s[8 + 3 * c] == 1 ? 3 : s[8 + 3 * c];
    } else if (marker == 0xDA) {
      for (int c = 0; c < s[0]; ++c) s[2 + 2 * c] = s[2 + 2 * c] == 0x11 ? 0x22 : s[2 + 2 * c];
      break;
    }
    p += 2 + length;
  }
  return f;
}

bool Ok(const std::string& command) { return test::RunCommand(command).exitCode == 0; }

// libjpeg-turbo's pictures and an odd-sized one through cjpeg, each and its
// copy with moved tables compared with djpeg (integer transform, replicated
// chroma), with the messages that announce other samplings and restarts
// (one restart row of the 37-pixel 1x2 picture is 5 MCUs).
TEST(JpegDecoder, PicturesMatchDjpeg) {
  test::TempFolder dir;
  std::string ppm = "P6\n37 23\n255\n";
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) ppm += {char(x * 7), char(y * 11), char((x * y) & 0xFF)};
  const fs::path source = dir.Write("src.ppm", ppm);
  const struct {
    const char *real, *options;  // a real picture, or cjpeg's options
    std::vector<std::string> messages;
    double mean = 2;
    int worst = 8;
  } rows[] = {
      {"testorig.jpg", "", {}},  // 4:2:0
      {"testorig_rst1row.jpg", "", {"restart_interval=15"}},
      {"testorig_rst7B.jpg", "", {"restart_interval=7"}},  // restarts mid-row
      {"testimg444.jpg", "", {"comp 0 samp_factor = 17"}},
      {"testimg444_rst5B.jpg", "", {"comp 0 samp_factor = 17", "restart_interval=5"}},
      {nullptr, "-sample 2x2 -restart 2B", {"restart_interval=2"}},
      {nullptr, "-sample 1x1 -restart 3B", {"comp 0 samp_factor = 17", "restart_interval=3"}},
      {nullptr, "-quality 95", {}},
      {nullptr, "-qslots 0,0,0", {}},  // one table for all, as the camera's stills
      {nullptr, "-sample 2x1", {"comp 0 samp_factor = 33"}},
      {nullptr, "-sample 1x2 -restart 1", {"comp 0 samp_factor = 18", "restart_interval=5"}},
      {nullptr, "-sample 2x1 -qslots 0,0,0", {"comp 0 samp_factor = 33"}},
      {nullptr, "-quality 100", {}, 4, 24},  // every quantiser 1: our rounding shows
  };
  const fs::path jpg = dir / "pic.jpg";
  const fs::path moved = dir / "moved.jpg";
  const fs::path ref = dir / "ref.ppm";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.real ? row.real : row.options);
    if (row.real) {
      fs::copy_file(kReal / row.real, jpg, fs::copy_options::overwrite_existing);
    } else {
      ASSERT_TRUE(Ok("cjpeg -dct int " + std::string(row.options) + " -outfile " +
                     test::Quote(jpg) + " " + test::Quote(source)));
    }
    test::WriteFile(moved, MoveChromaTables(test::ReadFile(jpg)));
    for (const fs::path& file : {jpg, moved}) {
      ASSERT_TRUE(Ok("djpeg -dct int -nosmooth -ppm -outfile " + test::Quote(ref) + " " +
                     test::Quote(file)));
      const Decoded d = Decode(test::ReadFile(file));
      EXPECT_EQ(d.messages, row.messages);
      ExpectMatches(d, ref, row.mean, row.worst);
    }
  }
}

TEST(JpegDecoder, RefusalsAndTheirMessages) {
  const std::string good = test::ReadFile(kReal / "testorig.jpg");
  const std::string kNoHeader = "Can not read the file header";
  const struct {
    std::string bytes;
    std::vector<std::string> messages;
  } rows[] = {
      {test::ReadFile(kReal / "testimgp.jpg"), {"Prog + Huff is not supported", kNoHeader}},
      {test::ReadFile(kReal / "testimgari.jpg"),
       {"sequential + Arith is not supported", kNoHeader}},
      {test::ReadFile(kReal / "monkey12.jpg"), {kNoHeader}},  // 12-bit samples
      {test::ReadFile(kReal / "testorig12.jpg"), {kNoHeader}},
      {"", {kNoHeader}},
      {std::string("\x00\x01\x02", 3), {kNoHeader}},
      {"\xFF\xD8\xFF\xD9", {kNoHeader}},  // no frame
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    const Decoded d = Decode(row.bytes);
    EXPECT_FALSE(d.header);
    EXPECT_EQ(d.messages, row.messages);
  }
  // Cut anywhere: the header or the scan fails, a cut picture never passes.
  for (std::size_t cut = 0; cut < good.size() - 2; cut += 97) {
    const Decoded d = Decode(good.substr(0, cut));
    EXPECT_FALSE(d.header && d.ok) << "cut at " << cut;
  }
  // A destination one row short is refused.
  CJpegDecoder decoder;
  ASSERT_TRUE(decoder.ReadHeader(reinterpret_cast<const std::uint8_t*>(good.data()), good.size()));
  std::vector<std::uint8_t> small(CJpegDecoder::RowStride(227) * 148);
  EXPECT_FALSE(decoder.Decode(small.data(), small.size()));
}

// lumora-cli jpeg writes a 24-bit BMP (rows of 684 bytes) or exits with 2.
TEST(JpegCli, WritesBmpOrRefusesWithExitCodeTwo) {
  test::TempFolder dir;
  const fs::path out = dir / "out.bmp";
  for (const auto& [in, code] : {std::pair{kReal / "missing.jpg", 2},
                                 {kReal / "testimgp.jpg", 2},
                                 {kReal / "testorig.jpg", 0}}) {
    EXPECT_EQ(test::RunCli("jpeg " + test::Quote(in) + " " + test::Quote(out)).exitCode, code)
        << in;
    EXPECT_EQ(fs::exists(out), code == 0);
  }
  const std::string bmp = test::ReadFile(out);
  EXPECT_EQ(bmp.size(), 14u + 40u + 684u * 149u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(bmp.substr(18, 8), std::string("\xE3\0\0\0\x95\0\0\0", 8));  // 227 x 149
}

}  // namespace
}  // namespace lumora
