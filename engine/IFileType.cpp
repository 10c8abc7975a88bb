#include "engine/IFileType.h"

namespace lumora {

IFileType::~IFileType() = default;

int IFileType::Open() { return -1; }

int IFileType::GetVideoStreamCount() { return m_nVideoStreamCount; }

std::int64_t IFileType::GetDuration() { return m_nDuration; }

int IFileType::ScanUserData() { return 0; }

void IFileType::ClearUserData() {}

std::int32_t IFileType::GetNextUserData(std::uint8_t* /*buffer*/, std::uint32_t* /*length*/,
                                        std::uint32_t* /*cts*/) {
  return kE_FAIL;
}

int IFileType::GetUserDataCount() { return 0; }

}  // namespace lumora
