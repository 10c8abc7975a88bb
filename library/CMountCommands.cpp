#include "library/CMountCommands.h"

#include <utility>

namespace lumora {

CMountCommands::CMountCommands(CCardFormat::Runner run, std::string mountPoint)
    : m_run(std::move(run)), m_mountPoint(std::move(mountPoint)) {}

DiskReply CMountCommands::Command(const std::vector<std::string>& argv) {
  const int rc = m_run(argv);
  DiskReply reply;
  reply.status = rc == 0 ? DiskStatus::Ok : DiskStatus::Failed;
  reply.detail = argv[0] + " ended with code " + std::to_string(rc);
  return reply;
}

DiskReply CMountCommands::Unmount(const std::string& device) { return Command({"umount", device}); }

DiskReply CMountCommands::Format(const std::string& device, const std::string& label,
                                 const std::vector<std::string>& mkfsArgs) {
  std::vector<std::string> argv{"mkfs.fat"};
  argv.insert(argv.end(), mkfsArgs.begin(), mkfsArgs.end());
  argv.insert(argv.end(), {"-n", label, device});
  return Command(argv);
}

DiskReply CMountCommands::Mount(const std::string& device) {
  DiskReply reply = Command({"mount", device, m_mountPoint});
  if (reply.status == DiskStatus::Ok) reply.mountPath = m_mountPoint;
  return reply;
}

}  // namespace lumora
