// JPEG decoder: header, then the whole scan into a bitmap of the size asked for.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "display/CJpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lumora::CJpegDecoder decoder([](const std::string&) {});
  if (!decoder.ReadHeader(data, size)) return 0;
  const std::size_t stride = lumora::CJpegDecoder::RowStride(decoder.Width());
  const std::size_t bytes = stride * static_cast<std::size_t>(decoder.Height());
  // Keep pictures a fuzzer makes up within memory the run can afford.
  if (bytes == 0 || bytes > (8u << 20)) return 0;
  std::vector<std::uint8_t> bits(bytes);
  decoder.Decode(bits.data(), bits.size());
  return 0;
}
