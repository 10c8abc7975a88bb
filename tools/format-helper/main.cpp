// lumora-format-helper DEVICE: formats a camera card's block device as FAT32
// with 64 KiB clusters for a user who is not root. It is started through
// pkexec (polkit asks for the password), so it trusts nothing of its caller:
// it takes one device path, checks again that the device is a block device
// on a removable disk that holds no system folder and is neither mounted nor
// held, runs mkfs.fat from the system's folders and ends with mkfs.fat's exit
// code. A refused device ends with code 2 before anything is written.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "library/CCardFormat.h"
#include "platform/CMountTable.h"

namespace {

constexpr int kRefused = 2;

std::vector<lumora::MountEntry> Mounts() {
  std::ifstream in("/proc/self/mountinfo");
  std::stringstream text;
  text << in.rdbuf();
  return lumora::CMountTable::Parse(text.str());
}

// mkfs.fat from the system's own folders only, never through PATH.
std::string MkfsProgram() {
  for (const char* dir : {"/usr/sbin", "/sbin", "/usr/bin", "/bin"}) {
    const std::string path = std::string(dir) + "/mkfs.fat";
    if (access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lumora-format-helper DEVICE\n");
    return kRefused;
  }
  std::error_code ec;
  const std::filesystem::path given(argv[1]);
  const std::string device = std::filesystem::canonical(given, ec).string();
  if (ec || !given.is_absolute()) {
    std::fprintf(stderr, "lumora-format-helper: %s: no such device\n", argv[1]);
    return kRefused;
  }
  const std::string refusal =
      lumora::CCardFormat::HelperRefusal(device, lumora::CCardFormat::ReadFacts(device), Mounts());
  if (!refusal.empty()) {
    std::fprintf(stderr, "lumora-format-helper: %s\n", refusal.c_str());
    return kRefused;
  }
  const std::string mkfs = MkfsProgram();
  if (mkfs.empty()) {
    std::fprintf(stderr, "lumora-format-helper: mkfs.fat (dosfstools) is not installed\n");
    return kRefused;
  }
  auto args = lumora::CCardFormat::MkfsArguments(
      device, lumora::CCardFormat::LogicalSectorSize(device), lumora::CCardFormat::kVolumeLabel);
  args[0] = mkfs;
  return lumora::CCardFormat::RunProcess(args);
}
