#include "display/CJpegDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lumora {
namespace {

// Natural (row-major) index of the k-th coefficient in zig-zag order.
constexpr std::array<std::uint8_t, 64> kZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Markers.
constexpr std::uint8_t kSOI = 0xD8, kEOI = 0xD9, kSOF0 = 0xC0, kSOF1 = 0xC1, kSOF2 = 0xC2,
                       kSOF9 = 0xC9, kSOF10 = 0xCA, kDHT = 0xC4, kDQT = 0xDB, kDRI = 0xDD,
                       kSOS = 0xDA, kCOM = 0xFE, kRST0 = 0xD0, kRST7 = 0xD7;

// Fixed-point constants of the AAN inverse transform (8 fractional bits).
constexpr std::int32_t kFix1_082392200 = 277;
constexpr std::int32_t kFix1_414213562 = 362;
constexpr std::int32_t kFix1_847759065 = 473;
constexpr std::int32_t kFix2_613125930 = 669;

inline std::int32_t Multiply(std::int32_t v, std::int32_t c) { return (v * c + 128) >> 8; }

// The AAN scale factors 16384 * s(row) * s(col), s(0) = 1, s(k) = sqrt(2) cos(k pi / 16).
std::array<std::int32_t, 64> AanScales() {
  std::array<double, 8> s{};
  for (int k = 0; k < 8; ++k) s[k] = k == 0 ? 1.0 : std::sqrt(2.0) * std::cos(k * M_PI / 16.0);
  std::array<std::int32_t, 64> out{};
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c)
      out[r * 8 + c] = static_cast<std::int32_t>(std::lround(16384.0 * s[r] * s[c]));
  return out;
}

inline int Extend(int value, int bits) {
  return value < (1 << (bits - 1)) ? value - (1 << bits) + 1 : value;
}

std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

}  // namespace

CJpegDecoder::CJpegDecoder(MessageFn messages) : messages_(std::move(messages)) {}

void CJpegDecoder::Message(const std::string& text) const {
  if (messages_) messages_(text);
}

bool CJpegDecoder::ReadHeader(const std::uint8_t* data, std::size_t size) {
  data_ = data;
  size_ = data ? size : 0;
  pos_ = 0;
  headerDone_ = false;
  width_ = height_ = components_ = 0;
  restartInterval_ = 0;
  for (auto& h : huff_) h = HuffTable{};
  quantDefined_.fill(false);
  if (!WalkMarkers() || width_ == 0 || height_ == 0 || !TablesDefined()) {
    Message("Can not read the file header");
    return false;
  }
  PrepareTables();
  headerDone_ = true;
  return true;
}

bool CJpegDecoder::WalkMarkers() {
  bool haveFrame = false;
  for (;;) {
    if (pos_ + 2 > size_ || data_[pos_] != 0xFF) return false;
    ++pos_;
    while (pos_ < size_ && data_[pos_] == 0xFF) ++pos_;  // fill bytes
    if (pos_ >= size_) return false;
    const std::uint8_t marker = data_[pos_++];
    if (marker == kSOI) continue;
    if (marker == kEOI || (marker >= kRST0 && marker <= kRST7)) return false;
    if (pos_ + 2 > size_) return false;
    const std::size_t length = Be16(data_ + pos_);
    if (length < 2 || pos_ + length > size_) return false;
    const std::size_t end = pos_ + length;
    switch (marker) {
      case kSOF0:
      case kSOF1:
        if (!ReadFrame(length)) return false;
        haveFrame = true;
        break;
      case kSOF2:
        Message("Prog + Huff is not supported");
        return false;
      case kSOF9:
        Message("sequential + Arith is not supported");
        return false;
      case kSOF10:
        Message("Prog + Arith is not supported");
        return false;
      case kDHT:
        if (!ReadHuffmanTables(end)) return false;
        break;
      case kDQT:
        if (!ReadQuantTables(end)) return false;
        break;
      case kDRI: {
        if (length < 4) return false;
        restartInterval_ = Be16(data_ + pos_ + 2);
        char text[48];
        std::snprintf(text, sizeof text, "restart_interval=%d", restartInterval_);
        Message(text);
        break;
      }
      case kSOS: {
        if (!haveFrame || !ReadScanHeader(length)) return false;
        scanStart_ = end;
        pos_ = end;
        return true;
      }
      default:
        if ((marker >= 0xE0 && marker <= 0xEF) || marker == kCOM) break;
        return false;
    }
    pos_ = end;
  }
}

