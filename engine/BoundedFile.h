#pragma once
// A read-only file with a cursor whose reads never go past the size the file
// had when it was opened. The container reader walks untrusted sizes with it:
// a read that cannot be satisfied in full reports failure instead of
// returning short or stale data.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace lumora {

class BoundedFile {
 public:
  BoundedFile() = default;
  BoundedFile(const BoundedFile&) = delete;
  BoundedFile& operator=(const BoundedFile&) = delete;
  ~BoundedFile();

  // Opens a regular file for reading; false when it cannot be opened.
  bool Open(const std::filesystem::path& path);
  void Close();
  bool IsOpen() const { return m_fd >= 0; }

  std::uint64_t Size() const { return m_size; }
  std::uint64_t Tell() const { return m_pos; }
  // Bytes between the cursor and the end of the file.
  std::uint64_t Remaining() const { return m_pos < m_size ? m_size - m_pos : 0; }

  // Moves the cursor; positions past the end are allowed but every read
  // from there fails.
  void Seek(std::uint64_t pos) { m_pos = pos; }

  // Reads up to count bytes at the cursor and advances it by what was read.
  std::size_t ReadSome(void* dest, std::size_t count);
  // Reads exactly count bytes; on failure the cursor is left unchanged.
  bool ReadExact(void* dest, std::size_t count);
  // Reads exactly count bytes at pos without moving the cursor.
  bool ReadAt(std::uint64_t pos, void* dest, std::size_t count) const;
  // Little-endian unsigned 32-bit value (also used for four-character codes).
  bool ReadU32(std::uint32_t& value);

 private:
  std::size_t ReadRaw(std::uint64_t pos, void* dest, std::size_t count) const;

  int m_fd = -1;
  std::uint64_t m_size = 0;
  std::uint64_t m_pos = 0;
};

}  // namespace lumora
