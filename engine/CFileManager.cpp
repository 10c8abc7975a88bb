#include "engine/CFileManager.h"

#include <new>

#include "engine/CFileTypeN.h"

namespace lumora {

CFileManager::CFileManager() = default;

// The reader is released with its manager as well as by Close().
CFileManager::~CFileManager() { Close(); }

int CFileManager::Open(const std::filesystem::path& path) {
  if (m_pFileType) Close();
  std::unique_ptr<CFileTypeN> reader;
  try {
    reader = std::make_unique<CFileTypeN>();
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (reader->SetFileName(path) != 1) return 0;
  // A file without video or without user data still counts as open; the
  // player decides from the stream count.
  reader->Open();
  reader->ScanUserData();
  m_pFileType = std::move(reader);
  return 1;
}

int CFileManager::Close() {
  if (!m_pFileType) return 0;
  m_pFileType->ClearUserData();
  m_pFileType.reset();
  return 1;
}

int CFileManager::GetVideoStreamCount() {
  return m_pFileType ? m_pFileType->GetVideoStreamCount() : -1;
}

std::int64_t CFileManager::GetDuration() { return m_pFileType ? m_pFileType->GetDuration() : -1; }

std::int32_t CFileManager::GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                           std::uint32_t* cts) {
  return m_pFileType ? m_pFileType->GetNextUserData(buffer, length, cts) : kE_FAIL;
}

int CFileManager::GetUserDataCount() { return m_pFileType ? m_pFileType->GetUserDataCount() : 0; }

std::uint32_t CFileManager::GetLargestUserDataLength() const {
  const auto* reader = dynamic_cast<const CFileTypeN*>(m_pFileType.get());
  return reader ? reader->GetLargestUserDataLength() : 0;
}

}  // namespace lumora
