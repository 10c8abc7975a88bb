// The drive list: the card's DIT/GPS scan, its rows and the one message that
// names every invalid log, the opened files' size rule, and a new limit.
#include <gtest/gtest.h>

#include "library/CDitDriveList.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

using test::DitLine;
using test::TempFolder;

std::string Drive(int points, int speed) {
  std::string text;
  for (int s = 0; s < points; ++s) text += DitLine(s, 3541.0 + s * 0.01, 13946.0, speed);
  return text;
}

TEST(DitDriveList, ScanFillsRowsAndReportsInvalidFilesTogether) {
  TempFolder card;
  card.Write("dit/gps/20261205_083000.DIT", Drive(61, 70));
  card.Write("dit/gps/20261205_144700.dit", Drive(5, 0));
  card.Write("dit/gps/20261206_000000.DIT", "");
  card.Write("dit/gps/20261206_010000.DIT", std::string("\x01\x02\xff\0\n", 5));
  card.Write("dit/gps/notes.txt", Drive(5, 0));
  CDitDriveList list;
  list.ScanCard(card.path(), 60);
  ASSERT_EQ(list.Rows().size(), 2u);
  const DitDriveRow& r = list.Rows()[0];
  // 60 steps of 0.01 minute of latitude: 18 m each (18.43 truncated).
  EXPECT_EQ(r.m_strNo + " " + r.m_strDate + " " + r.m_strDistance + " " + r.m_strTime + " " +
                r.m_strOverspeed,
            "0001 2026-12-05 1.08 km 00:01:00 / 00:01:00 00:01:00");
  EXPECT_EQ(r.m_path.filename(), "20261205_083000.DIT");
  EXPECT_EQ(r.m_nPoints, 61);
  EXPECT_EQ(list.Rows()[1].m_strNo + " " + list.Rows()[1].m_strTime, "0002 00:00:00 / 00:00:04");
  EXPECT_EQ(list.LastPointCount(), 5);
  EXPECT_EQ(list.InvalidList(), "20261206_000000.DIT\n20261206_010000.DIT\n");
  EXPECT_EQ(list.InvalidMessage(),
            "Invalid DIT Files :\n20261206_000000.DIT\n20261206_010000.DIT\n");
  // A new limit recomputes the over-speed time in place.
  list.Recompute(80);
  EXPECT_EQ(list.Rows()[0].m_strOverspeed, "00:00:00");
  EXPECT_EQ(list.Rows()[0].m_strNo, "0001");
}

TEST(DitDriveList, CleanCardsAndNoCardHaveNoMessage) {
  TempFolder card;
  card.Write("DIT/GPS/20261205_083000.DIT", Drive(3, 10));
  CDitDriveList list;
  list.ScanCard(card.path(), 60);
  EXPECT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.InvalidMessage(), "");
  TempFolder noDit;
  list.Clear();
  list.ScanCard(noDit.path(), 60);
  EXPECT_TRUE(list.Rows().empty());
  // No card (empty root) reads no folder, not even DIT/GPS under the working folder.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(card.path());
  list.ScanCard({}, 60);
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(list.Rows().empty());
}

// Opened files need ".dit" in the name (any case) and more than 10 KiB; a
// large file without points is reported.
TEST(DitDriveList, OpenedFilesNeedTheExtensionAndMoreThanTenKiB) {
  TempFolder dir;
  const auto big = dir.Write("20261205_083000.DIT", Drive(400, 30));
  const auto small = dir.Write("20261205_090000.dit", Drive(3, 30));
  const auto other = dir.Write("20261205_100000.txt", Drive(400, 30));
  const auto junk = dir.Write("20261205_110000.Dit", std::string(20000, '\xff'));
  ASSERT_GT(std::filesystem::file_size(big), 10u * 1024u);
  CDitDriveList list;
  list.AddOpened({small, other, big, junk, dir / "gone.dit"}, 60);
  ASSERT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.Rows()[0].m_path, big);
  EXPECT_EQ(list.InvalidMessage(), "Invalid DIT Files :\n20261205_110000.Dit\n");
  EXPECT_EQ(CDitDriveList::DateOfName("20261205_083000.DIT"), "2026-12-05");
  EXPECT_EQ(CDitDriveList::DateOfName("2026"), "2026--");
  EXPECT_EQ(CDitDriveList::DateOfName(""), "--");
}

}  // namespace
}  // namespace lumora
