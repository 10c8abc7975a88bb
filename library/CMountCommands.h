#pragma once
// The disk service for root when udisks2 cannot be reached: umount and mount
// run as programs, the card mounted again where it was.
#include <string>

#include "library/CCardFormat.h"
#include "platform/IDiskService.h"

namespace lumora {

class CMountCommands : public IDiskService {
 public:
  CMountCommands(CCardFormat::Runner run, std::string mountPoint);

  bool Available() override { return true; }
  bool OffersMkfsArguments() override { return false; }
  DiskReply Unmount(const std::string& device) override;
  DiskReply Format(const std::string& device, const std::string& label,
                   const std::vector<std::string>& mkfsArgs) override;
  DiskReply Mount(const std::string& device) override;

 private:
  DiskReply Command(const std::vector<std::string>& argv);

  CCardFormat::Runner m_run;
  std::string m_mountPoint;
};

}  // namespace lumora