bool CJpegDecoder::ReadFrame(std::size_t length) {
  if (length < 8) return false;
  const std::uint8_t* p = data_ + pos_ + 2;
  const int precision = p[0];
  height_ = Be16(p + 1);
  width_ = Be16(p + 3);
  components_ = p[5];
  // 12-bit samples or other than three components cannot be decoded by this
  // 8-bit YCbCr path; refusing them is better than drawing garbage.
  if (precision != 8 || components_ != 3 || length < 8 + 3u * components_) return false;
  for (int c = 0; c < 3; ++c) {
    Component& comp = comps_[c];
    comp.id = p[6 + 3 * c];
    comp.h = p[6 + 3 * c + 1] >> 4;
    comp.v = p[6 + 3 * c + 1] & 0x0F;
    comp.quant = p[6 + 3 * c + 2];
    if (comp.quant > 3) return false;
  }
  const int luma = comps_[0].h << 4 | comps_[0].v;
  if (luma != 0x22) {
    char text[48];
    std::snprintf(text, sizeof text, "comp 0 samp_factor = %d", luma);
    Message(text);
  }
  // The luma samples 1 or 2 blocks each way and the chroma one block per
  // MCU; other layouts would desynchronise the block order.
  const auto oneOrTwo = [](int f) { return f == 1 || f == 2; };
  if (!oneOrTwo(comps_[0].h) || !oneOrTwo(comps_[0].v)) return false;
  for (int c = 1; c < 3; ++c) {
    if (comps_[c].h != 1 || comps_[c].v != 1) return false;
  }
  mcuWidth_ = 8 * comps_[0].h;
  mcuHeight_ = 8 * comps_[0].v;
  return true;
}

// The scan names its components by id and selects their Huffman tables;
// only one scan holding all three components can be decoded.
bool CJpegDecoder::ReadScanHeader(std::size_t length) {
  const std::uint8_t* p = data_ + pos_ + 2;
  if (length < 3 || p[0] != 3 || length < 6 + 2u * p[0]) return false;
  std::array<bool, 3> seen{};
  for (int s = 0; s < 3; ++s) {
    const std::uint8_t id = p[1 + 2 * s];
    const int dc = p[2 + 2 * s] >> 4;
    const int ac = p[2 + 2 * s] & 0x0F;
    int index = 0;
    while (index < 3 && comps_[index].id != id) ++index;
    if (index == 3 || seen[index] || dc > 3 || ac > 3) return false;
    seen[index] = true;
    comps_[index].dcTable = dc;
    comps_[index].acTable = ac;
    scanOrder_[s] = index;
  }
  return true;
}

// Every table a component uses must have been defined before the scan.
bool CJpegDecoder::TablesDefined() const {
  for (const Component& c : comps_) {
    if (!quantDefined_[c.quant] || !huff_[c.dcTable].defined || !huff_[4 + c.acTable].defined) {
      return false;
    }
  }
  return true;
}

bool CJpegDecoder::ReadHuffmanTables(std::size_t end) {
  std::size_t p = pos_ + 2;
  while (p < end) {
    if (p + 17 > end) return false;
    // Class 0 (DC) or 1 (AC) in the high nibble, table id 0..3 in the low.
    const std::uint8_t classId = data_[p];
    const int tableClass = classId >> 4;
    const int tableId = classId & 0x0F;
    if (tableClass > 1 || tableId > 3) return false;
    const int slot = tableClass * 4 + tableId;
    HuffTable& table = huff_[slot];
    table = HuffTable{};
    int total = 0;
    for (int l = 1; l <= 16; ++l) {
      table.counts[l] = data_[p + l];
      total += table.counts[l];
    }
    p += 17;
    if (total > 256 || p + total > end) return false;
    std::copy(data_ + p, data_ + p + total, table.symbols.begin());
    p += total;
    table.defined = true;
  }
  return true;
}

bool CJpegDecoder::ReadQuantTables(std::size_t end) {
  std::size_t p = pos_ + 2;
  while (p < end) {
    const std::uint8_t pq = data_[p] >> 4;
    const int table = data_[p] & 0x0F;
    if (pq != 0 || table > 3 || p + 65 > end) return false;  // only 8-bit tables
    for (int k = 0; k < 64; ++k) quantRaw_[table][kZigZag[k]] = data_[p + 1 + k];
    quantDefined_[table] = true;
    p += 65;
  }
  return true;
}

