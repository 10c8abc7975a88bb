#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace lumora {

// Description of one AVI stream; the counts and buffer sizes are filled in by
// the writer from the chunks it is given.
struct AviStream {
  std::string type;      // strh fccType: "vids", "auds", "txts"
  std::string handler;   // strh fccHandler, four characters ("H264", "XBLB", ...); empty = 0
  std::string chunk_id;  // four characters used in movi and idx1 ("00dc", "02wb", "09tx")
  uint32_t scale = 1;
  uint32_t rate = 1;
  uint32_t sample_size = 0;  // 0 for one-frame-per-chunk streams; block size for PCM
  int16_t width = 0;         // frame rectangle
  int16_t height = 0;
  std::vector<uint8_t> format;  // strf body
};

// A small RIFF AVI 1.0 writer: hdrl with avih and one strl (strh, strf) per
// stream, a LIST movi of data chunks and an optional idx1 index. Chunks are
// streamed to the file; the header is rewritten with the final counts at the end.
class AviWriter {
 public:
  AviWriter() = default;
  ~AviWriter();
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // micro_sec_per_frame, width and height go into avih; junk_bytes > 0 puts a
  // JUNK chunk of that size between the header list and the movi list.
  bool Open(const std::filesystem::path& file, std::vector<AviStream> streams,
            uint32_t micro_sec_per_frame, uint32_t width, uint32_t height, uint32_t junk_bytes,
            std::string* error);
  // Appends one chunk of stream `stream`, padded to an even length.
  bool AddChunk(size_t stream, const uint8_t* data, size_t size, bool keyframe);
  // Writes idx1 when `with_index`; offsets are relative to the movi list type
  // field when `relative_offsets`, else absolute file positions.
  bool Finish(bool with_index, bool relative_offsets, std::string* error);

  // Ends the file as a power cut leaves it: no idx1, the RIFF and movi sizes
  // and the header counts as first written (0), and the file cut at
  // `fraction` (0..1) of its length, usually inside a chunk. `length` gets
  // the length kept.
  bool CutOff(double fraction, uint64_t* length, std::string* error);

  // File position of the "movi" list type field (valid after Open).
  uint64_t movi_type_position() const { return movi_type_pos_; }
  // Bytes written so far (the end of the last chunk added).
  uint64_t position() const { return position_; }

 private:
  std::vector<uint8_t> BuildHeaderList() const;
  bool WriteBytes(const void* data, size_t size);

  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
  std::vector<AviStream> streams_;
  std::vector<uint32_t> chunk_counts_;
  std::vector<uint64_t> byte_counts_;
  std::vector<uint32_t> max_chunk_;
  uint32_t micro_sec_per_frame_ = 0;
  uint32_t width_ = 0, height_ = 0;
  uint64_t movi_list_pos_ = 0;  // position of the "LIST" id of movi
  uint64_t movi_type_pos_ = 0;  // position of the "movi" type field
  uint64_t position_ = 0;
  bool failed_ = false;
  bool has_index_ = true;
  std::vector<std::array<uint32_t, 4>> index_;  // id, flags, absolute chunk position, size
};

}  // namespace lumora
