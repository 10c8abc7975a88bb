#include "tests/reader/RiffBuilder.h"

#include <stdexcept>

namespace lumora::test {

RiffBuilder::RiffBuilder(std::size_t prefix) : m_data(prefix, 'x') {}

RiffBuilder& RiffBuilder::BeginRiff(const std::string& form) {
  Fcc("RIFF");
  m_open.push_back(Pos());
  U32(0);
  return Fcc(form);
}

RiffBuilder& RiffBuilder::BeginList(const std::string& type) {
  Fcc("LIST");
  m_open.push_back(Pos());
  U32(0);
  return Fcc(type);
}

RiffBuilder& RiffBuilder::BeginChunk(const std::string& id) {
  Fcc(id);
  m_open.push_back(Pos());
  return U32(0);
}

RiffBuilder& RiffBuilder::End() {
  const std::size_t at = m_open.back();
  m_open.pop_back();
  const std::size_t bodySize = Pos() - at - 4;
  PatchU32(at, static_cast<std::uint32_t>(bodySize));
  if (bodySize % 2 != 0) m_data.push_back(0);
  return *this;
}

RiffBuilder& RiffBuilder::Chunk(const std::string& id, const std::vector<std::uint8_t>& payload) {
  Fcc(id);
  U32(static_cast<std::uint32_t>(payload.size()));
  Bytes(payload);
  if (payload.size() % 2 != 0) m_data.push_back(0);
  return *this;
}

RiffBuilder& RiffBuilder::Fcc(const std::string& fcc) {
  if (fcc.size() != 4) throw std::invalid_argument("four-character code expected: " + fcc);
  m_data.insert(m_data.end(), fcc.begin(), fcc.end());
  return *this;
}

RiffBuilder& RiffBuilder::U32(std::uint32_t value) {
  for (int i = 0; i < 4; ++i) m_data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return *this;
}

RiffBuilder& RiffBuilder::U16(std::uint16_t value) {
  m_data.push_back(static_cast<std::uint8_t>(value));
  m_data.push_back(static_cast<std::uint8_t>(value >> 8));
  return *this;
}

RiffBuilder& RiffBuilder::Bytes(const std::vector<std::uint8_t>& bytes) {
  m_data.insert(m_data.end(), bytes.begin(), bytes.end());
  return *this;
}

RiffBuilder& RiffBuilder::Zeros(std::size_t count) {
  m_data.insert(m_data.end(), count, 0);
  return *this;
}

void RiffBuilder::PatchU32(std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) m_data.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> BuildAvi(const TestAvi& avi, AviLayout* layout) {
  AviLayout local;
  AviLayout& out = layout ? *layout : local;
  out = AviLayout{};

  RiffBuilder b(avi.prefix);
  b.BeginRiff();
  b.BeginList("hdrl");
  b.BeginChunk("avih").U32(100000).U32(0).U32(0).U32(0x10).U32(0).U32(0);
  b.U32(static_cast<std::uint32_t>(avi.streams.size())).U32(0).U32(320).U32(240).Zeros(16).End();
  for (const TestStream& s : avi.streams) {
    b.BeginList("strl");
    RiffBuilder strh;
    strh.Fcc(s.type).Fcc(s.handler).U32(0).U16(0).U16(0).U32(0).U32(s.scale).U32(s.rate);
    strh.U32(0).U32(10).U32(0).U32(0xFFFFFFFF).U32(0).U16(0).U16(0).U16(320).U16(240);
    std::vector<std::uint8_t> body = strh.Data();
    body.resize(s.strhSize, 0);
    b.Chunk("strh", body);
    b.Chunk("strf", std::vector<std::uint8_t>(4, 0));
    b.End();
  }
  b.End();
  if (avi.junkBeforeMovi) b.Chunk("JUNK", std::vector<std::uint8_t>(12, 0));

  out.moviListPos = b.Pos();
  b.BeginList("movi");
  const std::size_t moviTypePos = out.moviListPos + 8;
  for (const TestChunk& c : avi.chunks) {
    out.chunkPos.push_back(b.Pos());
    b.Chunk(c.id, c.payload);
  }
  b.End();

  if (avi.index != IndexOffsets::kNone) {
    out.idx1Pos = b.Pos();
    b.BeginChunk("idx1");
    for (std::size_t i = 0; i < avi.chunks.size(); ++i) {
      const std::size_t pos = out.chunkPos[i];
      const std::size_t offset =
          avi.index == IndexOffsets::kRelativeToMovi ? pos - moviTypePos : pos;
      b.Fcc(avi.chunks[i].id).U32(0x10).U32(static_cast<std::uint32_t>(offset));
      b.U32(static_cast<std::uint32_t>(avi.chunks[i].payload.size()));
    }
    b.End();
  }
  b.End();
  return b.Data();
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace lumora::test
