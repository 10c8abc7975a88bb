#include "display/CJpegDecoder.h"
#include "tools/mkcard/SampleCard.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace lumora {
namespace {

namespace fs = std::filesystem;

const fs::path kRealJpeg = fs::path(LUMORA_SHARED_DIR) / "testdata/real/jpeg";

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // top-down R, G, B
};

Image ReadPpm(const fs::path& path) {
  Image img;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> img.width >> img.height >> maxval;
  in.get();
  img.rgb.resize(static_cast<std::size_t>(img.width) * img.height * 3);
  in.read(reinterpret_cast<char*>(img.rgb.data()), static_cast<std::streamsize>(img.rgb.size()));
  return img;
}

void WritePpm(const fs::path& path, const Image& img) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << img.width << " " << img.height << "\n255\n";
  out.write(reinterpret_cast<const char*>(img.rgb.data()),
            static_cast<std::streamsize>(img.rgb.size()));
}

struct Decoded {
  bool header = false;
  bool ok = false;
  int width = 0;
  int height = 0;
  int mcu = 0;
  std::vector<std::uint8_t> bits;  // bottom-up BGR with padding
  std::vector<std::string> messages;
};

Decoded Decode(const std::vector<std::uint8_t>& file, std::uint8_t fill = 0) {
  Decoded d;
  CJpegDecoder decoder([&](const std::string& m) { d.messages.push_back(m); });
  d.header = decoder.ReadHeader(file.data(), file.size());
  if (!d.header) return d;
  d.width = decoder.Width();
  d.height = decoder.Height();
  d.mcu = decoder.McuEdge();
  d.bits.assign(CJpegDecoder::RowStride(d.width) * d.height, fill);
  d.ok = decoder.Decode(d.bits.data(), d.bits.size());
  return d;
}

// Mean and largest absolute difference against a top-down RGB reference.
std::pair<double, int> Compare(const Decoded& d, const Image& ref) {
  EXPECT_EQ(d.width, ref.width);
  EXPECT_EQ(d.height, ref.height);
  const std::size_t stride = CJpegDecoder::RowStride(d.width);
  double sum = 0;
  int worst = 0;
  for (int y = 0; y < ref.height; ++y) {
    const std::uint8_t* row = d.bits.data() + stride * (ref.height - 1 - y);
    for (int x = 0; x < ref.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int ours = row[x * 3 + (2 - c)];
        const int theirs = ref.rgb[(static_cast<std::size_t>(y) * ref.width + x) * 3 + c];
        const int diff = std::abs(ours - theirs);
        sum += diff;
        worst = std::max(worst, diff);
      }
    }
  }
  return {sum / (3.0 * ref.width * ref.height), worst};
}

