#pragma once
// One user-data record embedded in a recording (G-sensor sample, driver
// assistance values or a GPS sentence) and the result codes of handing
// records out.

#include <cstdint>
#include <vector>

namespace lumora {

// Windows-style result codes of the container reader.
inline constexpr std::int32_t kS_OK = 0;
inline constexpr std::int32_t kE_FAIL = static_cast<std::int32_t>(0x80004005);
// The read cursor is past the last record.
inline constexpr std::int32_t kNoMoreRecords = 38;

struct _TAG_USER_DATA {
  // Payload bytes; the record owns them, so clearing the array frees them.
  std::vector<std::uint8_t> data;
  // Payload size in bytes (the chunk's size field, unpadded).
  std::uint32_t length = 0;
  // Presentation time in milliseconds from the start of the recording.
  std::uint32_t cts = 0;
};

}  // namespace lumora
