#include "engine/CClipTarget.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace lumora {

namespace {

std::string Megabytes(std::uint64_t bytes) { return std::to_string((bytes + 999999) / 1000000); }

}  // namespace

CClipTarget::~CClipTarget() { Discard(); }

bool CClipTarget::Create(const std::filesystem::path& output,
                         const std::vector<std::filesystem::path>& inputs,
                         std::uint64_t bytesNeeded, std::string& error, bool& badInput) {
  namespace fs = std::filesystem;
  badInput = true;
  std::error_code ec;
  m_output = fs::absolute(output, ec);
  if (ec || output.filename().empty()) {
    error = "not a file name: " + output.string();
    return false;
  }
  if (fs::is_directory(m_output, ec)) {
    error = "the output is a folder: " + output.string();
    return false;
  }
  for (const fs::path& input : inputs) {
    std::error_code same;
    if (fs::equivalent(m_output, input, same) && !same) {
      error = "refusing to overwrite the input " + input.string();
      return false;
    }
  }
  badInput = false;
  const fs::path folder = m_output.parent_path();
  const fs::space_info space = fs::space(folder, ec);
  if (ec) {
    error = "cannot write into the folder " + folder.string() + ": " + ec.message();
    return false;
  }
  if (space.available < bytesNeeded) {
    error = "not enough free space in " + folder.string() + ": the clip needs about " +
            Megabytes(bytesNeeded) + " MB, " + Megabytes(space.available) + " MB are free";
    return false;
  }
  std::string name = (folder / ("." + m_output.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    error = "cannot write into the folder " + folder.string() + ": " + std::strerror(errno);
    return false;
  }
  m_temp = name;
  // mkstemp makes the file private; a finished clip gets the usual rights.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  m_pFile = fdopen(fd, "wb");
  if (m_pFile == nullptr) {
    close(fd);
    Discard();
    error = "cannot write " + m_temp.string();
    return false;
  }
  return true;
}

std::FILE* CClipTarget::TakeFile() {
  std::FILE* file = m_pFile;
  m_pFile = nullptr;
  return file;
}

bool CClipTarget::Commit(std::string& error) {
  std::error_code ec;
  std::filesystem::rename(m_temp, m_output, ec);
  if (ec) {
    error = "cannot name the clip " + m_output.string() + ": " + ec.message();
    Discard();
    return false;
  }
  m_bCommitted = true;
  return true;
}

void CClipTarget::Discard() {
  if (m_pFile != nullptr) {
    std::fclose(m_pFile);
    m_pFile = nullptr;
  }
  if (!m_bCommitted && !m_temp.empty()) {
    std::error_code ec;
    std::filesystem::remove(m_temp, ec);
    m_temp.clear();
  }
}

}  // namespace lumora
