#include "platform/qt/CDriveWatcher.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "platform/CMountTable.h"

namespace lumora {

CDriveWatcher::CDriveWatcher(QString tablePath, QObject* parent)
    : QObject(parent), path_(std::move(tablePath)) {}

CDriveWatcher::~CDriveWatcher() {
  delete notifier_;
  if (fd_ >= 0) ::close(fd_);
}

std::string CDriveWatcher::ReadTable() const {
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return {};
  // Mount tables are small; cap the read so a bad path cannot flood memory.
  return file.read(4 * 1024 * 1024).toStdString();
}

void CDriveWatcher::Start() {
  mounts_ = MountPoints(ReadTable());
  if (path_.startsWith(QStringLiteral("/proc/"))) {
    fd_ = ::open(path_.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
  }
  if (fd_ >= 0) {
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Exception, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
      // Reading the table to its end re-arms the kernel's change flag.
      char buffer[4096];
      ::lseek(fd_, 0, SEEK_SET);
      while (::read(fd_, buffer, sizeof buffer) > 0) {
      }
      Rescan();
    });
  }
  poll_ = new QTimer(this);
  connect(poll_, &QTimer::timeout, this, &CDriveWatcher::Rescan);
  poll_->start(fd_ >= 0 ? 5000 : 1000);
}

std::vector<std::string> CDriveWatcher::MountPoints(const std::string& tableText) {
  std::vector<std::string> mounts;
  for (const MountEntry& entry : CMountTable::Parse(tableText)) mounts.push_back(entry.mountPoint);
  return mounts;
}

CDriveWatcher::Changes CDriveWatcher::Compare(const std::vector<std::string>& before,
                                              const std::vector<std::string>& after) {
  Changes changes;
  for (const std::string& mount : after) {
    if (std::find(before.begin(), before.end(), mount) == before.end())
      changes.added.push_back(mount);
  }
  for (const std::string& mount : before) {
    if (std::find(after.begin(), after.end(), mount) == after.end())
      changes.removed.push_back(mount);
  }
  return changes;
}

void CDriveWatcher::Rescan() { Feed(ReadTable()); }

void CDriveWatcher::Feed(const std::string& tableText) {
  std::vector<std::string> now = MountPoints(tableText);
  const Changes changes = Compare(mounts_, now);
  mounts_ = std::move(now);
  for (const std::string& mount : changes.added) emit driveAdded(QString::fromStdString(mount));
  for (const std::string& mount : changes.removed) emit driveRemoved(QString::fromStdString(mount));
}

}  // namespace lumora
