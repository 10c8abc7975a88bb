#pragma once
// The desktop's disk service, udisks2, over D-Bus (QtDBus): unmounts,
// formats and mounts a block device the way file managers do, so that the
// logged-in user needs no root rights for their own removable media.
#include <QDBusConnection>
#include <QString>
#include <QVariantList>
#include <optional>

#include "platform/IDiskService.h"

namespace lumora {

class CUDisks2 : public IDiskService {
 public:
  static constexpr const char* kService = "org.freedesktop.UDisks2";
  // How long a call may take: the user may be typing a password meanwhile.
  static constexpr int kCallTimeoutMs = 5 * 60 * 1000;
  static constexpr int kFormatTimeoutMs = 30 * 60 * 1000;

  // The system bus in the program; a private bus with a stand-in in tests.
  explicit CUDisks2(QDBusConnection bus);

  bool Available() override;
  bool OffersMkfsArguments() override;
  DiskReply Unmount(const std::string& device) override;
  DiskReply Format(const std::string& device, const std::string& label,
                   const std::vector<std::string>& mkfsArgs) override;
  DiskReply Mount(const std::string& device) override;

  // udisks2's object of a block device: "/dev/sdc1" ->
  // "/org/freedesktop/UDisks2/block_devices/sdc1" (characters other than
  // letters, digits and "_" as _xx, "dm-0" -> "dm_2d0").
  static QString ObjectPath(const std::string& device);
  // "2.10.1" is at least 2.10; "2.9.4" is not.
  static bool VersionAtLeast(const QString& version, int major, int minor);

 private:
  DiskReply Call(const std::string& device, const QString& interface, const QString& method,
                 const QVariantList& args, int timeoutMs, QVariant* answer = nullptr);
  // The first mount point of an already mounted device.
  QString MountPointOf(const std::string& device);

  QDBusConnection m_bus;
  std::optional<QString> m_version;
};

}  // namespace lumora
