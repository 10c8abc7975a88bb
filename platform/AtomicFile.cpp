#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

namespace lumora {
namespace {

std::mutex& FaultMutex() {
  static std::mutex m;
  return m;
}

std::function<bool(AtomicWriteStage)>& FaultHook() {
  static std::function<bool(AtomicWriteStage)> hook;
  return hook;
}

bool Faulted(AtomicWriteStage stage) {
  std::lock_guard<std::mutex> lock(FaultMutex());
  return FaultHook() && FaultHook()(stage);
}

void SetError(std::string* error, const std::string& what, int err) {
  if (error) *error = what + ": " + std::strerror(err);
}

// Closes a descriptor on every return path.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool HasWriteBit(const struct stat& st) { return (st.st_mode & 0222) != 0; }

}  // namespace

bool ReadWholeFile(const std::filesystem::path& path, std::string& out, std::size_t limit) {
  out.clear();
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return false;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<std::size_t>(st.st_size) > limit) return false;
  std::string data;
  data.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    // The file may grow while being read: keep the bound.
    if (data.size() + static_cast<std::size_t>(n) > limit) return false;
    data.append(buf, static_cast<std::size_t>(n));
  }
  out = std::move(data);
  return true;
}

bool ReadFileHead(const std::filesystem::path& path, std::size_t count, std::string& out) {
  out.clear();
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return false;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  std::string data(count, '\0');
  std::size_t got = 0;
  while (got < count) {
    ssize_t n = ::read(fd.get(), data.data() + got, count - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  data.resize(got);
  out = std::move(data);
  return true;
}

bool IsFileWritable(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (!HasWriteBit(st)) return false;
  Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
  return fd.get() >= 0;
}

bool OpenableForReadWrite(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (!HasWriteBit(st)) return false;
  Fd fd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
  return fd.get() >= 0;
}

void SetAtomicWriteFaultForTesting(std::function<bool(AtomicWriteStage)> fault) {
  std::lock_guard<std::mutex> lock(FaultMutex());
  FaultHook() = std::move(fault);
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error) {
  namespace fs = std::filesystem;
  fs::path dir = path.parent_path();
  if (dir.empty()) dir = ".";

  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) {
      if (error) *error = "not a regular file: " + path.string();
      return false;
    }
    mode = st.st_mode & 07777;
  }

  std::string tmpl = (dir / (path.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  if (Faulted(AtomicWriteStage::kCreateTemp)) {
    SetError(error, "cannot create a temporary file in " + dir.string(), EIO);
    return false;
  }
  Fd fd(::mkstemp(name.data()));
  if (fd.get() < 0) {
    SetError(error, "cannot create a temporary file in " + dir.string(), errno);
    return false;
  }
  const std::string tmpPath(name.data());
  auto fail = [&](const std::string& what, int err) {
    ::close(fd.release());
    ::unlink(tmpPath.c_str());
    SetError(error, what, err);
    return false;
  };

  std::size_t half = bytes.size() / 2;
  if (!WriteAll(fd.get(), bytes.data(), half)) return fail("cannot write " + tmpPath, errno);
  if (Faulted(AtomicWriteStage::kWrite)) return fail("cannot write " + tmpPath, ENOSPC);
  if (!WriteAll(fd.get(), bytes.data() + half, bytes.size() - half)) {
    return fail("cannot write " + tmpPath, errno);
  }
  if (::fchmod(fd.get(), mode) != 0) return fail("cannot set the mode of " + tmpPath, errno);
  if (Faulted(AtomicWriteStage::kSync)) return fail("cannot flush " + tmpPath, EIO);
  if (::fsync(fd.get()) != 0) return fail("cannot flush " + tmpPath, errno);
  if (::close(fd.release()) != 0) {
    int err = errno;
    ::unlink(tmpPath.c_str());
    SetError(error, "cannot close " + tmpPath, err);
    return false;
  }
  int renameErr = EIO;
  bool renamed = !Faulted(AtomicWriteStage::kRename);
  if (renamed && ::rename(tmpPath.c_str(), path.c_str()) != 0) {
    renamed = false;
    renameErr = errno;
  }
  if (!renamed) {
    int err = renameErr;
    ::unlink(tmpPath.c_str());
    SetError(error, "cannot replace " + path.string(), err);
    return false;
  }
  // Make the rename itself durable; a failure here no longer risks the data.
  Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
  return true;
}

}  // namespace lumora
