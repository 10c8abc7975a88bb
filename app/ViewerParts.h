#pragma once
// Builds the main window's collaborators for the real program: the playback
// engine, the driving-data track, the card look-up and the language probe.

#include <memory>
#include <string>

#include "app/CSamplePlayerDlg.h"
#include "platform/IDriveEnumerator.h"

namespace lumora {

// The drives to search: the folder given on the command line (as a
// removable drive), else the mounted file systems.
std::shared_ptr<IDriveEnumerator> MakeDrives(const std::string& explicitCard);

// The camera's language code from the card's data_setup.cfg (removable
// drives only); 0 when there is no card, no file or it does not open.
int ProbeCameraLanguage(const IDriveEnumerator& drives);

CSamplePlayerDlg::Parts MakeViewerParts(const std::string& explicitCard);

}  // namespace lumora
