#pragma once
// Watches the mount table and reports drives (mount points) that appear or
// disappear: the stand-in for the shell's drive notifications (message 0x458).
// The kernel flags /proc/self/mountinfo as exceptional when the table
// changes; a slow poll covers tables that cannot be watched that way.

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace lumora {

class CDriveWatcher : public QObject {
  Q_OBJECT

 public:
  explicit CDriveWatcher(QString tablePath = QStringLiteral("/proc/self/mountinfo"),
                         QObject* parent = nullptr);
  ~CDriveWatcher() override;

  // Reads the table once as the starting point and begins watching.
  void Start();
  // Takes a new reading of the table text and reports the differences.
  void Feed(const std::string& tableText);
  // Re-reads the watched file.
  void Rescan();

  const std::vector<std::string>& Mounts() const { return mounts_; }

  // Mount points of a mount-table text, in table order.
  static std::vector<std::string> MountPoints(const std::string& tableText);
  struct Changes {
    std::vector<std::string> added;
    std::vector<std::string> removed;
  };
  static Changes Compare(const std::vector<std::string>& before,
                         const std::vector<std::string>& after);

 signals:
  void driveAdded(const QString& mountPath);
  void driveRemoved(const QString& mountPath);

 private:
  std::string ReadTable() const;

  QString path_;
  std::vector<std::string> mounts_;
  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  QTimer* poll_ = nullptr;
};

}  // namespace lumora
