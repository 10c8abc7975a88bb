#pragma once
// One decoded still held as a device-independent bitmap: a 40-byte
// BITMAPINFOHEADER (24 bits per pixel, no compression) followed by the pixel
// rows, bottom-up, each padded to a multiple of four bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumora {

struct BitmapRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

class CDrawBitmap {
 public:
  using MessageFn = std::function<void(const std::string&)>;

  static constexpr std::uint16_t kHeaderSize = 40;
  // Pictures beyond this many pixels are refused rather than allocated.
  static constexpr std::uint64_t kMaxPixels = 32ull << 20;
  static constexpr int kDrawWidth = 320;
  static constexpr int kDrawHeight = 240;

  CDrawBitmap() = default;
  virtual ~CDrawBitmap() = default;

  // Decodes the JPEG in `data`, keeps it, and copies the first
  // 640 x 480 x 3 bytes (mode 1) or 320 x 240 x 3 bytes (other modes) of its
  // pixel rows into `dest`. The copy never reads past the pixel data nor
  // writes past `destSize`; the rest of `dest` is left as it was. Returns
  // the number of bytes copied, or -1 when the picture cannot be decoded
  // (decoder messages go to `messages`).
  long long LoadFromMemory(const std::uint8_t* data, std::size_t size, std::uint8_t* dest,
                           std::size_t destSize, int mode, const MessageFn& messages = {});
  static std::size_t CopyOutBytes(int mode) {
    return mode == 1 ? 640u * 480u * 3u : 320u * 240u * 3u;
  }

  bool Empty() const { return m_block.empty(); }
  void Clear();
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  std::uint16_t HeaderSize() const { return m_headerSize; }
  std::uint32_t PixelDataSize() const { return m_pixelDataSize; }
  // The header followed by the pixel rows.
  const std::vector<std::uint8_t>& Block() const { return m_block; }
  const std::uint8_t* Pixels() const { return Empty() ? nullptr : m_block.data() + kHeaderSize; }
  const BitmapRect& SourceRect() const { return m_source; }
  const BitmapRect& DestRect() const { return m_dest; }

 private:
  BitmapRect m_source;
  BitmapRect m_dest;
  std::uint16_t m_headerSize = kHeaderSize;
  std::uint32_t m_pixelDataSize = 0;
  std::vector<std::uint8_t> m_block;
  int m_width = 0;
  int m_height = 0;
};

}  // namespace lumora
