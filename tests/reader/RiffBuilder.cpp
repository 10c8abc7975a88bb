#include "tests/reader/RiffBuilder.h"

#include <stdexcept>

#include "engine/CFileTypeN.h"

namespace lumora::test {

RiffBuilder& RiffBuilder::Open(const std::string& id) {
  Fcc(id);
  m_open.push_back(Pos());
  return U32(0);
}

RiffBuilder& RiffBuilder::End() {
  const std::size_t at = m_open.back();
  m_open.pop_back();
  const std::size_t bodySize = Pos() - at - 4;
  for (int i = 0; i < 4; ++i) m_data.at(at + i) = static_cast<std::uint8_t>(bodySize >> (8 * i));
  if (bodySize % 2 != 0) m_data.push_back(0);
  return *this;
}

RiffBuilder& RiffBuilder::Chunk(const std::string& id, const std::vector<std::uint8_t>& payload) {
  Fcc(id).U32(static_cast<std::uint32_t>(payload.size()));
  m_data.insert(m_data.end(), payload.begin(), payload.end());
  if (payload.size() % 2 != 0) m_data.push_back(0);
  return *this;
}

RiffBuilder& RiffBuilder::Fcc(const std::string& fcc) {
  if (fcc.size() != 4) throw std::invalid_argument("four-character code expected: " + fcc);
  m_data.insert(m_data.end(), fcc.begin(), fcc.end());
  return *this;
}

RiffBuilder& RiffBuilder::Le(std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) m_data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return *this;
}

std::vector<std::uint8_t> BuildAvi(const TestAvi& avi, AviLayout* layout) {
  AviLayout local;
  AviLayout& out = layout ? *layout : local;
  out = AviLayout{};
  RiffBuilder b(avi.prefix);
  b.BeginRiff().BeginList("hdrl");
  b.BeginChunk("avih").U32(100000).U32(0).U32(0).U32(0x10).U32(0).U32(0);
  b.U32(static_cast<std::uint32_t>(avi.streams.size())).U32(0).U32(320).U32(240).Zeros(16).End();
  for (const TestStream& s : avi.streams) {
    RiffBuilder strh;
    strh.Fcc(s.type).Fcc(s.handler).U32(0).U16(0).U16(0).U32(0).U32(s.scale).U32(s.rate);
    strh.U32(0).U32(10).U32(0).U32(0xFFFFFFFF).U32(0).U16(0).U16(0).U16(320).U16(240);
    std::vector<std::uint8_t> body = strh.Data();
    body.resize(s.strhSize, 0);
    b.BeginList("strl").Chunk("strh", body).Chunk("strf", std::vector<std::uint8_t>(4, 0)).End();
  }
  b.End().Chunk("JUNK", std::vector<std::uint8_t>(12, 0));

  out.moviListPos = b.Pos();
  b.BeginList("movi");
  for (const TestChunk& c : avi.chunks) {
    out.chunkPos.push_back(b.Pos());
    b.Chunk(c.id, c.payload);
  }
  b.End();
  if (avi.index != IndexOffsets::kNone) {
    out.idx1Pos = b.Pos();
    b.BeginChunk("idx1");
    for (std::size_t i = 0; i < avi.chunks.size(); ++i) {
      // Relative offsets count from the movi list type.
      const std::size_t base = avi.index == IndexOffsets::kRelativeToMovi ? out.moviListPos + 8 : 0;
      b.Fcc(avi.chunks[i].id).U32(0x10).U32(static_cast<std::uint32_t>(out.chunkPos[i] - base));
      b.U32(static_cast<std::uint32_t>(avi.chunks[i].payload.size()));
    }
    b.End();
  }
  b.End();
  return b.Data();
}

TestAvi Interleaved(std::vector<TestStream> streams, const std::vector<std::string>& ids,
                    const std::string& user, IndexOffsets index, int records) {
  TestAvi avi{0, std::move(streams), {}, index};
  for (int i = 0; i < records; ++i) {
    for (const std::string& id : ids) {
      avi.chunks.push_back({id, id == user ? Sample(i) : std::vector<std::uint8_t>(21 + i, 0xAB)});
    }
  }
  return avi;
}

std::vector<std::uint8_t> Sample(int i) {
  return Bytes("M" + std::to_string(1000 + i) + "-payload-" +
               std::string(2, static_cast<char>('a' + i % 26)));
}

std::vector<Record> Samples(const std::vector<int>& indexes) {
  std::vector<Record> out;
  for (int i : indexes) out.push_back({Sample(i), static_cast<std::uint32_t>(100 * i)});
  return out;
}

std::vector<Record> FirstSamples(int count) {
  std::vector<int> indexes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) indexes[static_cast<std::size_t>(i)] = i;
  return Samples(indexes);
}

ScanResult ScanBytes(const TempFolder& dir, const std::vector<std::uint8_t>& bytes) {
  const auto path = dir / "scan.avi";
  WriteFile(path, bytes);
  CFileTypeN reader;
  reader.SetFileName(path);
  ScanResult r;
  r.result = reader.ScanUserData();
  // A buffer large enough for any record; stops at the first non-zero code.
  std::vector<std::uint8_t> buffer(reader.GetLargestUserDataLength() + 1);
  for (;;) {
    auto length = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t cts = 0;
    if (reader.GetNextUserData(buffer.data(), &length, &cts) != 0) break;
    r.records.push_back({{buffer.begin(), buffer.begin() + length}, cts});
  }
  return r;
}

}  // namespace lumora::test
