#pragma once
// Baseline JPEG decoder for the camera's captured stills: Huffman-coded,
// sequential, 8-bit, three components with the luma sampled 2x2 (16x16 MCUs)
// or 1x1 (8x8 MCUs). Output is a 24-bit bottom-up bitmap (B, G, R bytes, rows
// padded to a multiple of four), the layout of a device-independent bitmap.
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
  int McuEdge() const { return mcuEdge_; }
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

  bool WalkMarkers();
  bool ReadFrame(std::size_t length);
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
  bool DecodeBlock(int block, std::int16_t* out, int* predictor);
  void Idct(const std::int16_t* coef, const std::int32_t* quant, std::uint8_t* out) const;

  MessageFn messages_;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t pos_ = 0;
  std::size_t scanStart_ = 0;
  bool headerDone_ = false;

  int width_ = 0;
  int height_ = 0;
  int mcuEdge_ = 16;
  int blocksPerMcu_ = 6;
  int components_ = 0;
  std::array<std::uint8_t, 3> sampling_{};

  std::array<std::array<std::uint16_t, 64>, 2> quantRaw_{};  // natural order
  std::array<std::array<std::int32_t, 64>, 2> quant_{};      // AAN-scaled
  std::array<HuffTable, 4> huff_{};  // DC0, DC1, AC0, AC1
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
