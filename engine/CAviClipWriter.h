#pragma once
// Writes an AVI 1.0 file in the camera's layout: a header list with one
// stream header (and format) per stream, a movi list of data chunks and an
// idx1 index whose offsets count from the movi list type field, as the
// camera writes them for its "XBLB" text stream. FFmpeg's AVI muxer cannot
// write text streams, hence this writer. The header is written first with
// empty counts and rewritten with the final ones by Finish.

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lumora {

struct AviClipStream {
  std::uint32_t fccType = 0;     // "vids", "auds", "txts"
  std::uint32_t fccHandler = 0;  // "H264", "XBLB", or 0
  std::uint32_t chunkId = 0;     // "00dc", "02wb", "03tx"
  std::uint32_t scale = 1;
  std::uint32_t rate = 1;
  std::uint32_t sampleSize = 0;  // bytes per sample for PCM sound, else 0
  std::uint16_t width = 0;       // frame rectangle of a picture stream
  std::uint16_t height = 0;
  std::vector<std::uint8_t> format;  // strf body; none when empty
};

class CAviClipWriter {
 public:
  static std::uint32_t Fcc(const char* fourChars);
  // "00dc", "01wb", "03tx": the stream number in two digits and a suffix.
  static std::uint32_t ChunkId(int stream, const char* suffix);

  CAviClipWriter() = default;
  CAviClipWriter(const CAviClipWriter&) = delete;
  CAviClipWriter& operator=(const CAviClipWriter&) = delete;
  ~CAviClipWriter();

  // Takes over an open file (closed by Finish or the destructor). The
  // microseconds per frame and the picture size go into the main header.
  bool Start(std::FILE* file, std::vector<AviClipStream> streams, std::uint32_t usPerFrame,
             std::uint32_t width, std::uint32_t height);
  // One chunk of a stream, padded to an even length; `key` marks a key frame.
  bool AddChunk(std::size_t stream, const std::uint8_t* data, std::size_t size, bool key);
  // Writes idx1 and the final header; closes the file. False on any write
  // failure, also an earlier one.
  bool Finish();

  std::uint64_t BytesWritten() const { return m_nPos; }
  std::uint32_t ChunkCount(std::size_t stream) const { return m_counts.at(stream); }

 private:
  std::vector<std::uint8_t> HeaderList() const;
  bool Write(const void* data, std::size_t size);

  std::FILE* m_pFile = nullptr;
  std::vector<AviClipStream> m_streams;
  std::vector<std::uint32_t> m_counts;
  std::vector<std::uint64_t> m_bytes;
  std::vector<std::uint32_t> m_largest;
  std::uint32_t m_usPerFrame = 0;
  std::uint32_t m_width = 0;
  std::uint32_t m_height = 0;
  std::uint64_t m_nMoviListPos = 0;
  std::uint64_t m_nPos = 0;
  bool m_bFailed = false;
  // id, flags, offset from the movi type field, size
  std::vector<std::array<std::uint32_t, 4>> m_index;
};

}  // namespace lumora
