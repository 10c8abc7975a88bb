#include <gtest/gtest.h>

#include <QStringList>

#include "platform/qt/CDriveWatcher.h"

namespace lumora {
namespace {

const char kBase[] =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "25 22 0:5 / /proc rw - proc proc rw\n";
const char kWithCard[] =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "25 22 0:5 / /proc rw - proc proc rw\n"
    "40 22 179:1 / /media/user/SD\\040CARD rw,nosuid shared:30 - vfat /dev/mmcblk0p1 rw\n";

TEST(CDriveWatcher, ParsesMountPointsAndEscapes) {
  const auto mounts = CDriveWatcher::MountPoints(kWithCard);
  ASSERT_EQ(mounts.size(), 3u);
  EXPECT_EQ(mounts[0], "/");
  EXPECT_EQ(mounts[2], "/media/user/SD CARD");
}

TEST(CDriveWatcher, SkipsMalformedAndRandomLines) {
  EXPECT_TRUE(CDriveWatcher::MountPoints("").empty());
  EXPECT_TRUE(CDriveWatcher::MountPoints("garbage\n1 2 3\n\n").empty());
  EXPECT_TRUE(CDriveWatcher::MountPoints("22 1 8:1 / /mnt rw no-separator-here\n").empty());
  std::string noise;
  for (int i = 0; i < 4000; ++i) noise += static_cast<char>((i * 7919) % 256);
  EXPECT_NO_THROW(CDriveWatcher::MountPoints(noise));
  // A trailing backslash does not read past the field.
  const auto mounts = CDriveWatcher::MountPoints("1 1 0:1 / /x\\04 rw - t s rw\n");
  ASSERT_EQ(mounts.size(), 1u);
  EXPECT_EQ(mounts[0], "/x\\04");
}

TEST(CDriveWatcher, ComparesReadings) {
  const auto changes = CDriveWatcher::Compare({"/", "/a", "/b"}, {"/", "/b", "/c"});
  EXPECT_EQ(changes.added, std::vector<std::string>{"/c"});
  EXPECT_EQ(changes.removed, std::vector<std::string>{"/a"});
}

TEST(CDriveWatcher, ReportsAddedAndRemovedMounts) {
  CDriveWatcher watcher(QStringLiteral("/nonexistent/mountinfo"));
  QStringList added;
  QStringList removed;
  QObject::connect(&watcher, &CDriveWatcher::driveAdded, [&](const QString& p) { added << p; });
  QObject::connect(&watcher, &CDriveWatcher::driveRemoved, [&](const QString& p) { removed << p; });
  watcher.Feed(kBase);
  EXPECT_EQ(added.size(), 2);  // first reading: everything is new
  added.clear();
  watcher.Feed(kWithCard);
  EXPECT_EQ(added, QStringList{QStringLiteral("/media/user/SD CARD")});
  watcher.Feed(kWithCard);
  EXPECT_EQ(added.size(), 1);
  EXPECT_TRUE(removed.isEmpty());
  watcher.Feed(kBase);
  EXPECT_EQ(removed, QStringList{QStringLiteral("/media/user/SD CARD")});
}

TEST(CDriveWatcher, StartsFromTheRealMountTable) {
  CDriveWatcher watcher;
  watcher.Start();
  EXPECT_FALSE(watcher.Mounts().empty());
  int removed = 0;
  QObject::connect(&watcher, &CDriveWatcher::driveRemoved, [&](const QString&) { ++removed; });
  watcher.Rescan();
  EXPECT_EQ(removed, 0);
}

}  // namespace
}  // namespace lumora
