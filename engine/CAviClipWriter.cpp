#include "engine/CAviClipWriter.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace lumora {

namespace {

constexpr std::uint32_t kHasIndex = 0x10;
constexpr std::uint32_t kIsInterleaved = 0x100;
constexpr std::uint32_t kKeyFrame = 0x10;
// Every size and offset of an AVI 1.0 file is 32-bit.
constexpr std::uint64_t kLargestFile = std::numeric_limits<std::uint32_t>::max();

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Patch32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::uint32_t CAviClipWriter::Fcc(const char* s) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4 && s[i] != '\0'; ++i) {
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[i])) << (8 * i);
  }
  return v;
}

std::uint32_t CAviClipWriter::ChunkId(int stream, const char* suffix) {
  const char id[5] = {static_cast<char>('0' + (stream / 10) % 10),
                      static_cast<char>('0' + stream % 10), suffix[0], suffix[1], 0};
  return Fcc(id);
}

CAviClipWriter::~CAviClipWriter() {
  if (m_pFile != nullptr) std::fclose(m_pFile);
}

bool CAviClipWriter::Start(std::FILE* file, std::vector<AviClipStream> streams,
                           std::uint32_t usPerFrame, std::uint32_t width, std::uint32_t height) {
  m_pFile = file;
  m_streams = std::move(streams);
  m_counts.assign(m_streams.size(), 0);
  m_bytes.assign(m_streams.size(), 0);
  m_largest.assign(m_streams.size(), 0);
  m_usPerFrame = usPerFrame;
  m_width = width;
  m_height = height;
  if (m_pFile == nullptr || m_streams.empty() || m_streams.size() > 16) return false;
  std::setvbuf(m_pFile, nullptr, _IOFBF, 1 << 20);
  std::vector<std::uint8_t> head;
  Put32(head, Fcc("RIFF"));
  Put32(head, 0);  // rewritten by Finish
  Put32(head, Fcc("AVI "));
  const std::vector<std::uint8_t> hdrl = HeaderList();
  head.insert(head.end(), hdrl.begin(), hdrl.end());
  m_nMoviListPos = head.size();
  Put32(head, Fcc("LIST"));
  Put32(head, 0);  // rewritten by Finish
  Put32(head, Fcc("movi"));
  return Write(head.data(), head.size());
}

std::vector<std::uint8_t> CAviClipWriter::HeaderList() const {
  std::vector<std::uint8_t> h;
  Put32(h, Fcc("LIST"));
  Put32(h, 0);
  Put32(h, Fcc("hdrl"));
  std::uint64_t total = 0;
  std::uint32_t largest = 0;
  for (std::size_t i = 0; i < m_streams.size(); ++i) {
    total += m_bytes[i];
    largest = std::max(largest, m_largest[i]);
  }
  const std::uint32_t frames = m_counts.empty() ? 0 : m_counts[0];
  const double seconds = frames * (m_usPerFrame / 1e6);
  const auto bytesPerSecond =
      seconds > 0 ? static_cast<std::uint32_t>(std::min<double>(total / seconds, 0xFFFFFFFFu)) : 0;
  Put32(h, Fcc("avih"));
  Put32(h, 56);
  Put32(h, m_usPerFrame);
  Put32(h, bytesPerSecond);
  Put32(h, 0);  // padding granularity
  Put32(h, kHasIndex | kIsInterleaved);
  Put32(h, frames);
  Put32(h, 0);  // initial frames
  Put32(h, static_cast<std::uint32_t>(m_streams.size()));
  Put32(h, largest + 8);
  Put32(h, m_width);
  Put32(h, m_height);
  for (int i = 0; i < 4; ++i) Put32(h, 0);
  for (std::size_t i = 0; i < m_streams.size(); ++i) {
    const AviClipStream& s = m_streams[i];
    const std::size_t strl = h.size();
    Put32(h, Fcc("LIST"));
    Put32(h, 0);
    Put32(h, Fcc("strl"));
    Put32(h, Fcc("strh"));
    Put32(h, 56);
    Put32(h, s.fccType);
    Put32(h, s.fccHandler);
    Put32(h, 0);  // flags
    Put16(h, 0);  // priority
    Put16(h, 0);  // language
    Put32(h, 0);  // initial frames
    Put32(h, s.scale);
    Put32(h, s.rate);
    Put32(h, 0);  // start
    Put32(h,
          s.sampleSize != 0 ? static_cast<std::uint32_t>(m_bytes[i] / s.sampleSize) : m_counts[i]);
    Put32(h, m_largest[i]);
    Put32(h, 0xFFFFFFFFu);  // default quality
    Put32(h, s.sampleSize);
    Put16(h, 0);
    Put16(h, 0);
    Put16(h, s.width);
    Put16(h, s.height);
    if (!s.format.empty()) {
      Put32(h, Fcc("strf"));
      Put32(h, static_cast<std::uint32_t>(s.format.size()));
      h.insert(h.end(), s.format.begin(), s.format.end());
      if (s.format.size() % 2 != 0) h.push_back(0);
    }
    Patch32(h, strl + 4, static_cast<std::uint32_t>(h.size() - strl - 8));
  }
  Patch32(h, 4, static_cast<std::uint32_t>(h.size() - 8));
  return h;
}

