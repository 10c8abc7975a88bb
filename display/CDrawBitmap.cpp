#include "display/CDrawBitmap.h"

#include <algorithm>
#include <cstring>

#include "display/CJpegDecoder.h"

namespace lumora {

namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v & 0xFF);
  p[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

}  // namespace

void CDrawBitmap::Clear() {
  m_block.clear();
  m_block.shrink_to_fit();
  m_pixelDataSize = 0;
  m_width = 0;
  m_height = 0;
  m_source = {};
  m_dest = {};
}

long long CDrawBitmap::LoadFromMemory(const std::uint8_t* data, std::size_t size,
                                      std::uint8_t* dest, std::size_t destSize, int mode,
                                      const MessageFn& messages) {
  Clear();
  if (data == nullptr || size == 0) return -1;
  CJpegDecoder decoder([&](const std::string& text) {
    if (messages) messages(text);
  });
  if (!decoder.ReadHeader(data, size)) return -1;
  const int width = decoder.Width();
  const int height = decoder.Height();
  const std::uint64_t pixels =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (width <= 0 || height <= 0 || pixels > kMaxPixels) {
    if (messages) messages("The picture is too large to show");
    return -1;
  }
  const std::size_t stride = CJpegDecoder::RowStride(width);
  const std::size_t pixelBytes = stride * static_cast<std::size_t>(height);
  std::vector<std::uint8_t> block(kHeaderSize + pixelBytes, 0);
  std::uint8_t* h = block.data();
  Put32(h, kHeaderSize);
  Put32(h + 4, static_cast<std::uint32_t>(width));
  Put32(h + 8, static_cast<std::uint32_t>(height));
  Put16(h + 12, 1);
  Put16(h + 14, 24);
  if (!decoder.Decode(block.data() + kHeaderSize, pixelBytes)) return -1;

  m_block = std::move(block);
  m_pixelDataSize = static_cast<std::uint32_t>(pixelBytes);
  m_width = width;
  m_height = height;
  m_source = {0, 0, width + 1, height + 1};
  m_dest = m_source;

  std::size_t copy = std::min({CopyOutBytes(mode), pixelBytes, dest ? destSize : 0});
  if (copy > 0) std::memcpy(dest, m_block.data() + kHeaderSize, copy);
  return static_cast<long long>(copy);
}

}  // namespace lumora
