#include "engine/BoundedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lumora {

BoundedFile::~BoundedFile() { Close(); }

bool BoundedFile::Open(const std::filesystem::path& path) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  m_fd = fd;
  m_size = static_cast<std::uint64_t>(st.st_size);
  m_pos = 0;
  return true;
}

void BoundedFile::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  m_size = 0;
  m_pos = 0;
}

std::size_t BoundedFile::ReadRaw(std::uint64_t pos, void* dest, std::size_t count) const {
  if (m_fd < 0 || pos >= m_size) return 0;
  if (count > m_size - pos) count = static_cast<std::size_t>(m_size - pos);
  auto* out = static_cast<unsigned char*>(dest);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(m_fd, out + done, count - done, static_cast<off_t>(pos + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // error, or the file shrank while we read it
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t BoundedFile::ReadSome(void* dest, std::size_t count) {
  const std::size_t n = ReadRaw(m_pos, dest, count);
  m_pos += n;
  return n;
}

bool BoundedFile::ReadExact(void* dest, std::size_t count) {
  if (count > Remaining()) return false;
  if (ReadRaw(m_pos, dest, count) != count) return false;
  m_pos += count;
  return true;
}

bool BoundedFile::ReadAt(std::uint64_t pos, void* dest, std::size_t count) const {
  if (pos > m_size || count > m_size - pos) return false;
  return ReadRaw(pos, dest, count) == count;
}

bool BoundedFile::ReadU32(std::uint32_t& value) {
  unsigned char b[4];
  if (!ReadExact(b, sizeof b)) return false;
  value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
          (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  return true;
}

}  // namespace lumora
