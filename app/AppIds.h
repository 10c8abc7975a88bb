#pragma once
// Control, command, timer, bitmap and string ids of the main window. The
// numbers are the camera software's own; other modules and the tests refer to
// them by these names.

namespace lumora {

// Controls and commands of the main window (template 102).
inline constexpr int kIdMinimise = 1000;
inline constexpr int kIdExit = 1001;
inline constexpr int kIdSeekSlider = 1002;
inline constexpr int kIdSpeedSlider = 1003;
inline constexpr int kIdVolumeSlider = 1004;
inline constexpr int kIdPrevious = 1005;
inline constexpr int kIdPlay = 1006;
inline constexpr int kIdStop = 1007;
inline constexpr int kIdNext = 1008;
inline constexpr int kIdStepBack = 1009;
inline constexpr int kIdStepForward = 1010;
inline constexpr int kIdFps = 1011;
inline constexpr int kIdSdOpen = 1012;
inline constexpr int kIdPositionLabel = 1014;
inline constexpr int kIdDurationLabel = 1015;
inline constexpr int kIdSettings = 1016;
inline constexpr int kIdCapture = 1017;
inline constexpr int kIdFullScreen = 1018;
inline constexpr int kIdGraphMode = 1020;
inline constexpr int kIdMute = 1023;
inline constexpr int kIdPreviousSize = 1025;
inline constexpr int kIdFileNameLabel = 1027;
inline constexpr int kIdChangeScreen = 1041;
inline constexpr int kIdFrontRearSwitch = 1097;
inline constexpr int kIdAccelGraph = 1098;
inline constexpr int kIdLayoutMapCheck = 1099;
inline constexpr int kIdLayoutVideoCheck = 1100;
inline constexpr int kIdMapSize = 1101;
inline constexpr int kIdCheck1110 = 1110;
inline constexpr int kIdCheck1111 = 1111;
inline constexpr int kIdZoomIn = 1121;
inline constexpr int kIdVideoRecovery = 1137;
inline constexpr int kIdCategoryEvent = 1150;
inline constexpr int kIdCategoryMotion = 1151;
inline constexpr int kIdCategoryNormal = 1152;
inline constexpr int kIdWindowSize = 1154;
inline constexpr int kIdThumbList = 1155;
inline constexpr int kIdThumbFile = 1156;
inline constexpr int kIdThumbNext = 1157;
inline constexpr int kIdThumbPrevious = 1158;
inline constexpr int kIdListToggle = 1193;
inline constexpr int kIdOpen = 1194;
inline constexpr int kIdSetup = 1195;
inline constexpr int kIdGraph = 1196;
inline constexpr int kIdDownload = 1197;
inline constexpr int kIdPrint = 1198;
inline constexpr int kIdInfo = 1199;
inline constexpr int kIdDitSetup = 1202;
inline constexpr int kIdZoomOut = 3021;
inline constexpr int kIdBitmapSlider = 4112;
inline constexpr int kIdMapBrowser = 4106;
inline constexpr int kIdCategoryManual = 4153;
inline constexpr int kIdList = 4200;
inline constexpr int kIdFormat = 4201;
inline constexpr int kIdSmart = 5005;
inline constexpr int kIdMapToggle = 5019;
inline constexpr int kIdSpeed = 5206;
inline constexpr int kIdDit = 8200;
inline constexpr int kIdMark = 8201;
// Clip export: the EXPORT button (key E) and the in and out marks (keys I, O).
inline constexpr int kIdExport = 8210;
inline constexpr int kIdExportIn = 8211;
inline constexpr int kIdExportOut = 8212;
inline constexpr int kIdAccelF9 = 32771;
inline constexpr int kIdAccelF8 = 32772;
inline constexpr int kIdAccelF10 = 32774;

// The program's own commands, beyond the camera software's template: the
// keyboard's (KeyTable) and the snapshot button's.
inline constexpr int kIdSeekStart = 40001;
inline constexpr int kIdPictureBack = 40002;
inline constexpr int kIdPictureForward = 40003;
inline constexpr int kIdVolumeUp = 40004;
inline constexpr int kIdVolumeDown = 40005;
inline constexpr int kIdMuteToggle = 40006;
inline constexpr int kIdPaneZoomIn = 40007;
inline constexpr int kIdPaneZoomOut = 40008;
inline constexpr int kIdSnapshot = 40009;
inline constexpr int kIdKeyList = 40010;
inline constexpr int kIdDitSeekBack = 40011;
inline constexpr int kIdDitSeekForward = 40012;
inline constexpr int kIdDitNextDrive = 40013;
// The short status line (snapshots, ignored drops); a label, not a command.
inline constexpr int kIdStatusLine = 40100;

// Timers.
inline constexpr int kTimerUpdate = 100;
inline constexpr int kTimerRecover = 101;
inline constexpr int kTimerDit = 1;
inline constexpr int kUpdatePeriodMs = 200;
inline constexpr int kRecoverPeriodMs = 500;

// Strings.
inline constexpr int kStrTipOpen = 600;
inline constexpr int kStrTipSdOpen = 601;
inline constexpr int kStrTipZoomIn = 602;
inline constexpr int kStrTipZoomOut = 603;
inline constexpr int kStrTipChangeScreen = 604;
inline constexpr int kStrTipFormat = 605;
inline constexpr int kStrTipSetup = 606;
inline constexpr int kStrTipPrint = 607;
inline constexpr int kStrTipGraph = 608;
inline constexpr int kStrTipGraphMode = 609;
inline constexpr int kStrTipDownload = 610;
inline constexpr int kStrTipInfo = 611;
inline constexpr int kStrTipStop = 612;
inline constexpr int kStrTipPrevious = 613;
inline constexpr int kStrTipPlay = 614;
inline constexpr int kStrTipNext = 615;
inline constexpr int kStrTipSpeed = 616;
inline constexpr int kStrTipMapToggle = 617;
inline constexpr int kStrNoSdCard = 623;
inline constexpr int kStrFileNotSelected = 626;
inline constexpr int kStrInvalidFile = 627;
// The data panel's line for a recording that plays without driving data.
inline constexpr int kStrNoDrivingData = 860;
inline constexpr int kStrCaption = 710;
inline constexpr int kStrTipDit = 712;
inline constexpr int kStrTipDitSetup = 713;
inline constexpr int kStrTipMark = 714;
inline constexpr int kStrTitle = 723;
inline constexpr int kStrTipExport = 750;
inline constexpr int kStrExportTitle = 751;
inline constexpr int kStrExportLossless = 752;
inline constexpr int kStrExportOverlay = 753;
inline constexpr int kStrExportLayouts = 754;
inline constexpr int kStrExportFileName = 755;
inline constexpr int kStrExportRunning = 756;
inline constexpr int kStrExportSaved = 757;
// The key list, the snapshot and dropped files.
inline constexpr int kStrKeyListTitle = 950;
inline constexpr int kStrKeyDitNote = 971;
inline constexpr int kStrTipSnapshot = 972;
inline constexpr int kStrSnapshotSaved = 973;
inline constexpr int kStrSnapshotUnwritable = 974;
inline constexpr int kStrSnapshotNothing = 975;
inline constexpr int kStrDropIgnored = 976;
inline constexpr int kStrDropDitOutsideDit = 977;
inline constexpr int kStrSnapshotFailed = 978;

// Player state codes.
inline constexpr int kStatePlaying = 0;
inline constexpr int kStatePaused = 1;
inline constexpr int kStateStopped = 2;
inline constexpr int kStateClosed = 3;

// Pane placements and window modes.
inline constexpr int kPaneHidden = 0;
inline constexpr int kPaneLarge = 1;
inline constexpr int kPaneSmall = 2;
inline constexpr int kModeNormal = 1;
inline constexpr int kModeEnlarged = 2;

}  // namespace lumora
