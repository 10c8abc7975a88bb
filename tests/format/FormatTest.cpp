// Formatting a card: the flow against a stand-in udisks2 on a private bus
// (each step's call and message, no step after a failed one), and the format
// helper as pkexec starts it (refusals; a loop device formatted as FAT32 with
// 64 KiB clusters that fsck.fat finds clean).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <sys/prctl.h>
#include <csignal>

#include "library/CCardFormatter.h"
#include "library/qt/CCardCommands.h"
#include "platform/qt/CUDisks2.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"

namespace lumora {
namespace {

using Outcome = CCardCommands::FormatOutcome;
const QString kBusName = "lumora-format-test";
const std::string kHelper = "/usr/libexec/lumora-viewer/lumora-format-helper";
const std::string kMountPath = "/media/user/LUMORA";

class FormatFlowTest : public ::testing::Test {
 protected:
  // One private bus and one stand-in serve every case.
  static void SetUpTestSuite() {
    daemon_ = std::make_unique<QProcess>();
    // Both end with the test program, even when it crashes.
    daemon_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    daemon_->start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!daemon_->waitForReadyRead(10000)) return;
    const QString address = QString::fromUtf8(daemon_->readLine().trimmed());
    QDBusConnection bus = QDBusConnection::connectToBus(address, kBusName);
    standIn_ = std::make_unique<QProcess>();
    standIn_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    standIn_->setProcessEnvironment(env);
    standIn_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    standIn_->start("/usr/bin/python3",
                    {QStringLiteral(LUMORA_SOURCE_DIR "/tests/format/udisks2_standin.py")});
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() &&
           !bus.interface()->isServiceRegistered(QString::fromLatin1(CUDisks2::kService))) {
      QThread::msleep(20);
    }
  }
  static void TearDownTestSuite() {
    QDBusConnection::disconnectFromBus(kBusName);
    for (auto* p : {standIn_.get(), daemon_.get()}) {
      p->kill();
      p->waitForFinished();
    }
    standIn_.reset();
    daemon_.reset();
  }
  void SetUp() override {
    ASSERT_TRUE(Bus().interface()->isServiceRegistered(QString::fromLatin1(CUDisks2::kService)))
        << "no stand-in udisks2 (dbus-daemon, python3-dbus and python3-gi are needed)";
    StringTable::Instance().SetLanguage(1033);
    std::filesystem::create_directories(Card() / "NORMAL");
  }
  static QDBusConnection Bus() { return QDBusConnection(kBusName); }
  std::filesystem::path Card() const { return std::filesystem::path(dir_.path().toStdString()); }
  // Calls the stand-in's own test interface.
  static QDBusMessage Control(const char* method, const QVariantList& args = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(CUDisks2::kService), "/org/freedesktop/UDisks2", "org.lumora.Test",
        QString::fromLatin1(method));
    call.setArguments(args);
    return Bus().call(call);
  }

  QTemporaryDir dir_;
  MessageBoxRecorder boxes_;
  inline static std::unique_ptr<QProcess> daemon_;
  inline static std::unique_ptr<QProcess> standIn_;
};

