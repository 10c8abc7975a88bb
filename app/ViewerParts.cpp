#include "app/ViewerParts.h"

#include "app/EnginePlayerPort.h"
#include "app/TrackPort.h"
#include "app/WebMapCalls.h"
#include "data/qt/CMapView.h"
#include "display/qt/CDisplayFactory.h"
#include "library/CCardLocator.h"
#include "library/qt/CCardCommands.h"
#include "platform/CLinuxDriveEnumerator.h"
#include "settings/CardSetupFiles.h"
#include "settings/SetupFile.h"
#include "settings/SystemPageRules.h"

namespace lumora {

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

CSamplePlayerDlg::Parts MakeViewerParts(const std::string& explicitCard) {
  std::shared_ptr<IDriveEnumerator> drives = MakeDrives(explicitCard);
  CSamplePlayerDlg::Parts parts;
  parts.player = std::make_unique<EnginePlayerPort>(
      std::unique_ptr<iMultiPlayer>(CreateMultiPlayer()), std::make_unique<CDisplayFactory>());
  auto track = std::make_unique<TrackPort>();
  // The web map follows the track; the window it is placed in owns it and
  // loads its page at start-up.
  auto* map = new CMapView(&track->Track());
  parts.map = std::make_unique<WebMapCalls>(map);
  parts.mapWidget = map;
  parts.track = std::move(track);
  // SDOPEN and the thumbnail page: with several cards the user picks one.
  parts.findCard = [drives] {
    const auto root = CCardCommands::ChooseCard(nullptr, *drives, CardSearch::AnyDrive);
    return root ? root->string() : std::string();
  };
  parts.languageProbe = [drives] { return ProbeCameraLanguage(*drives); };
  parts.findRemovableCard = [drives] {
    const auto root = CCardLocator::FindCardRoot(*drives, CardSearch::RemovableOnly);
    return root ? root->string() : std::string();
  };
  parts.readSpeedUnit = [drives](int previous) {
    const auto root = CCardLocator::FindCardRoot(*drives, CardSearch::AnyDrive);
    return static_cast<int>(ReadSpeedUnit(root, static_cast<std::uint16_t>(previous)));
  };
  return parts;
}

}  // namespace lumora
