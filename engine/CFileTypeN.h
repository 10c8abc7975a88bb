#pragma once
// The container reader for the camera's recordings. Open() probes any file
// libavformat understands (AVI, MP4) for its video streams and duration;
// ScanUserData() walks the RIFF/AVI structure by hand and copies every chunk
// of the camera's private text stream into memory with a time stamp.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/IFileType.h"
#include "engine/UserData.h"

namespace lumora {

class BoundedFile;

class CFileTypeN : public IFileType {
 public:
  // Size of a kept "strh" stream header (the frame rectangle is not kept).
  static constexpr std::size_t kStreamHeaderSize = 48;
  // Entries of the stream chunk-id table.
  static constexpr std::size_t kMaxStreams = 16;

  CFileTypeN() = default;
  ~CFileTypeN() override;

  // Stores the recording path; always returns 1. The full UTF-8 path is kept
  // (no fixed-size buffer), so a long path is never cut into another name.
  int SetFileName(const std::filesystem::path& path);

  int Open() override;
  int ScanUserData() override;
  void ClearUserData() override;
  // 0: record copied (length and cts set). kNoMoreRecords: cursor past the
  // last record. kE_FAIL: no records at all, or the offered length is too
  // small; then length = record length - offered length, nothing is copied
  // and the record is skipped.
  std::int32_t GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                               std::uint32_t* cts) override;
  int GetUserDataCount() override;

  // Length of the longest collected record, so a caller can offer a buffer
  // that loses nothing to the too-small rule.
  std::uint32_t GetLargestUserDataLength() const;

 private:
  struct WalkState {
    bool bHeaderListSeen = false;
    bool bMoviSeen = false;
    std::uint64_t nMoviListPos = 0;
  };

  bool WalkRiff(BoundedFile& file, std::uint64_t riffPos, WalkState& state);
  bool ParseHeaderList(BoundedFile& file, std::uint64_t end);
  void ClassifyStream(const std::array<std::uint8_t, kStreamHeaderSize>& header,
                      std::size_t streamNumber);
  void ReadIndex(BoundedFile& file, std::uint32_t size);
  void ScanMoviSequentially(BoundedFile& file, std::uint64_t listPos);
  bool IsInChunkIdTable(std::uint32_t id) const;
  std::uint32_t NextTimeStamp();
  // Appends a record unless the collected payloads would exceed the file
  // size (payloads are copies of distinct chunks, so a sound file never
  // needs more); false when the record was refused.
  bool CanHold(std::uint64_t length, const BoundedFile& file) const;

  std::filesystem::path m_path;
  // The path handed to libavformat (UTF-8).
  std::string m_strFileName;
  // Chunk id of each stream in header order; a zero entry ends the table.
  std::array<std::uint32_t, kMaxStreams> m_dwChunkIds{};
  std::vector<_TAG_USER_DATA> m_arrUserData;

  // Walk state, reset at each walk.
  std::int32_t m_nCursor = 0;
  std::uint32_t m_dwUserDataId = 0;
  std::uint64_t m_nIndexBase = 0;
  std::uint64_t m_nStampCount = 0;
  std::uint64_t m_nCollectedBytes = 0;
  int m_nUserStreams = 0;
  std::array<std::uint8_t, kStreamHeaderSize> m_strhKept{};
};

}  // namespace lumora
