#pragma once
// The file a clip is written to. The clip goes into a temporary file in the
// target folder first and takes its name only when it is complete, so that
// a failure or a cancellation never leaves a partial file; a target that is
// one of the inputs, or a folder without the room for the clip, is refused
// before anything is written.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace lumora {

class CClipTarget {
 public:
  CClipTarget() = default;
  CClipTarget(const CClipTarget&) = delete;
  CClipTarget& operator=(const CClipTarget&) = delete;
  // Removes the temporary file unless Commit succeeded.
  ~CClipTarget();

  // Checks the target and makes the temporary file. False with a message;
  // `badInput` tells a refused target (an input, a folder) from a folder
  // that cannot take the file.
  bool Create(const std::filesystem::path& output, const std::vector<std::filesystem::path>& inputs,
              std::uint64_t bytesNeeded, std::string& error, bool& badInput);
  // The open temporary file; the caller closes it before Commit.
  std::FILE* TakeFile();
  // Gives the finished temporary file the target's name.
  bool Commit(std::string& error);
  // Removes the temporary file.
  void Discard();

  const std::filesystem::path& TempPath() const { return m_temp; }

 private:
  std::filesystem::path m_output;
  std::filesystem::path m_temp;
  std::FILE* m_pFile = nullptr;
  bool m_bCommitted = false;
};

}  // namespace lumora
