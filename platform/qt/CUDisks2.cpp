#include "platform/qt/CUDisks2.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileInfo>
#include <QStringList>

namespace lumora {

namespace {

const QString kManagerPath = QStringLiteral("/org/freedesktop/UDisks2/Manager");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kErrorPrefix = QStringLiteral("org.freedesktop.UDisks2.Error.");

}  // namespace

CUDisks2::CUDisks2(QDBusConnection bus) : m_bus(std::move(bus)) {}

QString CUDisks2::ObjectPath(const std::string& device) {
  // udisks2 names the object after the kernel's name of the device.
  const QString canonical = QFileInfo(QString::fromStdString(device)).canonicalFilePath();
  const QString name =
      QFileInfo(canonical.isEmpty() ? QString::fromStdString(device) : canonical).fileName();
  QString path = QStringLiteral("/org/freedesktop/UDisks2/block_devices/");
  for (const char c : name.toUtf8()) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    path += plain
                ? QString(QLatin1Char(c))
                : QStringLiteral("_%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'));
  }
  return path;
}

bool CUDisks2::VersionAtLeast(const QString& version, int major, int minor) {
  const QStringList parts = version.split(QLatin1Char('.'));
  const int ma = parts.value(0).toInt();
  const int mi = parts.value(1).toInt();
  return ma > major || (ma == major && mi >= minor);
}

bool CUDisks2::Available() {
  if (!m_version) {
    // Reading the version starts the service when it is not running yet.
    QDBusMessage get =
        QDBusMessage::createMethodCall(kService, kManagerPath, kProperties, QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.UDisks2.Manager") << QStringLiteral("Version");
    const QDBusMessage reply = m_bus.call(get, QDBus::Block, kCallTimeoutMs);
    m_version = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                    ? reply.arguments().first().value<QDBusVariant>().variant().toString()
                    : QString();
  }
  return !m_version->isEmpty();
}

bool CUDisks2::OffersMkfsArguments() {
  // Block.Format passes "mkfs-args" on to mkfs from udisks2 2.10 on.
  return Available() && VersionAtLeast(*m_version, 2, 10);
}

DiskReply CUDisks2::Call(const std::string& device, const QString& interface, const QString& method,
                         const QVariantList& args, int timeoutMs, QVariant* answer) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, ObjectPath(device), interface, method);
  call.setArguments(args);
  // The desktop may ask for a password; the call waits for the answer.
  call.setInteractiveAuthorizationAllowed(true);
  const QDBusMessage reply = m_bus.call(call, QDBus::Block, timeoutMs);
  DiskReply result;
  if (reply.type() == QDBusMessage::ReplyMessage) {
    result.status = DiskStatus::Ok;
    if (answer && !reply.arguments().isEmpty()) *answer = reply.arguments().first();
    return result;
  }
  const QString name = reply.errorName();
  result.detail = (name + QStringLiteral(": ") + reply.errorMessage()).toStdString();
  if (name == kErrorPrefix + QStringLiteral("DeviceBusy")) {
    result.status = DiskStatus::Busy;
  } else if (name == kErrorPrefix + QStringLiteral("NotAuthorizedDismissed")) {
    result.status = DiskStatus::Dismissed;
  } else if (name == kErrorPrefix + QStringLiteral("NotMounted") && method == "Unmount") {
    result.status = DiskStatus::Ok;  // nothing to unmount
  }
  return result;
}

DiskReply CUDisks2::Unmount(const std::string& device) {
  return Call(device, kFilesystem, QStringLiteral("Unmount"), {QVariantMap()}, kCallTimeoutMs);
}

DiskReply CUDisks2::Format(const std::string& device, const std::string& label,
                           const std::vector<std::string>& mkfsArgs) {
  QStringList args;
  for (const std::string& a : mkfsArgs) args << QString::fromStdString(a);
  QVariantMap options;
  options.insert(QStringLiteral("label"), QString::fromStdString(label));
  options.insert(QStringLiteral("mkfs-args"), args);
  options.insert(QStringLiteral("update-partition-type"), true);
  return Call(device, kBlock, QStringLiteral("Format"), {QStringLiteral("vfat"), options},
              kFormatTimeoutMs);
}

QString CUDisks2::MountPointOf(const std::string& device) {
  QDBusMessage get = QDBusMessage::createMethodCall(kService, ObjectPath(device), kProperties,
                                                    QStringLiteral("Get"));
  get << kFilesystem << QStringLiteral("MountPoints");
  const QDBusMessage reply = m_bus.call(get, QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  // "aay": each mount point as bytes ending in a zero byte.
  const QVariant value = reply.arguments().first().value<QDBusVariant>().variant();
  QList<QByteArray> points;
  if (value.canConvert<QDBusArgument>()) {
    value.value<QDBusArgument>() >> points;
  } else {
    points = value.value<QList<QByteArray>>();
  }
  if (points.isEmpty()) return {};
  QByteArray first = points.first();
  if (first.endsWith('\0')) first.chop(1);
  return QString::fromUtf8(first);
}

DiskReply CUDisks2::Mount(const std::string& device) {
  QVariant answer;
  DiskReply reply =
      Call(device, kFilesystem, QStringLiteral("Mount"), {QVariantMap()}, kCallTimeoutMs, &answer);
  if (reply.status == DiskStatus::Ok) {
    reply.mountPath = answer.toString().toStdString();
  } else if (reply.detail.rfind((kErrorPrefix + QStringLiteral("AlreadyMounted")).toStdString(),
                                0) == 0) {
    // The desktop mounted the fresh file system on its own: take its place.
    const QString point = MountPointOf(device);
    if (!point.isEmpty()) {
      reply.status = DiskStatus::Ok;
      reply.mountPath = point.toStdString();
    }
  }
  return reply;
}

}  // namespace lumora