void CJpegDecoder::DeriveHuffman(HuffTable& t) {
  t.maxCode.fill(-1);
  t.valOffset.fill(0);
  t.fastLength.fill(0);
  t.fastSymbol.fill(0);
  int code = 0;
  int index = 0;
  for (int l = 1; l <= 16; ++l) {
    const int n = t.counts[l];
    t.valOffset[l] = index - code;
    for (int i = 0; i < n; ++i, ++code, ++index) {
      if (l <= 8) {
        const int shift = 8 - l;
        for (int fill = 0; fill < (1 << shift); ++fill) {
          const int slot = (code << shift) | fill;
          if (slot < 256) {
            t.fastLength[slot] = static_cast<std::uint8_t>(l);
            t.fastSymbol[slot] = t.symbols[index];
          }
        }
      }
    }
    if (n > 0) t.maxCode[l] = code - 1;
    code <<= 1;
  }
  t.maxCode[17] = 0xFFFFF;
}

void CJpegDecoder::PrepareTables() {
  for (int v = -256; v < 512; ++v)
    rangeLimit_[v + 256] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
  for (int i = 0; i < 256; ++i) {
    const int x = i - 128;
    crToR_[i] = (91881 * x + 32768) >> 16;
    cbToB_[i] = (116130 * x + 32768) >> 16;
    cbToG_[i] = -22554 * x;
    crToG_[i] = -46802 * x + 32768;
  }
  static const std::array<std::int32_t, 64> scales = AanScales();
  for (std::size_t t = 0; t < quant_.size(); ++t)
    for (int i = 0; i < 64; ++i) quant_[t][i] = (quantRaw_[t][i] * scales[i] + 2048) >> 12;
  for (auto& h : huff_) DeriveHuffman(h);
}

void CJpegDecoder::ResetBits() {
  bitBuffer_ = 0;
  bitCount_ = 0;
}

// Keeps at least `needed` bits in the buffer. At a marker or at the end of the
// data zero bits are supplied; consuming them marks the scan as corrupt.
bool CJpegDecoder::FillBits(int needed) {
  while (bitCount_ < needed) {
    std::uint32_t byte = 0;
    if (!markerHit_ && pos_ < size_) {
      byte = data_[pos_];
      if (byte == 0xFF) {
        const std::uint8_t next = pos_ + 1 < size_ ? data_[pos_ + 1] : 0xD9;
        if (next == 0x00) {
          pos_ += 2;
        } else {
          markerHit_ = true;
          byte = 0;
          ++fillerBytes_;
        }
      } else {
        ++pos_;
      }
    } else {
      ++fillerBytes_;
    }
    bitBuffer_ = (bitBuffer_ << 8) | byte;
    bitCount_ += 8;
  }
  return true;
}

int CJpegDecoder::GetBits(int count) {
  if (count == 0) return 0;
  FillBits(count);
  bitCount_ -= count;
  if (bitCount_ < 8 * fillerBytes_) corrupt_ = true;
  return static_cast<int>((bitBuffer_ >> bitCount_) & ((1u << count) - 1));
}

int CJpegDecoder::DecodeSymbol(const HuffTable& t) {
  FillBits(16);
  const int look = static_cast<int>((bitBuffer_ >> (bitCount_ - 8)) & 0xFF);
  if (const int l = t.fastLength[look]) {
    bitCount_ -= l;
    if (bitCount_ < 8 * fillerBytes_) corrupt_ = true;
    return t.fastSymbol[look];
  }
  for (int l = 9; l <= 16; ++l) {
    const int code = static_cast<int>((bitBuffer_ >> (bitCount_ - l)) & ((1u << l) - 1));
    if (code <= t.maxCode[l]) {
      bitCount_ -= l;
      if (bitCount_ < 8 * fillerBytes_) corrupt_ = true;
      const int index = t.valOffset[l] + code;
      return index >= 0 && index < 256 ? t.symbols[index] : (corrupt_ = true, 0);
    }
  }
  corrupt_ = true;  // no code of up to 16 bits matches
  return 0;
}

