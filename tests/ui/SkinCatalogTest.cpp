// Every skinned control of the command table has compiled images; the round
// transport buttons get the round mask of their size, the square tool
// buttons the square one; alternative looks share their button's size.
#include <gtest/gtest.h>

#include "res/SkinBitmaps.h"
#include "ui/SkinCatalog.h"

namespace lumora {
namespace {

TEST(SkinCatalog, EveryMappedControlHasItsImagesAndMask) {
  const int controls[] = {1000, 1001, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1016, 1017,
                          1018, 1020, 1023, 1025, 1041, 1097, 1098, 1099, 1100, 1101, 1121, 1137,
                          1150, 1151, 1152, 4153, 1154, 1155, 1156, 1157, 1158, 1193, 1194, 1195,
                          1196, 1197, 1198, 1199, 1202, 3021, 4200, 4201, 5019, 5206, 8200, 8201};
  for (int id : controls) {
    const int base = SkinCatalog::SkinForControl(id);
    ASSERT_NE(base, 0) << id;
    for (int state = 0; state < kButtonStateCount; ++state)
      EXPECT_TRUE(HasSkinBitmap(base + state)) << id << " state " << state;
    if (const int mask = SkinCatalog::SkinMaskForControl(id)) {
      EXPECT_EQ(SkinImage(mask).size(), SkinImage(base).size()) << id;
    }
  }
  EXPECT_EQ(SkinCatalog::SkinForControl(1110), 0);
  EXPECT_EQ(SkinCatalog::SkinForControl(32771), 0);
  EXPECT_EQ(SkinCatalog::SkinMaskForControl(1194), kBmpSquareMask);
  EXPECT_EQ(SkinCatalog::SkinMaskForControl(1000), 0);  // 24 x 22 window button
  EXPECT_EQ(SkinCatalog::SkinMaskForControl(1006), kBmpRoundMask);
  const std::pair<int, int> looks[] = {{kBmpPlay, kBmpPause},        {kBmpSpeed1, kBmpSpeed2},
                                       {kBmpSpeed1, kBmpSpeed8},     {kBmpGMode0, kBmpGMode2},
                                       {kBmpMapLarge, kBmpMapSmall}, {kBmpListClosed, kBmpListOpen},
                                       {kBmpDit, kBmpDitActive}};
  for (auto [a, b] : looks) EXPECT_EQ(SkinImage(a).size(), SkinImage(b).size()) << a << " " << b;
}

}  // namespace
}  // namespace lumora
