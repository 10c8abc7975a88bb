#include "library/CCardFormatter.h"

#include <utility>

namespace lumora {

CCardFormatter::CCardFormatter(IDiskService& disks, CCardFormat::Runner run, std::string helperPath,
                               bool asRoot)
    : m_disks(disks), m_run(std::move(run)), m_helper(std::move(helperPath)), m_asRoot(asRoot) {}

CCardFormatter::Method CCardFormatter::FormatMethod() {
  if (m_asRoot) return Method::Direct;
  return m_disks.OffersMkfsArguments() ? Method::Service : Method::Helper;
}

DiskReply CCardFormatter::FormatStep(const std::string& device) {
  const int sector = CCardFormat::LogicalSectorSize(device);
  DiskReply reply;
  switch (FormatMethod()) {
    case Method::Service: {
      // udisks2 passes its own type and label options; the rest goes to mkfs.fat.
      std::vector<std::string> args = CCardFormat::MkfsArguments(device, sector);
      args.erase(args.begin());  // the program name
      args.pop_back();           // the device
      return m_disks.Format(device, CCardFormat::kVolumeLabel, args);
    }
    case Method::Helper: {
      const int rc = m_run({"pkexec", m_helper, device});
      reply.status = rc == 0                  ? DiskStatus::Ok
                     : rc == kPkexecDismissed ? DiskStatus::Dismissed
                                              : DiskStatus::Failed;
      reply.detail = "format helper ended with code " + std::to_string(rc);
      return reply;
    }
    case Method::Direct: {
      const int rc = m_run(CCardFormat::MkfsArguments(device, sector, CCardFormat::kVolumeLabel));
      reply.status = rc == 0 ? DiskStatus::Ok : DiskStatus::Failed;
      reply.detail = "mkfs.fat ended with code " + std::to_string(rc);
      return reply;
    }
  }
  return reply;
}

FormatResult CCardFormatter::Run(const std::string& device, const std::string& root) {
  FormatResult result;
  const DiskReply unmounted = m_disks.Unmount(device);
  if (unmounted.status != DiskStatus::Ok) {
    // Still mounted where it was: the caller may open it again.
    result.mountPath = root;
    result.error = "cannot unmount " + device + ": " + unmounted.detail;
    result.status = unmounted.status == DiskStatus::Busy        ? FormatStatus::Busy
                    : unmounted.status == DiskStatus::Dismissed ? FormatStatus::Cancelled
                                                                : FormatStatus::UnmountFailed;
    return result;
  }
  const DiskReply formatted = FormatStep(device);
  if (formatted.status == DiskStatus::Failed || formatted.status == DiskStatus::Busy) {
    // The file system may be half written: it is not mounted again.
    result.status = FormatStatus::FormatFailed;
    result.error = formatted.detail;
    return result;
  }
  const bool cancelled = formatted.status == DiskStatus::Dismissed;
  const DiskReply mounted = m_disks.Mount(device);
  if (mounted.status != DiskStatus::Ok || mounted.mountPath.empty()) {
    result.status = cancelled ? FormatStatus::Cancelled : FormatStatus::MountFailed;
    result.error = "cannot mount " + device + ": " + mounted.detail;
    return result;
  }
  result.mountPath = mounted.mountPath;
  result.status = cancelled ? FormatStatus::Cancelled : FormatStatus::Formatted;
  return result;
}

}  // namespace lumora