TEST_F(FormatFlowTest, EachStepInOrderAndAFailedStepEndsTheRun) {
  const std::string card = dir_.path().toStdString();
  const std::map<char, std::string> step{
      {'U', "sdx1 Unmount {}"},
      {'F', R"(sdx1 Format "vfat",{"label":"LUMORA","mkfs-args":["-F","32","-s","128","-S","512"],)"
            R"("update-partition-type":true})"},
      {'M', "sdx1 Mount {}"}};
  const std::map<std::string, std::string> program{
      {"pkexec", "pkexec " + kHelper + " /dev/sdx1"},
      {"mkfs", "mkfs.fat -F 32 -s 128 -S 512 -n LUMORA /dev/sdx1"}};
  // fail: "Method:udisks2 error"; exit: pkexec's exit code; calls: U(nmount), F(ormat),
  // M(ount) to the service; run: the program started; after: where the card is reached.
  const struct {
    const char *name, *version, *fail;
    int exit;
    bool asRoot;
    Outcome outcome;
    int message;  // the string shown after the question; 0: none
    const char *calls, *run, *after;
  } rows[] = {
      {"udisks2 formats", "2.10.0", "", 0, false, Outcome::Formatted, 619, "UFM", "", "new"},
      {"helper formats", "2.9.4", "", 0, false, Outcome::Formatted, 619, "UM", "pkexec", "new"},
      {"root runs mkfs.fat", "2.10.0", "", 0, true, Outcome::Formatted, 619, "UM", "mkfs", "new"},
      {"card busy", "2.10.0", "Unmount:DeviceBusy", 0, false, Outcome::Busy, 803, "U", "", "old"},
      {"unmount refused", "2.9.4", "Unmount:NotAuthorized", 0, false, Outcome::Failed, 620, "U", "",
       "old"},
      {"udisks2 format fails", "2.10.0", "Format:Failed", 0, false, Outcome::Failed, 620, "UF", "",
       ""},
      {"helper fails", "2.9.4", "", 1, false, Outcome::Failed, 620, "U", "pkexec", ""},
      {"helper prompt closed", "2.9.4", "", 126, false, Outcome::Cancelled, 0, "UM", "pkexec",
       "new"},
      {"udisks2 prompt closed", "2.10.0", "Format:NotAuthorizedDismissed", 0, false,
       Outcome::Cancelled, 0, "UFM", "", "new"},
      {"mount fails", "2.9.4", "Mount:Failed", 0, false, Outcome::NotMounted, 804, "UM", "pkexec",
       ""},
      {"desktop mounted it first", "2.9.4", "Mount:AlreadyMounted", 0, false, Outcome::Formatted,
       619, "UM", "pkexec", "new"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QStringList fail = *row.fail ? QStringList{row.fail} : QStringList{};
    ASSERT_EQ(Control("Setup", {row.version, fail, QString::fromStdString(kMountPath)}).type(),
              QDBusMessage::ReplyMessage);
    boxes_.Clear();
    boxes_.QueueAnswer(kIdOk);
    std::vector<std::string> run;
    std::vector<std::string> sized;
    QStringList opened;
    int released = 0;
    CCardCommands::FormatHooks hooks;
    hooks.size = [&](const std::filesystem::path& root) {
      sized.push_back(root.string());
      return std::optional<double>(7600.0 * 1048576.0);
    };
    hooks.release = [&] { ++released; };
    hooks.openFolder = [&](const QString& root) { opened << root; };
    hooks.format = [&](const DriveInfo& drive) {
      CUDisks2 udisks(Bus());
      CCardFormatter formatter(
          udisks,
          [&](const std::vector<std::string>& argv) {
            std::string line;
            for (const std::string& a : argv) line += (line.empty() ? "" : " ") + a;
            run.push_back(line);
            return row.exit;
          },
          kHelper, row.asRoot);
      return formatter.Run(drive.device, drive.root.string());
    };
    std::string cardRoot = "unset";
    const CFixedDriveEnumerator drives({{Card(), true, false, "/dev/sdx1", "vfat"}});
    EXPECT_EQ(CCardCommands::Format(nullptr, "QX-41a", drives, {}, hooks, &cardRoot), row.outcome);
    EXPECT_EQ(released, 1);
    QStringList calls;
    for (const char* c = row.calls; *c; ++c) calls << QString::fromStdString(step.at(*c));
    EXPECT_EQ(Control("TakeCalls").arguments().value(0).toStringList(), calls);
    EXPECT_EQ(
        run, *row.run ? std::vector<std::string>{program.at(row.run)} : std::vector<std::string>{});
    const std::string after = row.after;
    EXPECT_EQ(cardRoot, after == "new" ? kMountPath : after == "old" ? card : "");
    ASSERT_EQ(boxes_.Requests().size(), row.message ? 2u : 1u);
    if (row.message) {
      EXPECT_EQ(boxes_.Requests()[1].text.toStdString(),
                StringTable::Instance().Load(row.message).toStdString());
    }
    // The size check and the file manager use the path the mount answered.
    const bool formatted = row.outcome == Outcome::Formatted;
    EXPECT_EQ(sized.back(), formatted ? kMountPath : card);
    EXPECT_EQ(opened.join(QLatin1Char('|')).toStdString(), formatted ? kMountPath : "");
  }
  EXPECT_EQ(StringTable::Instance().Load(803).toStdString(),
            "Another program is using the SD card. Close that program and try again.");
}

TEST(UDisks2, ObjectPathsAndVersions) {
  EXPECT_EQ(CUDisks2::ObjectPath("/dev/no-such_dev"),
            "/org/freedesktop/UDisks2/block_devices/no_2dsuch_dev");
  EXPECT_TRUE(CUDisks2::VersionAtLeast("3.0", 2, 10));
  EXPECT_FALSE(CUDisks2::VersionAtLeast(QString(), 2, 10));
  // No service on the bus: not available, and nothing offered.
  CUDisks2 none(QDBusConnection("no-such-bus"));
  EXPECT_FALSE(none.Available());
  EXPECT_FALSE(none.OffersMkfsArguments());
}

const QString kBuiltHelper =
    QStringLiteral(LUMORA_BINARY_DIR "/tools/format-helper/lumora-format-helper");

int RunTool(const QString& program, const QStringList& args, QString* output = nullptr) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return -1;
  if (output) *output = QString::fromUtf8(p.readAll()).trimmed();
  return p.exitCode();
}

