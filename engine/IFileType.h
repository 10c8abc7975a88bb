#pragma once
// Container reader interface: probes a recording for its video streams and
// duration and collects the user-data records it carries. The default bodies
// are what a reader that knows nothing about a file answers.

#include <cstdint>

#include "engine/UserData.h"

namespace lumora {

class IFileType {
 public:
  IFileType() = default;
  IFileType(const IFileType&) = delete;
  IFileType& operator=(const IFileType&) = delete;
  virtual ~IFileType();

  // Probes the file; 0 when at least one video stream was found, else -1.
  virtual int Open();
  // The number of video streams, -1 before a successful probe.
  virtual int GetVideoStreamCount();
  // Duration of the first video stream in milliseconds.
  virtual std::int64_t GetDuration();
  // Collects the user-data records; 1 when a record index was found, else 0.
  virtual int ScanUserData();
  // Frees every record.
  virtual void ClearUserData();
  // Hands out the record at the read cursor (see CFileTypeN).
  virtual std::int32_t GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                       std::uint32_t* cts);
  // The number of collected records.
  virtual int GetUserDataCount();

 protected:
  int m_nVideoStreamCount = -1;
  std::int64_t m_nDuration = 0;
};

}  // namespace lumora