bool CAviClipWriter::Write(const void* data, std::size_t size) {
  if (m_bFailed || m_pFile == nullptr) return false;
  if (m_nPos + size > kLargestFile || (size != 0 && std::fwrite(data, 1, size, m_pFile) != size)) {
    m_bFailed = true;
    return false;
  }
  m_nPos += size;
  return true;
}

bool CAviClipWriter::AddChunk(std::size_t stream, const std::uint8_t* data, std::size_t size,
                              bool key) {
  if (stream >= m_streams.size() || size > kLargestFile) return false;
  const std::uint64_t at = m_nPos;
  std::vector<std::uint8_t> head;
  Put32(head, m_streams[stream].chunkId);
  Put32(head, static_cast<std::uint32_t>(size));
  const std::uint8_t pad = 0;
  if (!Write(head.data(), head.size()) || !Write(data, size) ||
      (size % 2 != 0 && !Write(&pad, 1))) {
    return false;
  }
  // Offsets count from the movi list type field, 4 bytes after its size.
  const auto offset = static_cast<std::uint32_t>(at - (m_nMoviListPos + 8));
  m_index.push_back(
      {m_streams[stream].chunkId, key ? kKeyFrame : 0u, offset, static_cast<std::uint32_t>(size)});
  ++m_counts[stream];
  m_bytes[stream] += size;
  m_largest[stream] = std::max(m_largest[stream], static_cast<std::uint32_t>(size));
  return true;
}

bool CAviClipWriter::Finish() {
  const std::uint64_t moviEnd = m_nPos;
  std::vector<std::uint8_t> idx;
  idx.reserve(8 + m_index.size() * 16);
  Put32(idx, Fcc("idx1"));
  Put32(idx, static_cast<std::uint32_t>(m_index.size() * 16));
  for (const auto& e : m_index) {
    for (std::uint32_t v : e) Put32(idx, v);
  }
  bool ok = Write(idx.data(), idx.size());
  if (ok) {
    std::vector<std::uint8_t> riffSize;
    Put32(riffSize, static_cast<std::uint32_t>(m_nPos - 8));
    const std::vector<std::uint8_t> hdrl = HeaderList();
    std::vector<std::uint8_t> moviSize;
    Put32(moviSize, static_cast<std::uint32_t>(moviEnd - m_nMoviListPos - 8));
    ok = std::fseek(m_pFile, 4, SEEK_SET) == 0 &&
         std::fwrite(riffSize.data(), 1, 4, m_pFile) == 4 &&
         std::fseek(m_pFile, 12, SEEK_SET) == 0 &&
         std::fwrite(hdrl.data(), 1, hdrl.size(), m_pFile) == hdrl.size() &&
         std::fseek(m_pFile, static_cast<long>(m_nMoviListPos + 4), SEEK_SET) == 0 &&
         std::fwrite(moviSize.data(), 1, 4, m_pFile) == 4 && std::fflush(m_pFile) == 0;
  }
  if (m_pFile != nullptr) ok = std::fclose(m_pFile) == 0 && ok;
  m_pFile = nullptr;
  return ok;
}

}  // namespace lumora