bool CJpegDecoder::ProcessRestart() {
  ResetBits();
  fillerBytes_ = 0;
  markerHit_ = false;
  // The entropy data before a restart marker ends on a byte boundary, so the
  // marker follows directly; fill bytes 0xFF may precede its code.
  if (pos_ + 1 >= size_ || data_[pos_] != 0xFF) return false;
  std::size_t p = pos_ + 1;
  while (p < size_ && data_[p] == 0xFF) ++p;
  if (p >= size_ || data_[p] < kRST0 || data_[p] > kRST7) return false;
  pos_ = p + 1;
  restartsLeft_ = restartInterval_;
  return true;
}

bool CJpegDecoder::DecodeBlock(const Component& c, std::int16_t* out, int* predictor) {
  std::fill(out, out + 64, std::int16_t{0});
  const HuffTable& dc = huff_[c.dcTable];
  const HuffTable& ac = huff_[4 + c.acTable];
  const int category = DecodeSymbol(dc);
  if (category > 11) return false;
  const int diff = category ? Extend(GetBits(category), category) : 0;
  *predictor += diff;
  out[0] = static_cast<std::int16_t>(*predictor);
  for (int k = 1; k < 64;) {
    const int rs = DecodeSymbol(ac);
    const int run = rs >> 4;
    const int size = rs & 15;
    if (size == 0) {
      if (run != 15) break;  // end of block
      k += 16;
      continue;
    }
    k += run;
    if (k > 63) return false;
    out[kZigZag[k]] = static_cast<std::int16_t>(Extend(GetBits(size), size));
    ++k;
  }
  return !corrupt_;
}

void CJpegDecoder::Idct(const std::int16_t* in, const std::int32_t* q, std::uint8_t* out) const {
  std::int32_t ws[64];
  for (int c = 0; c < 8; ++c) {
    const std::int16_t* col = in + c;
    const std::int32_t* qc = q + c;
    if (!col[8] && !col[16] && !col[24] && !col[32] && !col[40] && !col[48] && !col[56]) {
      const std::int32_t dc = col[0] * qc[0];
      for (int r = 0; r < 8; ++r) ws[r * 8 + c] = dc;
      continue;
    }
    std::int32_t t0 = col[0] * qc[0], t1 = col[16] * qc[16], t2 = col[32] * qc[32],
                 t3 = col[48] * qc[48];
    std::int32_t t10 = t0 + t2, t11 = t0 - t2, t13 = t1 + t3;
    std::int32_t t12 = Multiply(t1 - t3, kFix1_414213562) - t13;
    t0 = t10 + t13;
    t3 = t10 - t13;
    t1 = t11 + t12;
    t2 = t11 - t12;
    std::int32_t t4 = col[8] * qc[8], t5 = col[24] * qc[24], t6 = col[40] * qc[40],
                 t7 = col[56] * qc[56];
    const std::int32_t z13 = t6 + t5, z10 = t6 - t5, z11 = t4 + t7, z12 = t4 - t7;
    t7 = z11 + z13;
    t11 = Multiply(z11 - z13, kFix1_414213562);
    const std::int32_t z5 = Multiply(z10 + z12, kFix1_847759065);
    t10 = Multiply(z12, kFix1_082392200) - z5;
    t12 = Multiply(z10, -kFix2_613125930) + z5;
    t6 = t12 - t7;
    t5 = t11 - t6;
    t4 = t10 + t5;
    ws[0 * 8 + c] = t0 + t7;
    ws[7 * 8 + c] = t0 - t7;
    ws[1 * 8 + c] = t1 + t6;
    ws[6 * 8 + c] = t1 - t6;
    ws[2 * 8 + c] = t2 + t5;
    ws[5 * 8 + c] = t2 - t5;
    ws[4 * 8 + c] = t3 + t4;
    ws[3 * 8 + c] = t3 - t4;
  }
  auto limit = [this](std::int32_t v) {
    // The 5-bit descale removes the 2 fraction bits and the transform's gain of 8.
    const std::int32_t x = ((v + 16) >> 5) + 128 + 256;
    return rangeLimit_[static_cast<std::size_t>(std::clamp(x, 0, 767))];
  };
  for (int r = 0; r < 8; ++r) {
    const std::int32_t* w = ws + r * 8;
    std::uint8_t* o = out + r * 8;
    std::int32_t t10 = w[0] + w[4], t11 = w[0] - w[4], t13 = w[2] + w[6];
    std::int32_t t12 = Multiply(w[2] - w[6], kFix1_414213562) - t13;
    const std::int32_t t0 = t10 + t13, t3 = t10 - t13, t1 = t11 + t12, t2 = t11 - t12;
    const std::int32_t z13 = w[5] + w[3], z10 = w[5] - w[3], z11 = w[1] + w[7], z12 = w[1] - w[7];
    const std::int32_t t7 = z11 + z13;
    t11 = Multiply(z11 - z13, kFix1_414213562);
    const std::int32_t z5 = Multiply(z10 + z12, kFix1_847759065);
    t10 = Multiply(z12, kFix1_082392200) - z5;
    t12 = Multiply(z10, -kFix2_613125930) + z5;
    const std::int32_t t6 = t12 - t7, t5 = t11 - t6, t4 = t10 + t5;
    o[0] = limit(t0 + t7);
    o[7] = limit(t0 - t7);
    o[1] = limit(t1 + t6);
    o[6] = limit(t1 - t6);
    o[2] = limit(t2 + t5);
    o[5] = limit(t2 - t5);
    o[4] = limit(t3 + t4);
    o[3] = limit(t3 - t4);
  }
}

