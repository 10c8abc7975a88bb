#pragma once
// Baseline JPEG decoder for the camera's captured stills: Huffman-coded,
// sequential, 8-bit, three interleaved components with the luma sampled 2x2
// (16x16 MCUs), 2x1 (16x8), 1x2 (8x16) or 1x1 (8x8) and the chroma 1x1. Each
// component is dequantised with the table its frame header names and decoded
// with the Huffman tables the scan header selects. Output is a 24-bit bottom-up bitmap (B, G, R
// bytes, rows padded to a multiple of four), the layout of a device-independent bitmap.
//
// Unsupported processes and broken headers are reported through the message
// callback with the texts the user sees, and the call fails.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace lumora {

class CJpegDecoder {
 public:
  using MessageFn = std::function<void(const std::string&)>;

  explicit CJpegDecoder(MessageFn messages = {});

  // Walks the markers up to the start of scan and prepares the tables.
  // Succeeds when the header is complete and width and height are non-zero.
  bool ReadHeader(const std::uint8_t* data, std::size_t size);

  // Decodes all MCUs into `dest`, which must hold Height() rows of
  // RowStride(Width()) bytes. Bytes of the row padding are left as they were.
  // Fails on a corrupt or truncated scan; rows decoded so far stay written.
  bool Decode(std::uint8_t* dest, std::size_t destSize);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // MCU width and height in pixels.
  int McuEdge() const { return mcuWidth_; }
  int McuHeight() const { return mcuHeight_; }
  int RestartInterval() const { return restartInterval_; }

  static std::size_t RowStride(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  }

 private:
  struct HuffTable {
    bool defined = false;
    std::array<std::uint8_t, 17> counts{};  // counts[1..16]
    std::array<std::uint8_t, 256> symbols{};
    std::array<std::int32_t, 18> maxCode{};  // per length, -1 when none; [17] sentinel
    std::array<std::int32_t, 17> valOffset{};
    std::array<std::uint8_t, 256> fastLength{};  // 0 when the code is longer than 8 bits
    std::array<std::uint8_t, 256> fastSymbol{};
  };

  // One component of the frame with the tables that decode it.
  struct Component {
    std::uint8_t id = 0;
    int h = 1;  // sampling factors
    int v = 1;
    int quant = 0;    // quantisation table id, 0..3
    int dcTable = 0;  // Huffman table ids the scan selects, 0..3
    int acTable = 0;
  };

  bool WalkMarkers();
  bool ReadFrame(std::size_t length);
  bool ReadScanHeader(std::size_t length);
  bool TablesDefined() const;
  bool ReadHuffmanTables(std::size_t end);
  bool ReadQuantTables(std::size_t end);
  void PrepareTables();
  static void DeriveHuffman(HuffTable& table);
  void Message(const std::string& text) const;

  // Entropy-coded data.
  void ResetBits();
  bool FillBits(int needed);
  int GetBits(int count);
  int DecodeSymbol(const HuffTable& table);
  bool ProcessRestart();
  bool DecodeBlock(const Component& c, std::int16_t* out, int* predictor);
  void Idct(const std::int16_t* coef, const std::int32_t* quant, std::uint8_t* out) const;

  MessageFn messages_;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t pos_ = 0;
  std::size_t scanStart_ = 0;
  bool headerDone_ = false;

  int width_ = 0;
  int height_ = 0;
  int mcuWidth_ = 16;
  int mcuHeight_ = 16;
  int components_ = 0;
  std::array<Component, 3> comps_{};  // in frame order: Y, Cb, Cr
  std::array<int, 3> scanOrder_{};    // frame index of each scan component

  std::array<std::array<std::uint16_t, 64>, 4> quantRaw_{};  // natural order
  std::array<bool, 4> quantDefined_{};
  std::array<std::array<std::int32_t, 64>, 4> quant_{};  // AAN-scaled
  std::array<HuffTable, 8> huff_{};                      // DC 0-3, AC 0-3
  int restartInterval_ = 0;
  int restartsLeft_ = 0;
  int nextRestart_ = 0;

  std::uint32_t bitBuffer_ = 0;
  int bitCount_ = 0;
  bool markerHit_ = false;
  int fillerBytes_ = 0;  // zero bytes supplied past a marker or the end
  bool corrupt_ = false;

  std::array<std::uint8_t, 768> rangeLimit_{};  // index v + 256 for v in -256..511
  std::array<std::int32_t, 256> crToR_{};
  std::array<std::int32_t, 256> cbToB_{};
  std::array<std::int32_t, 256> crToG_{};
  std::array<std::int32_t, 256> cbToG_{};
};

}  // namespace lumora