void ExpectClose(const Decoded& d, const Image& ref) {
  ASSERT_TRUE(d.ok);
  auto [mean, worst] = Compare(d, ref);
  EXPECT_LE(mean, 2.0);
  EXPECT_LE(worst, 8);
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Renumbers table 1 as quantisation table 3 and Huffman table 2, in the
// tables and in the frame and scan headers that select them.
std::vector<std::uint8_t> MoveChromaTables(std::vector<std::uint8_t> f) {
  for (std::size_t p = 2; p + 4 <= f.size() && f[p] == 0xFF;) {
    const int marker = f[p + 1];
    const std::size_t length = static_cast<std::size_t>(f[p + 2] << 8 | f[p + 3]);
    std::uint8_t* s = &f[p + 4];
    const std::size_t body = length - 2;
    if (marker == 0xDB) {
      for (std::size_t i = 0; i < body; i += 65) s[i] = s[i] == 1 ? 3 : s[i];
    } else if (marker == 0xC4) {
      for (std::size_t i = 0; i < body;) {
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

bool HaveTool(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(JpegDecoder, BaselineFourTwoZeroMatchesReference) {
  Decoded d = Decode(ReadFile(kRealJpeg / "testorig.jpg"));
  ASSERT_TRUE(d.header);
  EXPECT_EQ(d.width, 227);
  EXPECT_EQ(d.height, 149);
  EXPECT_EQ(d.mcu, 16);
  EXPECT_TRUE(d.messages.empty());
  ExpectClose(d, ReadPpm(kRealJpeg / "testorig.islow.nosmooth.ppm"));
}

TEST(JpegDecoder, RestartIntervalsAreAnnouncedAndDecoded) {
  const Image ref = ReadPpm(kRealJpeg / "testorig.islow.nosmooth.ppm");
  Decoded rows = Decode(ReadFile(kRealJpeg / "testorig_rst1row.jpg"));
  ASSERT_EQ(rows.messages.size(), 1u);
  EXPECT_EQ(rows.messages[0], "restart_interval=15");
  ExpectClose(rows, ref);

  Decoded mid = Decode(ReadFile(kRealJpeg / "testorig_rst7B.jpg"));
  ASSERT_EQ(mid.messages.size(), 1u);
  EXPECT_EQ(mid.messages[0], "restart_interval=7");
  ExpectClose(mid, ref);
}

TEST(JpegDecoder, FourFourFourUsesEightPixelMcus) {
  const Image ref = ReadPpm(kRealJpeg / "testimg444.islow.ppm");
  Decoded d = Decode(ReadFile(kRealJpeg / "testimg444.jpg"));
  ASSERT_EQ(d.messages.size(), 1u);
  EXPECT_EQ(d.messages[0], "comp 0 samp_factor = 17");
  EXPECT_EQ(d.mcu, 8);
  ExpectClose(d, ref);

  Decoded rst = Decode(ReadFile(kRealJpeg / "testimg444_rst5B.jpg"));
  ASSERT_EQ(rst.messages.size(), 2u);
  EXPECT_EQ(rst.messages[1], "restart_interval=5");
  ExpectClose(rst, ref);
}

TEST(JpegDecoder, UnsupportedProcessesAreRefusedWithTheirMessages) {
  Decoded prog = Decode(ReadFile(kRealJpeg / "testimgp.jpg"));
  EXPECT_FALSE(prog.header);
  EXPECT_EQ(prog.messages, (std::vector<std::string>{"Prog + Huff is not supported",
                                                     "Can not read the file header"}));

  Decoded arith = Decode(ReadFile(kRealJpeg / "testimgari.jpg"));
  EXPECT_FALSE(arith.header);
  ASSERT_FALSE(arith.messages.empty());
  EXPECT_EQ(arith.messages.front(), "sequential + Arith is not supported");
  EXPECT_EQ(arith.messages.back(), "Can not read the file header");

  // Twelve-bit samples cannot be shown as 8-bit pixels.
  for (const char* name : {"monkey12.jpg", "testorig12.jpg"}) {
    Decoded twelve = Decode(ReadFile(kRealJpeg / name));
    EXPECT_FALSE(twelve.header) << name;
    EXPECT_EQ(twelve.messages.back(), "Can not read the file header");
  }
}

TEST(JpegDecoder, RowsAreBottomUpAndPaddingIsLeftAlone) {
  Decoded d = Decode(ReadFile(kRealJpeg / "testorig.jpg"), 0xAB);
  ASSERT_TRUE(d.ok);
  const std::size_t stride = CJpegDecoder::RowStride(227);
  ASSERT_EQ(stride, 684u);
  for (int y = 0; y < d.height; ++y) {
    for (std::size_t p = 227 * 3; p < stride; ++p) EXPECT_EQ(d.bits[stride * y + p], 0xAB);
  }
  // The top-left pixel of the picture lives in the last stored row.
  const Image ref = ReadPpm(kRealJpeg / "testorig.islow.nosmooth.ppm");
  const std::uint8_t* last = d.bits.data() + stride * (d.height - 1);
  EXPECT_NEAR(last[2], ref.rgb[0], 8);
  EXPECT_NEAR(last[1], ref.rgb[1], 8);
  EXPECT_NEAR(last[0], ref.rgb[2], 8);
}

TEST(JpegDecoder, BrokenInputFailsCleanly) {
  const std::vector<std::uint8_t> good = ReadFile(kRealJpeg / "testorig.jpg");
  EXPECT_FALSE(Decode({}).header);
  EXPECT_FALSE(Decode({0x00, 0x01, 0x02}).header);
  EXPECT_FALSE(Decode({0xFF, 0xD8, 0xFF, 0xD9}).header);

  // Cut anywhere: the header or the scan fails, never both succeed.
  for (std::size_t cut = 0; cut < good.size() - 2; cut += 97) {
    std::vector<std::uint8_t> part(good.begin(), good.begin() + static_cast<long>(cut));
    Decoded d = Decode(part);
    EXPECT_FALSE(d.header && d.ok) << "cut at " << cut;
  }

  // Random damage must never crash or read out of bounds.
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::uint8_t> bad = good;
    const int hits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < hits; ++i) bad[rng() % bad.size()] = static_cast<std::uint8_t>(rng());
    (void)Decode(bad);
  }
  SUCCEED();
}

TEST(JpegDecoder, DestinationTooSmallIsRefused) {
  const std::vector<std::uint8_t> file = ReadFile(kRealJpeg / "testorig.jpg");
  CJpegDecoder decoder;
  ASSERT_TRUE(decoder.ReadHeader(file.data(), file.size()));
  std::vector<std::uint8_t> small(CJpegDecoder::RowStride(227) * 148);
  EXPECT_FALSE(decoder.Decode(small.data(), small.size()));
}

// Pictures made here by cjpeg with odd sizes, both samplings and restarts,
// compared with djpeg's integer transform and replicated chroma.
TEST(JpegDecoder, CjpegPicturesMatchDjpeg) {
  if (!HaveTool("cjpeg") || !HaveTool("djpeg")) GTEST_SKIP() << "libjpeg-turbo-progs missing";
  const fs::path dir = fs::temp_directory_path() / ("lumora-jpeg-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  Image src;
  src.width = 37;
  src.height = 23;
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      src.rgb.push_back(static_cast<std::uint8_t>(x * 7));
      src.rgb.push_back(static_cast<std::uint8_t>(y * 11));
      src.rgb.push_back(static_cast<std::uint8_t>((x * y) & 0xFF));
    }
  WritePpm(dir / "src.ppm", src);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"420", "-sample 2x2"},
      {"444", "-sample 1x1"},
      {"420rst", "-sample 2x2 -restart 2B"},
      {"444rst", "-sample 1x1 -restart 3B"},
      {"q95", "-quality 95"},
      // One quantisation table for all components (as the camera's stills),
      // 4:2:2 and 4:4:0 luma sampling.
      {"oneq", "-qslots 0,0,0"},
      {"422", "-sample 2x1"},
      {"440", "-sample 1x2 -restart 1"},
      {"422oneq", "-sample 2x1 -qslots 0,0,0"}};
  for (const auto& [name, options] : cases) {
    const fs::path jpg = dir / (name + ".jpg");
    const fs::path ppm = dir / (name + ".ppm");
    ASSERT_EQ(std::system(("cjpeg -dct int " + options + " -outfile " + jpg.string() + " " +
                           (dir / "src.ppm").string())
                              .c_str()),
              0);
    ASSERT_EQ(
        std::system(("djpeg -dct int -nosmooth -ppm -outfile " + ppm.string() + " " + jpg.string())
                        .c_str()),
        0);
    Decoded d = Decode(ReadFile(jpg));
    ASSERT_TRUE(d.header) << name;
    SCOPED_TRACE(name);
    ExpectClose(d, ReadPpm(ppm));
    // The same picture with its chroma tables moved to ids 3 (quantisation)
    // and 2 (Huffman): djpeg and the decoder follow the headers.
    const fs::path moved = dir / (name + "-moved.jpg");
    WriteBytes(moved, MoveChromaTables(ReadFile(jpg)));
    ASSERT_EQ(std::system(
                  ("djpeg -nosmooth -ppm -outfile " + ppm.string() + " " + moved.string()).c_str()),
              0);
    ExpectClose(Decode(ReadFile(moved)), ReadPpm(ppm));
  }
  // At quality 100 every quantiser is 1 and the fast transform's rounding
  // shows more; the picture must still be close.
  ASSERT_EQ(std::system(("cjpeg -quality 100 -outfile " + (dir / "q100.jpg").string() + " " +
                         (dir / "src.ppm").string())
                            .c_str()),
            0);
  ASSERT_EQ(std::system(("djpeg -dct int -nosmooth -ppm -outfile " + (dir / "q100.ppm").string() +
                         " " + (dir / "q100.jpg").string())
                            .c_str()),
            0);
  Decoded q100 = Decode(ReadFile(dir / "q100.jpg"));
  ASSERT_TRUE(q100.ok);
  auto [mean, worst] = Compare(q100, ReadPpm(dir / "q100.ppm"));
  EXPECT_LE(mean, 4.0);
  EXPECT_LE(worst, 24);
  fs::remove_all(dir);
}

// The sample card's CAPTURE stills name one quantisation table for all three
// components: decoded in colour, as djpeg shows them.
TEST(JpegDecoder, SampleCardStillsMatchDjpeg) {
  if (!HaveTool("djpeg")) GTEST_SKIP() << "libjpeg-turbo-progs missing";
  const fs::path dir = fs::temp_directory_path() / ("lumora-stills-" + std::to_string(::getpid()));
  CardOptions options;
  options.recordings = 1;
  options.seconds = 2;
  options.fps = 5;
  options.front_width = options.rear_width = 160;
  options.front_height = options.rear_height = 96;
  options.with_mp4 = false;
  CardTruth truth;
  std::string error;
  ASSERT_TRUE(MakeCard(dir, options, &error, &truth)) << error;
  ASSERT_FALSE(truth.stills.empty());
  for (const fs::path& still : truth.stills) {
    SCOPED_TRACE(still.string());
    const fs::path ppm = dir / "still.ppm";
    ASSERT_EQ(
        std::system(("djpeg -nosmooth -ppm -outfile " + ppm.string() + " " + (dir / still).string())
                        .c_str()),
        0);
    const Image ref = ReadPpm(ppm);
    ExpectClose(Decode(ReadFile(dir / still)), ref);
    // Colour, not grey: the reference's channels differ somewhere.
    int spread = 0;
    for (std::size_t i = 0; i + 2 < ref.rgb.size(); i += 3) {
      spread = std::max(spread, std::abs(ref.rgb[i] - ref.rgb[i + 2]));
    }
    EXPECT_GT(spread, 40);
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace lumora

namespace lumora {
namespace {

int RunCli(const std::string& args) {
  const std::string cli = std::string(LUMORA_BINARY_DIR) + "/tools/cli/lumora-cli";
  const int status = std::system((cli + " " + args + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(JpegCli, WritesBmpOrRefusesWithExitCodeTwo) {
  const fs::path out =
      fs::temp_directory_path() / ("lumora-cli-" + std::to_string(::getpid()) + ".bmp");
  ASSERT_EQ(RunCli("jpeg " + (kRealJpeg / "testorig.jpg").string() + " " + out.string()), 0);
  const std::vector<std::uint8_t> bmp = ReadFile(out);
  ASSERT_EQ(bmp.size(), 14u + 40u + 684u * 149u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[18], 227);  // width
  EXPECT_EQ(bmp[22], 149);  // height
  EXPECT_EQ(bmp[28], 24);   // bits per pixel
  fs::remove(out);
  EXPECT_EQ(RunCli("jpeg " + (kRealJpeg / "testimgp.jpg").string() + " " + out.string()), 2);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(RunCli("jpeg /nonexistent.jpg " + out.string()), 2);
}

}  // namespace
}  // namespace lumora
