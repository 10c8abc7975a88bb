#pragma once
// Resource ids of the skin bitmaps (res/skin/<id>_<name>.png). The skin
// generator (tools/skingen) draws one PNG per id; SkinBitmap(id) loads it.
//
// Buttons have four images at consecutive ids: base + kStateNormal, + kStateDown,
// + kStateOver, + kStateDisabled. Thumbs of bitmap sliders are strips of three
// frames side by side (normal, hover, pressed).

namespace lumora {

inline constexpr int kStateNormal = 0;
inline constexpr int kStateDown = 1;
inline constexpr int kStateOver = 2;
inline constexpr int kStateDisabled = 3;
inline constexpr int kButtonStateCount = 4;

// Pictures with fixed numbers.
inline constexpr int kBmpThumbnailArea = 319;   // 605 x 250, painted at (23, 100)
inline constexpr int kBmpGraphModeB = 404;      // graph window mode button, mode 1 (normal)
inline constexpr int kBmpGraphModeA = 405;      // mode 0 (normal)
inline constexpr int kBmpGraphModeSpeed = 406;  // mode 2 (normal)
inline constexpr int kBmpBackground = 411;      // main window background, 1020 x 594
// Data panel gauges: speedometer face (needle centre (53, 52) in the face) and
// heading face (arrow foot (45, 44) in the face).
inline constexpr int kBmpSpeedometerFace = 446;  // 177 x 178, drawn at (219, 459)
inline constexpr int kBmpHeadingFace = 447;      // 89 x 92, drawn at (339, 466)
// Acceleration-graph window: plot area and background, green is transparent.
inline constexpr int kBmpGSensorPlot = 129;        // 460 x 160
inline constexpr int kBmpGSensorBackground = 220;  // 521 x 249
inline constexpr int kBmpGraphModeBDown = 429;
inline constexpr int kBmpGraphModeADown = 430;
inline constexpr int kBmpGraphModeSpeedDown = 431;
// Driver-assistance indicator of control 5005, 180 x 165: 448 + 3 * pair + t.
inline constexpr int kBmpIndicatorFirst = 448;
inline constexpr int kBmpIndicatorLast = 459;
inline constexpr int kBmpAppIcon = 472;     // 64 x 64 window icon
inline constexpr int kBmpEventAlert = 491;  // 180 x 165, white is transparent

// Skinned buttons of the main window (bases of four state images).
inline constexpr int kBmpMinimize = 800;
inline constexpr int kBmpExit = 804;
inline constexpr int kBmpPrev = 808;
inline constexpr int kBmpPlay = 812;
inline constexpr int kBmpPause = 816;
inline constexpr int kBmpStop = 820;
inline constexpr int kBmpNext = 824;
inline constexpr int kBmpStepBack = 828;
inline constexpr int kBmpStepForward = 832;
inline constexpr int kBmpSdOpen = 836;
inline constexpr int kBmpOpen = 840;
inline constexpr int kBmpSetup = 844;
inline constexpr int kBmpGraph = 848;
inline constexpr int kBmpDownload = 852;
inline constexpr int kBmpPrint = 856;
inline constexpr int kBmpInfo = 860;
inline constexpr int kBmpFormat = 864;
inline constexpr int kBmpFullScreen = 868;
inline constexpr int kBmpRestoreSize = 872;
inline constexpr int kBmpSwap = 876;
inline constexpr int kBmpZoomIn = 880;
inline constexpr int kBmpZoomOut = 884;
inline constexpr int kBmpMapToggle = 888;
inline constexpr int kBmpMapLarge = 892;
inline constexpr int kBmpMapSmall = 896;
inline constexpr int kBmpList = 900;
inline constexpr int kBmpListOpen = 904;    // toggle 1193 while the list window is shown
inline constexpr int kBmpListClosed = 908;  // toggle 1193 while it is hidden
inline constexpr int kBmpSpeed1 = 912;
inline constexpr int kBmpSpeed2 = 916;
inline constexpr int kBmpSpeed4 = 920;
inline constexpr int kBmpSpeed8 = 924;
inline constexpr int kBmpDit = 928;
inline constexpr int kBmpDitActive = 932;
inline constexpr int kBmpMark = 936;
inline constexpr int kBmpDitSetup = 940;
inline constexpr int kBmpGMode0 = 944;
inline constexpr int kBmpGMode1 = 948;
inline constexpr int kBmpGMode2 = 952;
inline constexpr int kBmpAccGraph = 956;
inline constexpr int kBmpRecovery = 960;
inline constexpr int kBmpThumbnails = 964;
inline constexpr int kBmpPageNext = 968;
inline constexpr int kBmpPagePrev = 972;
inline constexpr int kBmpCardSettings = 976;
inline constexpr int kBmpMute = 980;         // check box: normal = sound on, down = muted
inline constexpr int kBmpLayoutFront = 984;  // check box 1099
inline constexpr int kBmpLayoutRear = 988;   // check box 1100
inline constexpr int kBmpSkinSize = 992;     // button 1154
inline constexpr int kBmpTextButton = 996;   // 80 x 22 caption button (category buttons)
inline constexpr int kBmpOrderBar = 1000;    // 256 x 12 "Ascending / Descending"
inline constexpr int kBmpListX = 1004;       // 25 x 25 close button of the list window
inline constexpr int kBmpCategory = 1008;    // 60 x 15 category button of the list window
inline constexpr int kBmpRoundMask = 1016;   // 40 x 32 mask: black keeps the image
inline constexpr int kBmpSquareMask = 1017;  // 36 x 32 mask of the tool buttons

// Bitmap sliders: channel images as wide as the slider, thumbs as strips.
inline constexpr int kBmpSeekFilled = 1060;     // 537 x 20
inline constexpr int kBmpSeekEmpty = 1061;      // 537 x 20
inline constexpr int kBmpSeekThumb = 1062;      // 3 frames of 14 x 20
inline constexpr int kBmpVolumeFilled = 1063;   // 92 x 20
inline constexpr int kBmpVolumeEmpty = 1064;    // 92 x 20
inline constexpr int kBmpVolumeThumb = 1065;    // 3 frames of 10 x 20
inline constexpr int kBmpBalanceFilled = 1066;  // 200 x 20, slider 4112
inline constexpr int kBmpBalanceEmpty = 1067;
// Free-standing image button (CBitWnd): logo of the About box, 3 frames of 48 x 48.
inline constexpr int kBmpLogo = 1068;
// The snapshot button (normal, down, over, disabled).
inline constexpr int kBmpSnapshot = 1070;

}  // namespace lumora
