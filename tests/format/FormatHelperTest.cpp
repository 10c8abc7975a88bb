// The installed format helper as pkexec starts it: it refuses whatever is not
// an unmounted device on a removable disk, and formats a loop device (a disk
// image) as FAT32 with 64 KiB clusters that fsck.fat finds clean.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

const QString kHelper =
    QStringLiteral(LUMORA_BINARY_DIR "/tools/format-helper/lumora-format-helper");

int RunTool(const QString& program, const QStringList& args, QString* output = nullptr) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return -1;
  if (output) *output = QString::fromUtf8(p.readAll()).trimmed();
  return p.exitCode();
}

// The device mounted on "/" (the system disk), from the mount table.
QString SystemDevice() {
  std::ifstream in("/proc/self/mounts");
  std::string source, point, rest;
  while (in >> source >> point && std::getline(in, rest)) {
    if (point == "/" && source.rfind("/dev/", 0) == 0) return QString::fromStdString(source);
  }
  return {};
}

TEST(FormatHelper, RefusesAFileTheSystemDiskAndWrongArguments) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("card.img"));
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(1 << 20, '\x5a'));
  f.close();
  QString out;
  EXPECT_EQ(RunTool(kHelper, {file}, &out), 2);
  EXPECT_TRUE(out.contains(QStringLiteral("is not a block device"))) << out.toStdString();
  EXPECT_EQ(RunTool(kHelper, {}), 2);
  EXPECT_EQ(RunTool(kHelper, {file, file}), 2);
  EXPECT_EQ(RunTool(kHelper, {QStringLiteral("relative/sdc1")}), 2);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray(1 << 20, '\x5a'));  // untouched
  const QString system = SystemDevice();
  if (!system.isEmpty()) {
    SCOPED_TRACE(system.toStdString());
    EXPECT_EQ(RunTool(kHelper, {system}), 2);
  }
}

// Detaches a loop device when the test ends.
struct LoopDevice {
  QString device;
  ~LoopDevice() { RunTool(QStringLiteral("losetup"), {QStringLiteral("-d"), device}); }
};

TEST(FormatHelper, FormatsALoopDeviceWith64KiBClustersAndRefusesItMounted) {
  QTemporaryDir dir;
  const QString image = dir.filePath(QStringLiteral("card.img"));
  QFile f(image);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_TRUE(f.resize(300LL * 1024 * 1024));  // sparse
  f.close();
  {
    QString out;
    if (geteuid() != 0 ||
        RunTool(QStringLiteral("losetup"),
                {QStringLiteral("--find"), QStringLiteral("--show"), image}, &out) != 0) {
      GTEST_SKIP() << "no loop device can be attached here";
    }
    const LoopDevice loop{out};
    ASSERT_EQ(RunTool(kHelper, {loop.device}, &out), 0) << out.toStdString();
    // Mounted, the same device is refused.
    const QString mountPoint = dir.filePath(QStringLiteral("mnt"));
    QDir().mkpath(mountPoint);
    if (RunTool(QStringLiteral("mount"), {loop.device, mountPoint}) == 0) {
      EXPECT_EQ(RunTool(kHelper, {loop.device}, &out), 2);
      EXPECT_TRUE(out.contains(QStringLiteral("is mounted on"))) << out.toStdString();
      RunTool(QStringLiteral("umount"), {mountPoint});
    }
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray boot = f.read(512);
  f.close();
  ASSERT_EQ(boot.size(), 512);
  const auto byte = [&](int i) { return static_cast<unsigned char>(boot[i]); };
  EXPECT_EQ((byte(11) | byte(12) << 8) * byte(13),
            65536);  // bytes per sector x sectors per cluster
  EXPECT_EQ(boot.mid(71, 11), QByteArray("LUMORA     "));
  EXPECT_EQ(boot.mid(82, 8), QByteArray("FAT32   "));
  EXPECT_EQ(RunTool(QStringLiteral("fsck.fat"), {QStringLiteral("-n"), image}), 0);
}

}  // namespace
