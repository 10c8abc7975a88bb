#pragma once
// One recording that a clip is cut from: its streams as libavformat sees
// them, the key-frame times of its video channels, its length and the
// user-data records the container reader collects from it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/CClipPlan.h"
#include "engine/FFmpegHandles.h"
#include "engine/UserData.h"

namespace lumora {

class CClipSource {
 public:
  // Opens the file and learns its timing from the index, or from one pass
  // over its packets when it has none (a recording cut by a power loss).
  // False with a message when it cannot be read or has no video.
  bool Open(const std::filesystem::path& path, std::string& error);
  // Opens the demultiplexer again at the start of the file.
  bool Rewind(std::string& error);
  // Moves the demultiplexer to a point at or before t (own time, us) from
  // which every stream reads on; false when it could not.
  bool SeekBefore(std::int64_t t);

  // Why `other` cannot be joined behind this recording; empty when it can.
  std::string Mismatch(const CClipSource& other) const;

  const std::filesystem::path& Path() const { return m_path; }
  AVFormatContext* Format() const { return m_format.get(); }
  const ClipSourceTiming& Timing() const { return m_timing; }
  const std::vector<int>& VideoStreams() const { return m_video; }
  int AudioStream() const { return m_audio; }
  // Time base of the text stream the records come from (scale / rate);
  // {0, 1} when there is none.
  AVRational TextTimeBase() const { return m_textBase; }
  const std::vector<_TAG_USER_DATA>& Records() const { return m_records; }
  std::uint64_t FileSize() const { return m_nFileSize; }

  // Time of a packet of stream `index` in us from the start; false when the
  // packet carries no time.
  bool PacketTimeUs(const AVPacket& packet, std::int64_t& us) const;

 private:
  bool OpenFormat(std::string& error);
  bool ReadTiming();
  void LoadRecords();

  std::filesystem::path m_path;
  FormatContextPtr m_format;
  std::vector<int> m_video;
  int m_audio = -1;
  AVRational m_textBase{0, 1};
  ClipSourceTiming m_timing;
  std::vector<_TAG_USER_DATA> m_records;
  std::uint64_t m_nFileSize = 0;
};

}  // namespace lumora