TEST(FormatHelper, RefusesAFileTheSystemDiskAndWrongArguments) {
  QTemporaryDir dir;
  const QString file = dir.filePath("card.img");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(1 << 20, '\x5a'));
  f.close();
  QString out;
  EXPECT_EQ(RunTool(kBuiltHelper, {file}, &out), 2);
  EXPECT_TRUE(out.contains("is not a block device")) << out.toStdString();
  EXPECT_EQ(RunTool(kBuiltHelper, {}), 2);
  EXPECT_EQ(RunTool(kBuiltHelper, {file, file}), 2);
  EXPECT_EQ(RunTool(kBuiltHelper, {"relative/sdc1"}), 2);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray(1 << 20, '\x5a'));  // untouched
  // The device mounted on "/" (the system disk).
  QString system;
  if (RunTool("findmnt", {"-n", "-o", "SOURCE", "/"}, &system) == 0 && system.startsWith("/dev/")) {
    EXPECT_EQ(RunTool(kBuiltHelper, {system}), 2) << system.toStdString();
  }
}

// Detaches a loop device when the test ends.
struct LoopDevice {
  QString device;
  ~LoopDevice() { RunTool("losetup", {"-d", device}); }
};

TEST(FormatHelper, FormatsALoopDeviceWith64KiBClustersAndRefusesItMounted) {
  QTemporaryDir dir;
  const QString image = dir.filePath("card.img");
  QFile f(image);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_TRUE(f.resize(300LL * 1024 * 1024));  // sparse
  f.close();
  {
    QString out;
    if (geteuid() != 0 || RunTool("losetup", {"--find", "--show", image}, &out) != 0) {
      GTEST_SKIP() << "no loop device can be attached here";
    }
    const LoopDevice loop{out};
    ASSERT_EQ(RunTool(kBuiltHelper, {loop.device}, &out), 0) << out.toStdString();
    // Mounted, the same device is refused.
    const QString mountPoint = dir.filePath("mnt");
    QDir().mkpath(mountPoint);
    if (RunTool("mount", {loop.device, mountPoint}) == 0) {
      EXPECT_EQ(RunTool(kBuiltHelper, {loop.device}, &out), 2);
      EXPECT_TRUE(out.contains("is mounted on")) << out.toStdString();
      RunTool("umount", {mountPoint});
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
  EXPECT_EQ(RunTool("fsck.fat", {"-n", image}), 0);
}

}  // namespace
}  // namespace lumora