bool CJpegDecoder::Decode(std::uint8_t* dest, std::size_t destSize) {
  if (!headerDone_ || !dest) return false;
  const std::size_t stride = RowStride(width_);
  if (destSize < stride * static_cast<std::size_t>(height_)) return false;
  pos_ = scanStart_;
  ResetBits();
  markerHit_ = false;
  corrupt_ = false;
  fillerBytes_ = 0;
  restartsLeft_ = restartInterval_;
  std::array<int, 3> predictors{};

  const int hShift = comps_[0].h - 1;  // luma blocks per chroma sample: 1 or 2 each way
  const int vShift = comps_[0].v - 1;
  const int cols = (width_ + mcuWidth_ - 1) / mcuWidth_;
  const int rows = (height_ + mcuHeight_ - 1) / mcuHeight_;
  // Blocks of one MCU: luma 0..3 (row by row), Cb 4, Cr 5.
  constexpr std::array<int, 3> kFirstBlock = {0, 4, 5};
  std::int16_t coef[64];
  std::uint8_t pixels[6][64];
  for (int my = 0; my < rows; ++my) {
    for (int mx = 0; mx < cols; ++mx) {
      if (restartInterval_) {
        if (restartsLeft_ == 0) {
          if (!ProcessRestart()) return false;
          predictors.fill(0);
        }
        --restartsLeft_;
      }
      for (const int index : scanOrder_) {
        const Component& c = comps_[index];
        for (int b = 0; b < c.h * c.v; ++b) {
          if (!DecodeBlock(c, coef, &predictors[index])) return false;
          Idct(coef, quant_[c.quant].data(), pixels[kFirstBlock[index] + b]);
        }
      }
      const std::uint8_t* cbBlock = pixels[4];
      const std::uint8_t* crBlock = pixels[5];
      const int x0 = mx * mcuWidth_;
      const int y0 = my * mcuHeight_;
      const int w = std::min(mcuWidth_, width_ - x0);
      const int h = std::min(mcuHeight_, height_ - y0);
      for (int y = 0; y < h; ++y) {
        std::uint8_t* row = dest + stride * static_cast<std::size_t>(height_ - 1 - (y0 + y));
        for (int x = 0; x < w; ++x) {
          const int block = (y >> 3) * comps_[0].h + (x >> 3);
          const int luma = pixels[block][(y & 7) * 8 + (x & 7)];
          const int chroma = (y >> vShift) * 8 + (x >> hShift);
          const int cbv = cbBlock[chroma];
          const int crv = crBlock[chroma];
          std::uint8_t* px = row + static_cast<std::size_t>(x0 + x) * 3;
          px[0] = rangeLimit_[static_cast<std::size_t>(luma + cbToB_[cbv] + 256)];
          px[1] = rangeLimit_[static_cast<std::size_t>(luma + ((cbToG_[cbv] + crToG_[crv]) >> 16) +
                                                       256)];
          px[2] = rangeLimit_[static_cast<std::size_t>(luma + crToR_[crv] + 256)];
        }
      }
    }
  }
  return !corrupt_;
}

}  // namespace lumora
