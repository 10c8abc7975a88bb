#include "app/ViewerParts.h"

#include "app/TrackPort.h"
#include "app/WebMapCalls.h"
#include "data/qt/CMapView.h"
#include "library/CCardLocator.h"
#include "platform/CLinuxDriveEnumerator.h"
#include "settings/CardSetupFiles.h"
#include "settings/SetupFile.h"
#include "settings/SystemPageRules.h"

namespace lumora {
namespace {

// Until the playback engine is part of the build the viewer opens nothing:
// every recording reports as not openable.
class NoEnginePlayer : public IPlayerPort {
 public:
  int Create(IPlayerOwner*, void* const*, int) override { return 1; }
  int Open(const std::string&) override { return 0; }
  int Close() override { return 1; }
  std::int64_t GetPosition() override { return 0; }
  std::int64_t GetDuration() override { return -1; }
  int GetState() override { return 3; }
  int GetVideoStreamCount() override { return -1; }
  int GetUserDataCount() override { return 0; }
  std::uint32_t GetNextUserData(std::uint8_t*, std::uint32_t*, std::uint32_t*) override {
    return 38;
  }
  int Redraw() override { return 1; }
  int ResizeDisplays() override { return 1; }
  int SetSpeed(float) override { return 1; }
  int Seek(std::int32_t) override { return 1; }
  int SkipBackward(double) override { return 1; }
  int SkipForward(double) override { return 1; }
  int Pause() override { return 1; }
  int Play() override { return 1; }
  int Stop() override { return 1; }
  int RecoverDisplays(int) override { return 1; }
  void ZoomIn(int) override {}
  void ZoomOut(int) override {}
  void SetOutputVolume(std::uint32_t) override {}
};

}  // namespace

std::shared_ptr<IDriveEnumerator> MakeDrives(const std::string& explicitCard) {
  if (explicitCard.empty()) return std::make_shared<CLinuxDriveEnumerator>();
  DriveInfo card;
  card.root = explicitCard;
  card.removable = true;
  return std::make_shared<CFixedDriveEnumerator>(std::vector<DriveInfo>{card});
}

int ProbeCameraLanguage(const IDriveEnumerator& drives) {
  const auto root = CCardLocator::FindCardRoot(drives, CardSearch::RemovableOnly);
  if (!root) return 0;
  const SetupFileLocation location = FindSetupFile(*root);
  if (!location.found) return 0;
  SetupData data;
  SetupComments comments;
  if (!LoadSetupFile(location.path, data, comments)) return 0;
  return DialogLanguageCode(data.usMenuLanguage);
}

std::string FindCard(const IDriveEnumerator& drives) {
  const auto root = CCardLocator::FindCardRoot(drives, CardSearch::AnyDrive);
  return root ? root->string() : std::string();
}

CSamplePlayerDlg::Parts MakeViewerParts(const std::string& explicitCard) {
  std::shared_ptr<IDriveEnumerator> drives = MakeDrives(explicitCard);
  CSamplePlayerDlg::Parts parts;
  parts.player = std::make_unique<NoEnginePlayer>();
  auto track = std::make_unique<TrackPort>();
  // The web map follows the track; the window it is placed in owns it.
  auto* map = new CMapView(&track->Track());
  map->LoadMapPage();
  parts.map = std::make_unique<WebMapCalls>(map);
  parts.mapWidget = map;
  parts.track = std::move(track);
  parts.findCard = [drives] { return FindCard(*drives); };
  parts.languageProbe = [drives] { return ProbeCameraLanguage(*drives); };
  parts.readSpeedUnit = [drives] {
    const auto root = CCardLocator::FindCardRoot(*drives, CardSearch::AnyDrive);
    return static_cast<int>(ReadSpeedUnit(root, 0));
  };
  return parts;
}

}  // namespace lumora
