#pragma once
// Owner of the container reader of the open recording; the player asks it
// for the video stream count, the duration and the user-data records.

#include <cstdint>
#include <filesystem>
#include <memory>

#include "engine/IFileType.h"
#include "engine/UserData.h"

namespace lumora {

class CFileManager {
 public:
  CFileManager();
  CFileManager(const CFileManager&) = delete;
  CFileManager& operator=(const CFileManager&) = delete;
  ~CFileManager();

  // Probes the file and collects its user data. Returns 1 once a reader
  // exists, even for a file without video or user data; 0 only when the
  // reader could not be created.
  int Open(const std::filesystem::path& path);
  // Frees the records and the reader; 1 when a reader was closed, else 0.
  int Close();

  // -1 when nothing is open.
  int GetVideoStreamCount();
  // Milliseconds; -1 when nothing is open.
  std::int64_t GetDuration();
  // See CFileTypeN::GetNextUserData; kE_FAIL when nothing is open.
  std::int32_t GetNextUserData(std::uint8_t* buffer, std::uint32_t* length, std::uint32_t* cts);
  // 0 when nothing is open.
  int GetUserDataCount();
  // Length of the longest record of the open file (0 when none).
  std::uint32_t GetLargestUserDataLength() const;

 private:
  std::unique_ptr<IFileType> m_pFileType;
};

}  // namespace lumora
