#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/EnginePlayerPort.h"
#include "app/TrackPort.h"
#include "app/ViewerParts.h"
#include "display/qt/CDisplayFactory.h"
#include "engine/CMultiPlayer.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

// The camera language from the card's file: 0 without card, file or known code.
TEST(ViewerParts, LanguageComesFromTheCardsSettingsFile) {
  test::TempFolder dir;
  const std::string root = dir.path().string();
  auto drives = MakeDrives(root);
  EXPECT_EQ(ProbeCameraLanguage(*drives), 0);
  dir.Dir("NORMAL");
  EXPECT_EQ(ProbeCameraLanguage(*drives), 0);
  for (auto [written, probed] : {std::pair{1, 1}, {9, 9}, {4, 0}}) {
    dir.Write("cfg/data_setup.cfg", "[BB]\r\nusMenuLanguage=" + std::to_string(written) + " \r\n");
    EXPECT_EQ(ProbeCameraLanguage(*drives), probed) << written;
  }
}

TEST(TrackPort, FeedsTheDrivingTrack) {
  TrackPort port;
  port.BeginLoad();
  std::uint8_t sample[61] = {'M'};
  sample[19] = 88;  // word 0: speed
  sample[27] = 1;   // word 4
  port.DecodeUserData(sample, sizeof sample, 0);
  port.DecodeUserData(sample, sizeof sample, 100);
  const char rmc[] = "$GPRMC,030000.00,A,3541.0440,N,13946.4696,E,10.0,90.0,010124,,,A*00";
  port.DecodeUserData(reinterpret_cast<const std::uint8_t*>(rmc), std::strlen(rmc), 500);
  port.Finish(1000);
  EXPECT_EQ(port.AdasRowCount(), 2);
  ASSERT_NE(port.AdasWords(1), nullptr);
  EXPECT_EQ(port.AdasWords(1)[0], 88);
  EXPECT_EQ(port.AdasWords(1)[4], 1);
  EXPECT_EQ(port.AdasWords(2), nullptr);
  EXPECT_EQ(port.GpsFixCount(), 1);
  double lon = 0;
  double lat = 0;
  ASSERT_TRUE(port.FixAt(0, &lon, &lat));
  EXPECT_NEAR(lon, 139.774493, 1e-5);
  EXPECT_NEAR(lat, 35.684066, 1e-5);
  EXPECT_FALSE(port.FixAt(600, &lon, &lat));  // past the last fix
  port.BeginLoad();
  EXPECT_EQ(port.AdasRowCount(), 0);
  EXPECT_EQ(port.GpsFixCount(), 0);
}

TEST(EnginePlayerPort, VolumeWordSetsTheSoundOutputLevel) {
  auto* engine = new CMultiPlayer();
  EnginePlayerPort port(std::unique_ptr<iMultiPlayer>(engine),
                        std::make_unique<CDisplayFactory>(CDisplayFactory::Kind::Painter));
  ASSERT_EQ(port.Create(nullptr, nullptr, 0), 1);
  ASSERT_NE(engine->Sound(), nullptr);
  port.SetOutputVolume(0xFFFFFFFFu);  // full level: no attenuation
  EXPECT_EQ(engine->Sound()->GetStoredAttenuation(), 0);
  port.SetOutputVolume(0x7FFF7FFFu);  // half: 49 % of the level
  EXPECT_EQ(engine->Sound()->GetStoredAttenuation(),
            static_cast<int>(std::log10(49.0) * 2000.0 - 4000.0));
  EXPECT_EQ(port.OutputVolume(), 0x7FFF7FFFu);
  port.SetOutputVolume(0);
  EXPECT_EQ(port.OutputVolume(), 0u);
  EXPECT_EQ(port.GetState(), 3);
  EXPECT_EQ(port.Open("/nonexistent/recording.avi"), 0);
}

}  // namespace
}  // namespace lumora
