#include "tests/mkcard/AviInspect.h"

#include <fstream>
#include <iterator>

namespace lumora::test {

std::vector<uint8_t> ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

namespace {
std::string Id(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p), 4); }
}  // namespace

AviLayout ParseAvi(const std::vector<uint8_t>& b) {
  AviLayout a;
  if (b.size() < 12 || Id(&b[0]) != "RIFF" || Id(&b[8]) != "AVI ") return a;
  a.riff_size = Le32(&b[4]);
  size_t pos = 12;
  while (pos + 8 <= b.size()) {
    const std::string id = Id(&b[pos]);
    const uint32_t size = Le32(&b[pos + 4]);
    const size_t body = pos + 8;
    if (body + size > b.size()) return a;
    if (id == "LIST" && size >= 4) {
      const std::string type = Id(&b[body]);
      if (type == "hdrl") {
        size_t p = body + 4;
        while (p + 8 <= body + size) {
          const std::string cid = Id(&b[p]);
          const uint32_t csize = Le32(&b[p + 4]);
          if (cid == "avih") a.avih_flags = Le32(&b[p + 8 + 12]);
          if (cid == "LIST" && Id(&b[p + 8]) == "strl") {
            StreamHeader s;
            size_t q = p + 12;
            while (q + 8 <= p + 8 + csize) {
              const std::string sid = Id(&b[q]);
              const uint32_t ssize = Le32(&b[q + 4]);
              if (sid == "strh") {
                const uint8_t* h = &b[q + 8];
                s.type = Id(h);
                s.handler = Id(h + 4);
                s.scale = Le32(h + 20);
                s.rate = Le32(h + 24);
                s.length = Le32(h + 32);
                s.sample_size = Le32(h + 44);
              } else if (sid == "strf") {
                s.has_format = true;
              }
              q += 8 + ssize + (ssize & 1);
            }
            a.streams.push_back(s);
          }
          p += 8 + csize + (csize & 1);
        }
      } else if (type == "movi") {
        a.movi_type_pos = body;
        size_t p = body + 4;
        while (p + 8 <= body + size) {
          const uint32_t csize = Le32(&b[p + 4]);
          a.movi.push_back(Chunk{Id(&b[p]), p, csize});
          p += 8 + csize + (csize & 1);
        }
      }
    } else if (id == "idx1") {
      a.has_index = true;
      for (size_t p = body; p + 16 <= body + size; p += 16) {
        a.index.push_back(
            IndexEntry{Id(&b[p]), Le32(&b[p + 4]), Le32(&b[p + 8]), Le32(&b[p + 12])});
      }
    }
    pos = body + size + (size & 1);
  }
  a.ok = true;
  return a;
}

}  // namespace lumora::test
